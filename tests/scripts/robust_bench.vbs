' GetInfo("SP") from VBScript against the plain GW/RW exchange in one process
' (tests/client/bench_getinfo.cpp), with few calls: the checks are that both loops got the
' host's answers; the ratio is printed for the record, with only a generous bound.
Option Explicit
Dim others, i
StartHost "answer.SP=C:\bench\"
others = RunClient("bench_getinfo.exe", "200 3", "bench")
For i = 0 To UBound(others)
  If Left(others(i), 6) = "BENCH " Then WScript.Echo others(i)
Next
Finish
