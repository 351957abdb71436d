' timeout: 240
' The machinery of `make bench` in a few iterations (tests/client/bench_calls.cpp): every
' figure is produced and plausible (the client checks each one), and every BENCH line carries
' a number. The figures themselves are printed for the record, never judged here.
Option Explicit
Dim others, i, fields, figures, numeric
ExpectFromHost "expect_cmd=540,690,2017,2018" & vbCrLf & "expect_copydata=CD,EM" & vbCrLf & "expect_keys=1"
StartHost "answer.SP=C:\bench\" & vbCrLf & "path.L=C:\Left\" & vbCrLf & "path.R=D:\Right\" & vbCrLf & _
  "selected.L=alpha.txt|beta.txt|gamma.txt" & vbCrLf & "selected.R=delta.txt|epsilon.txt" & vbCrLf & _
  "dialog_text=INI-Files: C:\Bench\wincmd.ini<CR>C:\Bench\wcx_ftp.ini"
' The folder goes without its trailing backslash: before the closing quote it would escape it.
others = RunClient("bench_calls.exe", Quote(HostConfigPath()) & " " & Quote(Left(TEST_DIR, Len(TEST_DIR) - 1)) & " quick", "bench")
figures = 0
numeric = 0
For i = 0 To UBound(others)
  If Left(others(i), 6) = "BENCH" & vbTab Then
    WScript.Echo others(i)
    fields = Split(others(i), vbTab)
    figures = figures + 1
    If UBound(fields) = 7 Then
      If IsNumeric(Replace(fields(2), ".", "")) Then numeric = numeric + 1
    End If
  End If
Next
Ok figures >= 27, "the client produced every figure (" & figures & ")"
Eq numeric, figures, "every figure is a number"
Finish
