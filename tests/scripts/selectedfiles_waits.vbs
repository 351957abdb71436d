' timeout: 180
' How long the selected-files members wait for the host: past the fixed waits they look for the
' copy for up to a second more, and a sent copy command that the host has not finished after
' 10 s is given up, so a hung host does not hang the script.

' The names of a result, one per line; a result that is no array shows as its type name.
ExpectFromHost "expect_cmd=2017,2018" & vbCrLf & "expect_gw=A" & vbCrLf & "expect_keys=1"
Function NamesOf(v)
  If IsArray(v) Then NamesOf = JoinLines(v) Else NamesOf = "<" & TypeName(v) & ">"
End Function
Dim h, r, before
before = "earlier text"
StartHost "selected.L=slow.txt|big.txt" & vbCrLf & "selected.R=other.txt" & vbCrLf & "clip_delay_ms=300"
Set h = CreateObject("Ombrisk.Helper")

' ---- a host that copies 300 ms after the command ----
h.SetTextToClip before
ClearHostLog
r = h.GetSrcSelectedFiles()
Eq NamesOf(r), "slow.txt" & vbCrLf & "big.txt", "a copy 300 ms after a posted command is waited for"
Eq HostLogLines("CLIP "), "CLIP L count=2 cmd=2017", "the host copied once"
Eq h.GetTextFromClip(), before, "and the earlier text is back"
h.Wait = True
ClearHostLog
r = h.GetTrgSelectedFiles()
Eq NamesOf(r), "other.txt", "and after a sent command that returns before its copy, for the target panel"
Eq HostLogLines("CLIP "), "CLIP R count=1 cmd=2017", "copied from the target panel"
Eq h.GetTextFromClip(), before, "the earlier text is back again"
Eq h.GetInfo("A"), "L", "with the source panel active again"
h.NoArrayReturn = True
EqType h.GetSrcSelectedFiles(True), "C:\Left\slow.txt" & vbCrLf & "C:\Left\big.txt", "one string, with the paths"
h.NoArrayReturn = False

' ---- the names are read as soon as the host has copied them, not after Pause \ 3 ----
' With Pause 3000 the fixed waits are 1000 ms (Pause \ 3) and 1500 ms (Pause \ 2, before
' returning); a host that copies at once costs the second wait only, as h.Sleep 1500 does.
SetHostConfig "selected.L=a.txt" & vbCrLf & "selected.R=x.doc"
Dim t0, plain, baseline
h.Wait = False
h.Pause = 3000
t0 = NowMs()
h.Sleep 1500
baseline = ElapsedMs(t0)
t0 = NowMs()
r = h.GetSrcSelectedFiles()
plain = ElapsedMs(t0)
WScript.Echo "INFO GetSrcSelectedFiles with Pause 3000: " & Round(plain) & " ms; Sleep 1500: " & Round(baseline) & " ms"
Eq NamesOf(r), "a.txt", "the names of a host that copies at once"
Ok plain - baseline < LimitMs(700), "read when they arrived, the wait of Pause \ 3 not sat out"
h.Pause = 70
h.Wait = True

' ---- a host that hangs in the sent command: given up after 10 s ----
SetHostConfig "selected.L=hung.txt" & vbCrLf & "clip_delay_ms=1" & vbCrLf & "cmd_delay_ms=12000"
h.SetTextToClip before
ClearHostLog
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "a host that does not finish the command gives Empty (" & TypeName(r) & ")"
Eq HostLogLines("CMD "), "CMD sent 2017 lparam=0", "the command reached the host"
Eq HostLogCount("CLIP "), 0, "and the call returned while the host was still busy with it"
Eq h.GetTextFromClip(), before, "leaving the clipboard as it was"
Ok WaitLog("CLIP L", 1, 20000), "the host copies once it is done"
h.Wait = False
SetHostConfig "selected.L=a.txt"
Eq NamesOf(h.GetSrcSelectedFiles()), "a.txt", "the host answers again afterwards"

Finish
