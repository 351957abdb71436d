' timeout: 120
' GetSrcSelectedFiles beside a clipboard watcher (as a clipboard history is) that opens the
' clipboard for a while after every change: the user's clipboard is taken and put back although
' the watcher holds it at first, the names are read once it lets go, and names that could not
' be read in time are left on the clipboard rather than written over with the old text.
Dim h, r, before, watchCfg, watchLog, names

watchCfg = TEST_DIR & "watch.cfg"
watchLog = TEST_DIR & "watch.log"
before = "the user's text"
names = "a.txt" & vbCrLf & "b.txt"

' Polls the watcher's log until count lines begin with prefix; False after 5 s.
Function WaitWatch(prefix, count)
  Dim t0
  t0 = NowMs()
  Do
    WaitWatch = UBound(LinesWithPrefix(ReadTextFile(watchLog), prefix)) + 1 >= count
    If WaitWatch Or ElapsedMs(t0) >= LimitMs(5000) Then Exit Function
    SleepMs 20
  Loop
End Function

ExpectFromHost "expect_cmd=2017"
StartHost "selected.L=a.txt|b.txt"
Set h = CreateObject("Ombrisk.Helper")
WriteUnicodeFile watchCfg, "log=" & watchLog & vbCrLf & "watch_hold_ms=600" & vbCrLf
g_shell.Run Quote(STANDIN_EXE) & " ctl clipwatch " & Quote(watchCfg), 0, False
Ok WaitWatch("WATCH ready", 1), "the watcher runs"

' ---- the watcher holds the clipboard as the call begins, and again after the host's copy ----
h.SetTextToClip before
Ok WaitWatch("WATCH open", 1), "the watcher holds the user's text"
r = h.GetSrcSelectedFiles()
If IsArray(r) Then r = JoinLines(r)
Eq r, names, "the names are read once the watcher lets go"
Ok WaitWatch("WATCH closed", 3), "the watcher saw the user's text, the names and the text put back"
Eq h.GetTextFromClip(), before, "the user's text is back on the clipboard"

' ---- the names held longer than the read waits, by the host itself which keeps the clipboard
' open after its copy, as a watcher quicker than the reader would (a watcher's own timing would
' race the read): they stay on the clipboard. The watcher now lets go at once ----
WriteUnicodeFile watchCfg, "log=" & watchLog & vbCrLf & "watch_hold_ms=0" & vbCrLf
SetHostConfig "selected.L=a.txt|b.txt" & vbCrLf & "clip_hold_ms=1800"
h.SetTextToClip before
Ok WaitWatch("WATCH closed", 4), "the watcher let go of the user's text"
ClearHostLog
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "names that could not be read give Empty (" & TypeName(r) & ")"
Eq HostLogCount("CLIP L count=2"), 1, "although the host copied them"
Ok WaitLog("CLIP released", 1, LimitMs(5000)), "the host let go of the names"
Ok WaitWatch("WATCH closed", 5), "and the watcher looked at them"
Eq h.GetTextFromClip(), names, "which are still on the clipboard: the old text was not written over them"

Finish
