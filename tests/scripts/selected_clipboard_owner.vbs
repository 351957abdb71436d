' timeout: 240
' GetSrcSelectedFiles and GetTrgSelectedFiles while the library's reply window owns the
' clipboard (after SetTextToClip on Windows, after ClearClip everywhere): the host empties the
' clipboard before it copies the names, and emptying waits until the owner's thread answers.
' Each call is timed against the same call on a clipboard no window owns, in the same
' run, in a client that runs the library as if on Windows and in one that runs it as it is.
Dim others, i, mode
ExpectFromHost "expect_cmd=2017,2018" & vbCrLf & "expect_gw=A" & vbCrLf & "expect_keys=1"
StartHost "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=x.doc"
For Each mode In Array("windows", "wine")
  others = RunClient("aswindowsclient.exe", mode & " " & Quote(DLL_PATH) & " selected", mode)
  For i = 0 To UBound(others)
    WScript.Echo "# " & others(i)
  Next
Next
Finish
