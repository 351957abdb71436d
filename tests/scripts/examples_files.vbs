' timeout: 240
' The example scripts that change files: touch-selected, copy-dates and main-ini-setting, run
' with cscript against the stand-in host whose panels show real folders of the test.
Dim h, out, leftDir, rightDir, f, t0, old, ini, expected

ExpectFromHost "expect_cmd=540,690,2018" & vbCrLf & "expect_gw=TP"
leftDir = TEST_DIR & "left\"
rightDir = TEST_DIR & "right\"
g_fso.CreateFolder leftDir
g_fso.CreateFolder rightDir
g_fso.CreateFolder leftDir & "sub"
old = DateSerial(2001, 2, 3) + TimeSerial(4, 5, 6)

Function Modified(path)
  Modified = g_fso.GetFile(path).DateLastModified
End Function

' Whole seconds between two dates (Wine's VBScript has no DateDiff; its file objects' dates
' carry a trace of a fraction).
Function SecondsApart(a, b)
  SecondsApart = Round(Abs(CDbl(a) - CDbl(b)) * 86400)
End Function

' Seconds between the file's modified date and Now.
Function AgeOf(path)
  AgeOf = SecondsApart(Modified(path), Now)
End Function

Function Panels(selected)
  Panels = "selected.L=" & selected & vbCrLf & "path.L=" & leftDir & vbCrLf & "path.R=" & rightDir
End Function

StartHost Panels("one.txt|two.txt|sub")
Set h = CreateObject("Ombrisk.Helper")

' ---- touch-selected: the selected files get the current time, folders are skipped ----
WriteTextFile leftDir & "one.txt", "1"
WriteTextFile leftDir & "two.txt", "2"
h.SetFileDateAtr leftDir & "one.txt", old, old, old
h.SetFileDateAtr leftDir & "two.txt", old, old, old, 1
Eq SecondsApart(Modified(leftDir & "two.txt"), old), 0, "two.txt starts old"
ClearHostLog
out = RunExample("touch-selected.vbs", "")
Eq Left(out, 16), "2 file(s) dated ", "touch-selected counts two files"
Ok Right(out, 41) = "; 1 folder(s) or missing name(s) skipped.", "and one folder skipped: " & out
Eq g_exampleExit, 0, "ends with 0"
Eq HostLogLines("CMD "), "CMD posted 2018 lparam=0" & vbCrLf & "CMD posted 540 lparam=0", _
  "it asked the host for full paths, then to read the source panel's folder again"
Ok AgeOf(leftDir & "one.txt") < 120, "one.txt is dated now (" & Modified(leftDir & "one.txt") & ")"
Ok AgeOf(leftDir & "two.txt") < 120, "so is the read-only two.txt (" & Modified(leftDir & "two.txt") & ")"
Eq g_fso.GetFile(leftDir & "two.txt").Attributes And 1, 1, "which is still read-only"
SetHostConfig Panels("") & vbCrLf & "clip_none=1"
ClearHostLog
Eq RunExample("touch-selected.vbs", ""), "Nothing is selected, or the file manager is not running.", _
  "nothing selected: a message"
Eq g_exampleExit, 1, "and 1"
Eq HostLogCount("CMD posted 540"), 0, "and no panel is read again"

' ---- copy-dates: two files given ----
WriteTextFile TEST_DIR & "from.txt", "from"
WriteTextFile TEST_DIR & "to.txt", "to"
h.SetFileDateAtr TEST_DIR & "from.txt", old, old, old, 33
out = RunExample("copy-dates.vbs", Quote(TEST_DIR & "from.txt") & " " & Quote(TEST_DIR & "to.txt"))
Eq out, "1 of 1 file(s): dates and attributes copied.", "copy-dates with two files"
Eq g_exampleExit, 0, "ends with 0"
Eq SecondsApart(Modified(TEST_DIR & "to.txt"), old), 0, "the modified date came along"
Eq g_fso.GetFile(TEST_DIR & "to.txt").Attributes And 33, 33, "and the attributes, read-only and archive"
Eq RunExample("copy-dates.vbs", Quote(TEST_DIR & "from.txt") & " " & Quote(TEST_DIR & "none.txt") & " /q"), "", _
  "a missing target, quietly"
Eq g_exampleExit, 1, "ends with 1"
Eq Left(RunExample("copy-dates.vbs", "a b c"), 7), "Usage: ", "three names: the usage"

' ---- copy-dates from the selection: every file onto its namesake in the other panel ----
Dim stamps, names, k
names = Array("pick.txt", "second.txt", "third.txt")
stamps = Array(DateSerial(2010, 11, 12) + TimeSerial(13, 14, 15), DateSerial(2011, 1, 2) + TimeSerial(3, 4, 5), _
  DateSerial(2012, 6, 7) + TimeSerial(8, 9, 10))
For k = 0 To 2
  WriteTextFile leftDir & names(k), "left"
  WriteTextFile rightDir & names(k), "right"
  h.SetFileDateAtr leftDir & names(k), stamps(k), stamps(k), stamps(k), 32
Next
h.SetFileDateAtr leftDir & "third.txt", stamps(2), stamps(2), stamps(2), 33
SetHostConfig Panels("pick.txt|second.txt|third.txt")
out = RunExample("copy-dates.vbs", "")
Eq out, "3 of 3 file(s): dates and attributes copied.", "every selected file onto its namesake in the target panel's folder"
Eq g_exampleExit, 0, "ends with 0"
For k = 0 To 2
  Eq SecondsApart(Modified(rightDir & names(k)), stamps(k)), 0, names(k) & " has its source's modified date"
Next
Eq g_fso.GetFile(rightDir & "third.txt").Attributes And 1, 1, "third.txt became read-only like its source"
Eq g_fso.GetFile(rightDir & "second.txt").Attributes And 1, 0, "second.txt did not"
SetHostConfig Panels("alone.txt|pick.txt|sub")
WriteTextFile leftDir & "alone.txt", "x"
h.SetFileDateAtr rightDir & "pick.txt", old, old, old
out = RunExample("copy-dates.vbs", "")
Eq out, "1 of 3 file(s): dates and attributes copied." & vbCrLf & "  no such file: " & rightDir & "alone.txt" & _
  vbCrLf & "  no such file: " & leftDir & "sub", "a file without a namesake and a folder are listed"
Eq g_exampleExit, 1, "ends with 1"
Eq SecondsApart(Modified(rightDir & "pick.txt"), stamps(0)), 0, "the file between them was still copied"

' ---- main-ini-setting: the file the running host names, read and written ----
ini = TEST_DIR & "main settings.ini"
WriteTextFile ini, "[Configuration]" & vbCrLf & "ShowHidden=0" & vbCrLf & "[Layout]" & vbCrLf & "Buttons=1" & vbCrLf
SetHostConfig "dialog_text=INI-Files: " & ini & "<CR>" & TEST_DIR & "ftp.ini"
ClearHostLog
out = RunExample("main-ini-setting.vbs", "")
Eq out, ini & vbCrLf & "Configuration" & vbCrLf & "Layout", "no arguments: the sections of the host's main file"
Eq HostLogLines("CMD "), "CMD posted 690 lparam=0", "the host was asked for its settings files"
Eq RunExample("main-ini-setting.vbs", "Configuration ShowHidden"), "[Configuration] ShowHidden=0", "one value"
Eq g_exampleExit, 0, "ends with 0"
Eq RunExample("main-ini-setting.vbs", "Configuration ShowHidden 1 /q"), "", "a value written quietly"
Eq g_exampleExit, 0, "ends with 0"
Eq h.INIRead(ini, "Configuration", "ShowHidden"), "1", "the file holds the new value"
Eq h.INIRead(ini, "Layout", "Buttons"), "1", "and the rest as before"
Eq RunExample("main-ini-setting.vbs", "Configuration Missing"), "[Configuration] Missing is not set in " & ini, _
  "a key that is not there"
Eq g_exampleExit, 1, "ends with 1"
WriteTextFile ini, "[Configuration]" & vbCrLf & "Empty=" & vbCrLf
Eq RunExample("main-ini-setting.vbs", "Configuration Empty"), "[Configuration] Empty=", _
  "an empty value is not taken for a missing one"
Eq g_exampleExit, 0, "ends with 0"

' Without a host the file comes from the installation: here from COMMANDER_INI.
StopHost
ini = TEST_DIR & "from-env.ini"
Eq RunExampleWith("COMMANDER_INI=" & ini, "main-ini-setting.vbs", "Tabs Count 3"), "[Tabs] Count=3 written to " & ini, _
  "no host: the file named by COMMANDER_INI is written"
Eq h.INIRead(ini, "Tabs", "Count"), "3", "and holds the value"
Eq RunExample("touch-selected.vbs", "/q"), "", "touch-selected without a host is quiet with /q"
Eq g_exampleExit, 1, "and ends with 1"

Finish
