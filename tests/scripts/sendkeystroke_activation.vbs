' Which window SendKeystroke types into: the host found by its class and activated by its
' caption, shown first by command 2016 when hidden; a host without a caption through the
' title "Total" (a window whose caption equals it, else one whose caption begins with it);
' no keys at all when activation fails.
Dim h, lines, i, iCmd, iShow, iKey, t0

ExpectFromHost "expect_keys=1" & vbCrLf & "expect_cmd=2016"
Function IndexOf(arr, prefix)
  Dim k
  IndexOf = -1
  For k = 0 To UBound(arr)
    If Left(arr(k), Len(prefix)) = prefix Then
      IndexOf = k
      Exit Function
    End If
  Next
End Function

' ---- a hidden host is shown first ----
StartHost "hidden=1"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
ClearHostLog
Eq h.SendKeystroke("a"), True, "a hidden host gets keys"
lines = HostLogArray("")
iCmd = IndexOf(lines, "CMD sent 2016 ")
iShow = IndexOf(lines, "SHOW")
iKey = IndexOf(lines, "KEYDOWN vk=65 ")
Ok iCmd >= 0 And iShow > iCmd And iKey > iShow, "command 2016 sent, the host shown, then the key: " & _
  Replace(JoinLines(lines), vbCrLf, " | ")
Eq RunWait(Quote(STANDIN_EXE) & " ctl visible"), 1, "the host is visible now"
ClearHostLog
h.SendKeystroke "b"
Eq HostLogCount("CMD "), 0, "a visible host gets no command 2016"
Eq HostTyped(), "b", "just the key"
Set h = Nothing
StopHost

' ---- a caption outside ASCII is found through its ANSI text ----
StartHost "caption=Gesamt " & Chr(228) & Chr(246) & " Commander"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
ClearHostLog
Eq h.SendKeystroke("q"), True, "a host captioned outside ASCII is activated"
Eq HostTyped(), "q", "and gets the key"
Set h = Nothing
StopHost

' ---- an empty caption: the title "Total" ----
StartHost "caption="
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
StartNamedHost "exact", "window_class=TOther" & vbCrLf & "caption=total"
StartNamedHost "prefix", "window_class=TOther" & vbCrLf & "caption=Total decoy"
ClearHostLog
Eq h.SendKeystroke("ab"), True, "activation by Total succeeds"
Eq KeyDownsOf(NamedHostLog("exact")), "65 66", "the window whose caption equals Total (in any case) gets the keys"
Eq KeyDownsOf(NamedHostLog("prefix")), "", "not the one whose caption only begins with it, though it is above"
Eq HostLogCount("KEYDOWN "), 0, "nor the host without a caption"
StopHost

StartHost "caption="
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
StartNamedHost "prefix", "window_class=TOther" & vbCrLf & "caption=Total decoy"
Eq h.SendKeystroke("cd"), True, "without an exact match a caption beginning with Total is taken"
Eq KeyDownsOf(NamedHostLog("prefix")), "67 68", "it gets the keys"
Eq h.SendKeystroke("e"), True, "a second call"
Eq KeyDownsOf(NamedHostLog("prefix")), "67 68 69", "goes the same way"
Eq HostLogCount("KEYDOWN "), 0, "the host gets none"
StopHost

' ---- activation fails: no keys anywhere, the waits still happen ----
StartHost "caption="
Set h = CreateObject("Ombrisk.Helper")
StartNamedHost "other", "window_class=TOther" & vbCrLf & "caption=Other window"
h.Pause = 400
t0 = NowMs()
Eq h.SendKeystroke("xyz"), False, "no window captioned Total: false"
Ok ElapsedMs(t0) >= 380, "after both waits (" & Round(ElapsedMs(t0)) & " ms)"
h.Pause = 0
Eq h.SendKeystroke(""), False, "an empty string too"
SleepMs 300
Eq KeyDownsOf(NamedHostLog("other")), "", "the window in the foreground got no keys"
Eq HostLogCount("KEYDOWN "), 0, "the host neither"
StopHost

Finish
