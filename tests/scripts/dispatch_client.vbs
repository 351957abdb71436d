' A compiled client drives the object through IDispatch and the type library; its checks are
' reported here one by one.
Dim exe, out, text, lines, i, line
exe = Replace(STANDIN_EXE, "standin.exe", "dispclient.exe")
out = TEST_DIR & "dispclient.txt"
StopHost
RunWait Quote(exe) & " " & Quote(out)
text = ReadTextFile(out)
lines = Split(Replace(text, vbCr, ""), vbLf)
Ok InStr(text, "DONE passed=") > 0, "the client ran to its end"
For i = 0 To UBound(lines)
    line = lines(i)
    If Left(line, 3) = "ok " Then
        Report True, "client: " & Mid(line, InStr(line, " - ") + 3)
    ElseIf Left(line, 7) = "not ok " Then
        Report False, "client: " & Mid(line, InStr(line, " - ") + 3)
    End If
Next
Finish
