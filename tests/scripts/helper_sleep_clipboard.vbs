' timeout: 120
' Sleep while the library's reply window owns the clipboard (after SetTextToClip on Windows,
' after ClearClip everywhere) and another program empties it: emptying waits until the owner's
' thread answers, which must happen during the Sleep, not after it. In a client that runs the
' library as if on Windows and in one that runs it as it is.
Dim others, i, mode
For Each mode In Array("windows", "wine")
  others = RunClient("aswindowsclient.exe", mode & " " & Quote(DLL_PATH) & " sleep " & _
    Quote(TEST_DIR & "emptyclip-" & mode & ".log"), mode)
  For i = 0 To UBound(others)
    WScript.Echo "# " & others(i)
  Next
Next
Finish
