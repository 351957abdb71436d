' GetSrcSelectedFiles / GetTrgSelectedFiles: which panel is asked, with which command, sent or
' posted, and the result as an array or one string.
Dim h, r, lines, cfg

ExpectFromHost "expect_cmd=2017,2018" & vbCrLf & "expect_gw=A" & vbCrLf & "expect_keys=1"
Function Described(v)
  If IsArray(v) Then
    Described = "(" & JoinLines(v) & ")"
    Described = Replace(Described, vbCrLf, "|")
  Else
    Described = TypeName(v) & ":" & Replace(CStr(v & ""), vbCrLf, "|")
  End If
End Function

' The log lines of the Tab keys, panel switches, commands and copies, in order, joined by " | ".
Function Steps()
  Dim all, k, s, line
  all = HostLogArray("")
  s = ""
  For k = 0 To UBound(all)
    line = all(k)
    If Left(line, 10) = "KEYDOWN vk" Then
      If LogField(line, "vk") = "9" Then line = "TAB" Else line = ""
    End If
    If Left(line, 7) = "ANSWER " Or Left(line, 9) = "COPYDATA " Or Left(line, 5) = "CHAR " Then line = ""
    If line <> "" Then
      If s <> "" Then s = s & " | "
      s = s & line
    End If
  Next
  Steps = s
End Function

cfg = "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=x.doc|y.doc|z.doc" & vbCrLf & _
  "path.L=C:\Left\" & vbCrLf & "path.R=D:\Right\"
StartHost cfg
Set h = CreateObject("Ombrisk.Helper")

' ---- source panel: no keys, command 2017 or 2018 posted ----
ClearHostLog
r = h.GetSrcSelectedFiles()
Eq Described(r), "(a.txt|b.txt)", "the source panel's names as an array"
Eq TypeName(r), "Variant()", "an array of variants"
Eq LBound(r), 0, "zero-based"
Eq TypeName(r(0)), "String", "of strings"
Eq Steps(), "CMD posted 2017 lparam=0 | CLIP L count=2 cmd=2017", "command 2017 posted, no Tab"
ClearHostLog
Eq Described(h.GetSrcSelectedFiles(True)), "(C:\Left\a.txt|C:\Left\b.txt)", "WithFullPath gives the paths"
Eq Steps(), "CMD posted 2018 lparam=0 | CLIP L count=2 cmd=2018", "through command 2018"
ClearHostLog
Eq Described(h.GetSrcSelectedFiles(False)), "(a.txt|b.txt)", "WithFullPath false"
Eq Steps(), "CMD posted 2017 lparam=0 | CLIP L count=2 cmd=2017", "is command 2017"

' ---- target panel: Tab, command, Tab ----
ClearHostLog
Eq Described(h.GetTrgSelectedFiles()), "(x.doc|y.doc|z.doc)", "the target panel's names"
Eq Steps(), "TAB | PANEL R | CMD posted 2017 lparam=0 | CLIP R count=3 cmd=2017 | TAB | PANEL L", _
  "Tab, the command while the target is active, Tab back"
Eq h.GetInfo("A"), "L", "the left panel is active again"
ClearHostLog
Eq Described(h.GetTrgSelectedFiles(True)), "(D:\Right\x.doc|D:\Right\y.doc|D:\Right\z.doc)", "target with paths"
Eq Steps(), "TAB | PANEL R | CMD posted 2018 lparam=0 | CLIP R count=3 cmd=2018 | TAB | PANEL L", _
  "through command 2018"

' With the right panel active, source and target change places.
h.SendKeystroke "{TAB}"
Eq h.GetInfo("A"), "R", "the right panel is active now"
Eq Described(h.GetSrcSelectedFiles()), "(x.doc|y.doc|z.doc)", "the source is the right panel"
Eq Described(h.GetTrgSelectedFiles()), "(a.txt|b.txt)", "the target the left one"
Eq h.GetInfo("A"), "R", "and the right panel stays active"
h.SendKeystroke "{TAB}"

' ---- Wait: the command is sent ----
h.Wait = True
ClearHostLog
Eq Described(h.GetSrcSelectedFiles()), "(a.txt|b.txt)", "Wait true: source"
Eq Described(h.GetTrgSelectedFiles(True)), "(D:\Right\x.doc|D:\Right\y.doc|D:\Right\z.doc)", "Wait true: target"
Eq Steps(), "CMD sent 2017 lparam=0 | CLIP L count=2 cmd=2017 | TAB | PANEL R | CMD sent 2018 lparam=0 | " & _
  "CLIP R count=3 cmd=2018 | TAB | PANEL L", "both commands sent"
h.Wait = False

' ---- NoArrayReturn: one string, exactly as the host wrote it ----
h.NoArrayReturn = True
r = h.GetSrcSelectedFiles()
EqType r, "a.txt" & vbCrLf & "b.txt", "NoArrayReturn gives the text with CR LF"
r = h.GetTrgSelectedFiles(True)
EqType r, "D:\Right\x.doc" & vbCrLf & "D:\Right\y.doc" & vbCrLf & "D:\Right\z.doc", "for the target too"
h.NoArrayReturn = False

' ---- one name: a one-element array ----
SetHostConfig "selected.L=only.txt"
r = h.GetSrcSelectedFiles()
Ok IsArray(r), "one name is still an array"
If IsArray(r) Then Eq UBound(r), 0, "with one element"
Eq Described(r), "(only.txt)", "holding the name"
h.NoArrayReturn = True
EqType h.GetSrcSelectedFiles(), "only.txt", "or the name alone with NoArrayReturn"
h.NoArrayReturn = False

' ---- waits: Pause \ 3 after the first Tab, Pause \ 2 before returning; the names are read as
' soon as the host has copied them ----
SetHostConfig cfg
Dim t0, ms
h.Pause = 600
t0 = NowMs()
h.GetSrcSelectedFiles
ms = ElapsedMs(t0)
Ok ms >= 290, "source: Pause \ 2, 300 ms (" & Round(ms) & " ms)"
t0 = NowMs()
h.GetTrgSelectedFiles
ms = ElapsedMs(t0)
' 200 after the first Tab, 300 before returning, and the two Tab calls' own waits of Pause \ 2 twice each.
Ok ms >= 1680, "target: with the Tab keystrokes and their waits, 1700 ms (" & Round(ms) & " ms)"

' ---- no host: Empty at once ----
h.Pause = LimitMs(3000)
StopHost
t0 = NowMs()
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "no host: Empty (" & TypeName(r) & ")"
r = h.GetTrgSelectedFiles(True)
Ok IsEmpty(r), "no host: Empty for the target too"
Ok ElapsedMs(t0) < LimitMs(500), "without waiting (" & Round(ElapsedMs(t0)) & " ms)"

Finish
