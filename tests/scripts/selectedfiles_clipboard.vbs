' The clipboard around GetSrcSelectedFiles / GetTrgSelectedFiles: the text from before the call
' is put back, also when the host copied an empty list; an empty clipboard keeps the names; a
' host that copies nothing, or copies too late, gives Empty and the clipboard stays as it was.
Dim h, r, before

ExpectFromHost "expect_cmd=2017,2018" & vbCrLf & "expect_gw=A" & vbCrLf & "expect_keys=1"
StartHost "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=x.doc"
Set h = CreateObject("Ombrisk.Helper")
before = "text from before " & Chr(228) & vbCrLf & "second line"

' ---- the text from before the call comes back ----
h.SetTextToClip before
r = h.GetSrcSelectedFiles()
Eq JoinLines(r), "a.txt" & vbCrLf & "b.txt", "the names"
Eq h.GetTextFromClip(), before, "and the clipboard holds the earlier text again"
r = h.GetTrgSelectedFiles()
Eq JoinLines(r), "x.doc", "the target's names"
Eq h.GetTextFromClip(), before, "the earlier text again after the target call"

' ---- an empty clipboard: the names stay on it ----
h.ClearClip
r = h.GetSrcSelectedFiles()
Eq JoinLines(r), "a.txt" & vbCrLf & "b.txt", "names from an empty clipboard"
Eq h.GetTextFromClip(), "a.txt" & vbCrLf & "b.txt", "the clipboard keeps the host's names"

' ---- the host copies nothing: Empty, clipboard untouched ----
SetHostConfig "selected.L=a.txt|b.txt" & vbCrLf & "clip_none=1"
h.SetTextToClip before
ClearHostLog
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "nothing copied gives Empty (" & TypeName(r) & ")"
Eq HostLogCount("CLIP none"), 1, "the host was asked and copied nothing"
Eq h.GetTextFromClip(), before, "the clipboard is left as it was"
r = h.GetTrgSelectedFiles(True)
Ok IsEmpty(r), "the same for the target"
Eq h.GetInfo("A"), "L", "whose Tabs still went both ways"
Eq h.GetTextFromClip(), before, "clipboard still untouched"
h.ClearClip
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "nothing copied onto an empty clipboard gives Empty"
Eq h.GetTextFromClip(), "", "which stays empty"
h.NoArrayReturn = True
h.SetTextToClip before
Ok IsEmpty(h.GetSrcSelectedFiles()), "Empty with NoArrayReturn too, not the earlier text"
h.NoArrayReturn = False

' ---- the host copies an empty text: Empty, and the earlier text is put back all the same ----
SetHostConfig "selected.L="
h.SetTextToClip before
ClearHostLog
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "an empty copy gives Empty"
Eq HostLogLines("CLIP "), "CLIP L count=0 cmd=2017", "the host copied an empty list"
Eq h.GetTextFromClip(), before, "the earlier text is back on the clipboard"

' ---- the host copies after the waits and the second more: Empty, then the names arrive ----
SetHostConfig "selected.L=late.txt" & vbCrLf & "clip_delay_ms=3000"
h.SetTextToClip before
ClearHostLog
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "a copy after the waits gives Empty"
Eq HostLogCount("CLIP "), 0, "the call returned before the host copied"
Eq h.GetTextFromClip(), before, "the clipboard is untouched when the call returns"
Ok WaitLog("CLIP L", 1, 10000), "the host copies later"
Eq h.GetTextFromClip(), "late.txt", "and then its names are on the clipboard"
h.Wait = True
h.SetTextToClip before
ClearHostLog
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "a sent command whose copy comes later gives Empty as well"
Eq HostLogCount("CLIP "), 0, "returned before that copy too"
Ok WaitLog("CLIP L", 1, 10000), "the host copies later again"
h.Wait = False

' ---- no host: Empty, the clipboard untouched ----
StopHost
h.SetTextToClip before
Ok IsEmpty(h.GetSrcSelectedFiles()), "no host: Empty"
Eq h.GetTextFromClip(), before, "the clipboard untouched"

Finish
