' GetInfo("SP") from VBScript against the plain GW/RW exchange in one process
' (tests/client/bench_getinfo.cpp), with few calls: the checks are that both loops got the
' host's answers; the ratio is printed for the record, with only a generous bound.
Option Explicit
Dim exe, out, text, lines, i, line
exe = Replace(STANDIN_EXE, "standin.exe", "bench_getinfo.exe")
out = TEST_DIR & "bench.txt"
StartHost "answer.SP=C:\bench\"
RunWait Quote(exe) & " " & Quote(out) & " 200 3"
text = ReadTextFile(out)
lines = Split(Replace(text, vbCr, ""), vbLf)
Ok InStr(text, "DONE passed=") > 0, "the benchmark ran to its end"
For i = 0 To UBound(lines)
  line = lines(i)
  If Left(line, 3) = "ok " Then
    Report True, "bench: " & Mid(line, InStr(line, " - ") + 3)
  ElseIf Left(line, 7) = "not ok " Then
    Report False, "bench: " & Mid(line, InStr(line, " - ") + 3)
  ElseIf Left(line, 6) = "BENCH " Then
    WScript.Echo line
  End If
Next
Finish
