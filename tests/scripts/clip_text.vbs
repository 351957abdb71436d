' timeout: 180
' Clipboard text: round trips, and a clipboard that another program holds open (the calls wait
' up to 100 ms for it, then give their failure result; ClearClip still waits Pause \ 3).
Dim h, t0, ms, r, longText, i
Set h = CreateObject("Ombrisk.Helper")

Function UtilTool()
  UtilTool = Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "utiltool.exe"
End Function

Function ReadyFile()
  ReadyFile = TEST_DIR & "hold.ready"
End Function

Function GoFile()
  GoFile = TEST_DIR & "hold.go"
End Function

' Polls (without a process start in between) until path exists or not; False after timeoutMs.
Function WaitForFile(path, present, timeoutMs)
  Dim t
  t = NowMs()
  Do
    If g_fso.FileExists(path) = present Then
      WaitForFile = True
      Exit Function
    End If
  Loop While ElapsedMs(t) < timeoutMs
  WaitForFile = False
End Function

' Lets another program open the clipboard and keep it until Release, then msAfterGo more.
Function HoldClipboard(msAfterGo)
  If g_fso.FileExists(GoFile()) Then g_fso.DeleteFile GoFile(), True
  If g_fso.FileExists(ReadyFile()) Then g_fso.DeleteFile ReadyFile(), True
  g_shell.Run Quote(UtilTool()) & " cliphold " & Quote(ReadyFile()) & " " & Quote(GoFile()) & " " & msAfterGo, 0, False
  HoldClipboard = WaitForFile(ReadyFile(), True, 10000)
  If Not HoldClipboard Then Report False, "the clipboard helper did not start"
End Function

Sub Release()
  g_fso.CreateTextFile(GoFile(), True).Close
End Sub

' Waits until the helper has closed the clipboard again.
Sub WaitReleased()
  If Not WaitForFile(ReadyFile(), False, 10000) Then Report False, "the clipboard helper did not end"
End Sub

' ---- round trips ----
r = h.SetTextToClip("plain text")
Ok IsEmpty(r), "SetTextToClip returns Empty"
EqType h.GetTextFromClip(), "plain text", "an ASCII round trip"
h.SetTextToClip "Gr" & Chr(252) & Chr(223) & "e " & Chr(128)
Eq h.GetTextFromClip(), "Gr" & Chr(252) & Chr(223) & "e " & Chr(128), "a round trip outside ASCII (the euro sign too)"
h.SetTextToClip "line 1" & vbCrLf & "line 2" & vbCrLf
Eq h.GetTextFromClip(), "line 1" & vbCrLf & "line 2" & vbCrLf, "line breaks survive"
longText = String(100000, "a") & "end"
h.SetTextToClip longText
r = h.GetTextFromClip()
Ok Len(r) = 100003 And Right(r, 3) = "end", "100003 characters survive (got " & Len(r) & ")"
h.SetTextToClip ""
EqType h.GetTextFromClip(), "", "the empty text reads back as the empty string"
h.SetTextToClip "ab" & vbNullChar & "cd"
Eq h.GetTextFromClip(), "ab", "only the text before an embedded NUL reaches the clipboard"

' ---- ClearClip ----
h.SetTextToClip "to be cleared"
h.Pause = 600
t0 = NowMs()
Ok h.ClearClip() = True, "ClearClip empties the clipboard"
ms = ElapsedMs(t0)
Ok ms >= 190, "ClearClip waits Pause \ 3 = 200 ms (took " & Int(ms) & ")"
EqType h.GetTextFromClip(), "", "no text after ClearClip"
h.Pause = 70
t0 = NowMs()
Ok h.ClearClip() = True, "ClearClip of an empty clipboard"
Ok ElapsedMs(t0) < LimitMs(150), "with Pause 70 ClearClip waits about 23 ms, no retry (took " & Int(ElapsedMs(t0)) & ")"

' ---- another program holds the clipboard open ----
h.SetTextToClip "kept"
h.Pause = 600
If HoldClipboard(0) Then
  t0 = NowMs()
  r = h.ClearClip()
  ms = ElapsedMs(t0)
  Ok r = False, "ClearClip of a clipboard held open elsewhere gives False"
  Ok ms >= 280, "and waits the retries and Pause \ 3 all the same (took " & Int(ms) & ")"
  Ok ms < LimitMs(2000), "but not much longer (took " & Int(ms) & ")"
  t0 = NowMs()
  EqType h.GetTextFromClip(), "", "a held clipboard reads as the empty string"
  ms = ElapsedMs(t0)
  Ok ms >= 90 And ms < LimitMs(1000), "after retrying for about 100 ms (took " & Int(ms) & ")"
  h.SetTextToClip "lost"
  Release
  WaitReleased
  Eq h.GetTextFromClip(), "kept", "ClearClip and SetTextToClip changed nothing while it was held"
End If
h.Pause = 70

' A hold shorter than the retries: the read waits it out and succeeds.
h.SetTextToClip "after a short hold"
If HoldClipboard(50) Then
  Release
  t0 = NowMs()
  r = h.GetTextFromClip()
  ms = ElapsedMs(t0)
  Eq r, "after a short hold", "a read during a 50 ms hold still gets the text"
  Ok ms >= 25, "because it waited for the clipboard (took " & Int(ms) & ")"
  WaitReleased
End If
If HoldClipboard(50) Then
  Release
  h.SetTextToClip "written after a short hold"
  WaitReleased
  Eq h.GetTextFromClip(), "written after a short hold", "a write during a 50 ms hold still lands"
End If
If HoldClipboard(50) Then
  Release
  Ok h.ClearClip() = True, "ClearClip during a 50 ms hold still succeeds"
  WaitReleased
  EqType h.GetTextFromClip(), "", "and the clipboard is empty"
End If

Finish
