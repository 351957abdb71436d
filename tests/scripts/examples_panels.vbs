' timeout: 240
' The example scripts that work on the panels, run with cscript as a button runs them, against
' the stand-in host: what they print, their exit codes, and what the host and the clipboard saw.
Dim h, out, line, before

' The bytes of a text's characters (ASCII and the ANSI code page's upper half) in hex.
Function HexOf(text)
  Dim i
  HexOf = ""
  For i = 1 To Len(text)
    If i > 1 Then HexOf = HexOf & " "
    HexOf = HexOf & Right("0" & Hex(Asc(Mid(text, i, 1))), 2)
  Next
End Function

' The selection of the left panel and both paths.
Function Panels(selected)
  Panels = "selected.L=" & selected & vbCrLf & "path.L=C:\Left\" & vbCrLf & "path.R=D:\Right\"
End Function

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

' ---- copy-names: the selection in the form asked for ----
h.SetTextToClip before
ClearHostLog
out = RunExample("copy-names.vbs", "")
Eq out, "2 name(s) copied to the clipboard.", "copy-names says how many"
Eq g_exampleExit, 0, "and ends with 0"
Eq h.GetTextFromClip(), "a.txt" & vbCrLf & "b.txt", "no options: the names, one per line"
Eq HostLogLines("CMD "), "CMD posted 2018 lparam=0", "the host was asked for full paths"
Eq RunExample("copy-names.vbs", "/full /q"), "", "/q prints nothing"
Eq h.GetTextFromClip(), "C:\Left\a.txt" & vbCrLf & "C:\Left\b.txt", "/full: with the panel's path"
RunExample "copy-names.vbs", "/FULL /Slash /quoted /sep:space"
Eq h.GetTextFromClip(), """C:/Left/a.txt"" ""C:/Left/b.txt""", "/full /slash /quoted /sep:space, in any case"
SetHostConfig Panels("archive.tar.gz|.profile|noext|dir.d\")
RunExample "copy-names.vbs", "/noext /sep:comma"
Eq h.GetTextFromClip(), "archive.tar,.profile,noext,dir.d", _
  "/noext drops the last extension only; a leading dot is no extension; a folder keeps its name"
RunExample "copy-names.vbs", "/noext /full /sep:semicolon"
Eq h.GetTextFromClip(), "C:\Left\archive.tar;C:\Left\.profile;C:\Left\noext;C:\Left\dir.d", "with /full and semicolons"
out = RunExample("copy-names.vbs", "/bogus")
Ok InStr(out, "Unknown option /bogus") = 1, "an unknown option is named: " & out
Eq g_exampleExit, 1, "ends with 1"
SetHostConfig "clip_none=1"
h.SetTextToClip before
Eq RunExample("copy-names.vbs", ""), "Nothing was selected; the clipboard is unchanged.", "a host that copies nothing"
Eq g_exampleExit, 1, "ends with 1"
Eq h.GetTextFromClip(), before, "and the clipboard keeps its text"

' ---- go-to-clipboard-folder: a "CD" request for the folder on the clipboard ----
Dim folder, accented
accented = TEST_DIR & "caf" & Chr(233) & " folder\"
g_fso.CreateFolder accented
WriteTextFile accented & "note.txt", "x"
SetHostConfig Panels("a.txt")
h.SetTextToClip "  """ & accented & "note.txt""  " & vbCrLf & "second line"
ClearHostLog
out = RunExample("go-to-clipboard-folder.vbs", "")
'' (The console's code page may show the accented letter as another one.)
Ok Left(out, 7) = "Opened " And Len(out) = Len("Opened " & accented), "a quoted file path with blanks: its folder is opened"
Eq g_exampleExit, 0, "ends with 0"
' CD payload: BOM + the path in UTF-8 for the source panel, CR, no target path, NUL, "S", NUL.
Eq LastCdBytes(8), "EF BB BF " & HexOf(Left(TEST_DIR, 5)), "the path goes to the source panel in UTF-8"
Ok InStr(LastCdBytes(2048), HexOf("caf") & " C3 A9 " & HexOf(" folder\") & " 0D 00 53 00") > 0, _
  "the accented letter as C3 A9, then CR, NUL, S, NUL: " & LastCdBytes(2048)
h.SetTextToClip Replace(TEST_DIR, "\", "/")
out = RunExample("go-to-clipboard-folder.vbs", "/target /tab /q")
Eq out, "", "/q prints nothing"
Ok InStr(LastCdBytes(2048), "0D EF BB BF " & HexOf(TEST_DIR) & " 00 53 54 00") = 1, _
  "/target /tab: forward slashes turned round, for the target panel in a new tab: " & LastCdBytes(2048)
h.SetTextToClip TEST_DIR & "nowhere\"
ClearHostLog
Eq RunExample("go-to-clipboard-folder.vbs", ""), "No such folder or file: " & TEST_DIR & "nowhere\", "a path that does not exist"
Eq g_exampleExit, 1, "ends with 1"
Eq HostLogCount("COPYDATA code=CD"), 0, "and no directory change is asked for"
h.SetTextToClip "   "
Eq RunExample("go-to-clipboard-folder.vbs", ""), "The clipboard holds no path.", "blanks only"
SetHostConfig "copydata_result.CD=1"
h.SetTextToClip TEST_DIR
Eq RunExample("go-to-clipboard-folder.vbs", ""), "The file manager did not open " & TEST_DIR, "a host that refuses"
Eq g_exampleExit, 1, "ends with 1"

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
Eq RunExample("copy-names.vbs", ""), "The file manager is not running.", "copy-names without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq h.GetTextFromClip(), before, "and leaves the clipboard alone"
h.SetTextToClip TEST_DIR
Eq RunExample("go-to-clipboard-folder.vbs", ""), "The file manager is not running.", "go-to-clipboard-folder without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq RunExample("show-filters.vbs", ""), "The file manager is not running.", "show-filters without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq RunExample("show-filters.vbs", "/q"), "", "show-filters /q says nothing"
Eq g_exampleExit, 1, "but ends with 1"
Eq RunExample("user-command-and-keys.vbs", "Some keys"), "The file manager is not running.", _
  "user-command-and-keys without a host"
Eq g_exampleExit, 1, "ends with 1"

Finish
