' timeout: 240
' The example scripts that work on the panels, run with cscript as a button runs them, against
' the stand-in host: what they print, their exit codes, and what the host and the clipboard saw.
Dim h, out, line, before

' The bytes of the last "CD" request the host logged, as "0D EF BB BF ...", cut to n bytes.
ExpectFromHost "expect_cmd=2017,2018" & vbCrLf & "expect_copydata=CD,EM" & vbCrLf & "expect_gw=A,LP,RP,SP" & vbCrLf & "expect_keys=1"
Function LastCdBytes(n)
  Dim a, text
  a = HostLogArray("COPYDATA code=CD")
  LastCdBytes = ""
  If UBound(a) < 0 Then Exit Function
  text = Mid(a(UBound(a)), InStr(a(UBound(a)), "bytes=") + 6)
  LastCdBytes = Left(text, n * 3 - 1)
End Function

StartHost "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=x.doc" & vbCrLf & "path.L=C:\Left\" & vbCrLf & _
  "path.R=D:\Right\" & vbCrLf & "pathbar.L=C:\Left\*.txt" & vbCrLf & "pathbar.R=D:\Right\"
Set h = CreateObject("Ombrisk.Helper")
before = "text from before"

' ---- copy-selected-names: the names, or full paths, end up on the clipboard ----
h.SetTextToClip before
ClearHostLog
out = RunExample("copy-selected-names.vbs", "")
Eq out, "2 name(s) copied to the clipboard.", "copy-selected-names says how many"
Eq g_exampleExit, 0, "and ends with 0"
Eq h.GetTextFromClip(), "a.txt" & vbCrLf & "b.txt", "the clipboard holds the names, one per line"
Eq HostLogLines("CMD "), "CMD posted 2017 lparam=0", "the host was asked for the names without paths"
ClearHostLog
out = RunExample("copy-selected-names.vbs", "/full /q")
Eq out, "", "/q prints nothing"
Eq g_exampleExit, 0, "and still ends with 0"
Eq h.GetTextFromClip(), "C:\Left\a.txt" & vbCrLf & "C:\Left\b.txt", "/full: the names with the panel's path"
Eq HostLogLines("CMD "), "CMD posted 2018 lparam=0", "asked for full paths"

SetHostConfig "clip_none=1"
h.SetTextToClip before
out = RunExample("copy-selected-names.vbs", "")
Eq out, "Nothing was selected; the clipboard is unchanged.", "a host that copies nothing"
Eq g_exampleExit, 1, "ends with 1"
Eq h.GetTextFromClip(), before, "and the clipboard keeps its text"
SetHostConfig "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=x.doc" & vbCrLf & "path.L=C:\Left\" & vbCrLf & _
  "path.R=D:\Right\" & vbCrLf & "pathbar.L=C:\Left\*.txt" & vbCrLf & "pathbar.R=D:\Right\"

' ---- open-in-other-panel: a "CD" request for the target panel with the source's path ----
ClearHostLog
out = RunExample("open-in-other-panel.vbs", "")
Eq out, "Opened C:\Left\ in the other panel.", "open-in-other-panel names the folder"
Eq g_exampleExit, 0, "and ends with 0"
' CR (no source path), BOM + C:\Left\ as the target path, NUL, flags "S", NUL.
Eq LastCdBytes(16), "0D EF BB BF 43 3A 5C 4C 65 66 74 5C 00 53 00 00", "the target panel gets C:\Left\ in place"
ClearHostLog
out = RunExample("open-in-other-panel.vbs", "/tab")
Eq out, "Opened C:\Left\ in a new tab of the other panel.", "/tab says so"
Eq LastCdBytes(16), "0D EF BB BF 43 3A 5C 4C 65 66 74 5C 00 53 54 00", "and asks for a new tab (flags ST)"
SetHostConfig "path.L=C:\Left\" & vbCrLf & "copydata_result.CD=1"
out = RunExample("open-in-other-panel.vbs", "")
Eq out, "The file manager refused to open C:\Left\ in the other panel.", "a host that refuses the change"
Eq g_exampleExit, 1, "ends with 1"
SetHostConfig "ignore.SP=1"
ClearHostLog
out = RunExample("open-in-other-panel.vbs", "")
Eq g_exampleExit, 1, "a host that does not tell its source path: 1"
Eq HostLogCount("COPYDATA code=CD"), 0, "and no directory change is asked for"

' ---- show-filters: both filters and the active side ----
SetHostConfig "path.L=C:\Left\" & vbCrLf & "path.R=D:\Right\" & vbCrLf & "pathbar.L=C:\Left\*.txt" & vbCrLf & _
  "pathbar.R=D:\Right\"
HostSend 9003
out = RunExample("show-filters.vbs", "")
Eq out, "Left panel:  *.txt   (active)" & vbCrLf & "Right panel: (no filter)", "show-filters, left panel active"
Eq g_exampleExit, 0, "ends with 0"
h.SendKeystroke "{TAB}"
SetHostConfig "path.L=C:\Left\" & vbCrLf & "path.R=D:\Right\" & vbCrLf & "pathbar.L=C:\Left\" & vbCrLf & _
  "pathbar.R=D:\Right\*.doc;*.xls"
HostSend 9003
out = RunExample("show-filters.vbs", "")
Eq out, "Left panel:  (no filter)" & vbCrLf & "Right panel: *.doc;*.xls   (active)", "right panel active, its filter"
h.SendKeystroke "{TAB}"

' ---- user-command-and-keys: an "EM" request, then the keys ----
ClearHostLog
out = RunExample("user-command-and-keys.vbs", "UserHello ""ab{ENTER}""")
Eq out, "Ran UserHello" & vbCrLf & "Typed ab{ENTER}", "user-command-and-keys reports both steps"
Eq g_exampleExit, 0, "ends with 0"
line = HostLogLines("COPYDATA code=EM")
Eq Mid(line, InStr(line, " cb=")), " cb=11 from=" & LogField(line, "from") & " from_class=" & _
  LogField(line, "from_class") & " bytes=55 73 65 72 48 65 6C 6C 6F 00 00", "the host got UserHello in ANSI with two NULs"
Eq HostKeyDowns(), "65 66 13", "then the keys a, b, Enter"
ClearHostLog
out = RunExample("user-command-and-keys.vbs", """"" ""{space 2}x"" /q")
Eq out, "", "keys only, quietly"
Eq HostLogCount("COPYDATA code=EM"), 0, "no user command for an empty name"
Eq HostKeyDowns(), "32 32 88", "{space 2}x typed as two spaces and x"
ClearHostLog
out = RunExample("user-command-and-keys.vbs", """"" ""{TAB}{bogus}""")
Eq out, "Could not type {TAB}{bogus}", "an unknown key name: reported"
Eq g_exampleExit, 1, "ends with 1"
Eq HostKeyDowns(), "", "and nothing of the string was typed"
out = RunExample("user-command-and-keys.vbs", """"" ""{sp -1}{sp 12}""")
Eq out, "Could not type {sp -1}{sp 12}: Invalid procedure call or argument", "a negative space count: reported"
Eq g_exampleExit, 1, "ends with 1"
SetHostConfig "copydata_result.EM=1"
out = RunExample("user-command-and-keys.vbs", "NotThere")
Eq out, "The file manager did not run NotThere", "a host that refuses the command"
Eq g_exampleExit, 1, "ends with 1"
out = RunExample("user-command-and-keys.vbs", "")
Eq Left(out, 7), "Usage: ", "no arguments: the usage"
Eq g_exampleExit, 1, "and 1"

' ---- no host: every example says so and ends with 1, the clipboard untouched ----
StopHost
h.SetTextToClip before
Eq RunExample("copy-selected-names.vbs", ""), "The file manager is not running.", "copy-selected-names without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq h.GetTextFromClip(), before, "and leaves the clipboard alone"
Eq RunExample("open-in-other-panel.vbs", ""), "The file manager is not running or did not tell its source folder.", _
  "open-in-other-panel without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq RunExample("show-filters.vbs", ""), "The file manager is not running.", "show-filters without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq RunExample("user-command-and-keys.vbs", "Some keys"), "The file manager is not running.", _
  "user-command-and-keys without a host"
Eq g_exampleExit, 1, "ends with 1"

Finish
