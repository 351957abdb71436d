' timeout: 240
' diagnose.vbs and diagnose.js of the package, run with cscript: registered for the machine or
' for the user, with and without the file manager, not registered, registered at a DLL that is
' gone, VBScript's engine there or not. The JScript twin must print the very same report. In
' the 64-bit run the x86 DLL is registered beside the x64 one, and the 32-bit script host runs
' the scripts as well.
Dim out, outJs, dllVersion, userCopy, keys, k, reported, bits, otherBits, arch, g_cscript
bits = CSCRIPT_BITS
otherBits = 96 - bits
If bits = 32 Then arch = "x86" Else arch = "AMD64"
g_cscript = "C:\windows\system32\cscript.exe"

ExpectFromHost "expect_gw=A,SP,TP"
Function PackageDir()
  PackageDir = g_fso.GetAbsolutePathName(DATA_DIR & "..\..\package") & "\"
End Function

' Runs package\<name> with cscript; returns what it printed (the last line end dropped) and
' leaves its exit code in g_exampleExit.
Function RunDiagnose(name)
  Dim file, text
  file = TEST_DIR & "diagnose-output.txt"
  If g_fso.FileExists(file) Then g_fso.DeleteFile file, True
  g_exampleExit = RunWait("cmd /c " & g_cscript & " //nologo " & Quote(PackageDir() & name) & " > " & Quote(file))
  ' Wine's cmd once answered 9009 ("not recognised") for the script host under load, with nothing
  ' run: that start is tried again once; the script's own codes are 0 and 1.
  If g_exampleExit = 9009 Then
    WScript.Echo "# cmd could not start " & g_cscript & " (9009); trying again"
    g_exampleExit = RunWait("cmd /c " & g_cscript & " //nologo " & Quote(PackageDir() & name) & " > " & Quote(file))
  End If
  text = ReadTextFile(file)
  If Right(text, 2) = vbCrLf Then text = Left(text, Len(text) - 2)
  RunDiagnose = text
End Function

' The text after "label:" and the blanks that align the column; "(no line)" when missing.
Function Field(report, label)
  Dim lines, i
  Field = "(no line)"
  lines = Split(report, vbCrLf)
  For i = 0 To UBound(lines)
    If Left(lines(i), Len(label) + 1) = label & ":" Then
      Field = Trim(Mid(lines(i), Len(label) + 2))
      Exit Function
    End If
  Next
End Function

' Both scripts, their reports compared; the VBScript report is returned.
Dim g_jsExit
Function RunBoth()
  Dim vbsOut, vbsExit
  vbsOut = RunDiagnose("diagnose.vbs")
  vbsExit = g_exampleExit
  outJs = RunDiagnose("diagnose.js")
  g_jsExit = g_exampleExit
  g_exampleExit = vbsExit
  RunBoth = vbsOut
End Function

' The report without the line that quotes the script engine's own error text.
Function WithoutEngineText(report)
  Dim lines, i, kept
  lines = Split(report, vbCrLf)
  kept = ""
  For i = 0 To UBound(lines)
    If Left(lines(i), 15) <> "Ombrisk.Helper:" Then kept = kept & lines(i) & vbCrLf
  Next
  WithoutEngineText = kept
End Function

Sub SameFromJs(vbsOut, what)
  Eq WithoutEngineText(outJs), WithoutEngineText(vbsOut), "diagnose.js prints the same report (" & what & ")"
  Eq g_jsExit, g_exampleExit, "and ends with the same code"
End Sub

dllVersion = g_fso.GetFileVersion(DLL_PATH)
Eq UBound(Split(dllVersion, ".")), 3, _
  "the DLL has a file version to report (" & dllVersion & ")"

' ---- registered for the machine, the file manager running ----
StartHost "path.L=C:\Left\" & vbCrLf & "path.R=D:\Right\"
out = RunBoth()
Eq g_exampleExit, 0, "all is well: exit code 0"
Eq Right(out, 12), "All is well.", "and the report says so: " & vbCrLf & out
Ok InStr(Field(out, "Script host"), "cscript.exe (" & bits & "-bit, " & arch & ")") > 0, _
  "the script host and its bitness: " & Field(out, "Script host")
Eq Field(out, "Windows"), CStr(bits) & "-bit", "the system's bitness"
Eq Field(out, bits & "-bit, for the machine"), DLL_PATH & " (version " & dllVersion & ")", "the machine registration with its version"
Eq Field(out, bits & "-bit, for this user"), "not registered", "none for the user"
If bits = 64 Then
  Eq Field(out, "32-bit, for the machine"), DLL32_PATH & " (version " & g_fso.GetFileVersion(DLL32_PATH) & ")", _
    "the 32-bit registration beside it"
  Eq Field(out, "32-bit, for this user"), "not registered", "none for the user"
Else
  Eq Field(out, "64-bit, for the machine"), "(no line)", "no 64-bit lines on a 32-bit system"
End If
Eq Field(out, "This host loads"), DLL_PATH & " (for the machine)", "the DLL this host loads"
Eq Field(out, "IsRunningTC"), "True", "the file manager runs"
Eq Field(out, "Source panel"), "C:\Left\", "the source panel's path"
Eq Field(out, "Target panel"), "D:\Right\", "the target panel's path"
Eq Field(out, "Active side"), "L", "the active side"
Eq Field(out, "Rights"), "the same as the file manager's", "the rights check found both at the same level"
Eq Field(out, "MainINI"), CreateObject("Ombrisk.Helper").MainINI, "MainINI as the object finds it"
Eq LCase(Field(out, "VBScript")), LCase("installed (" & g_fso.GetSpecialFolder(1).Path & "\vbscript.dll)"), _
  "Wine's VBScript engine is registered and there"
SameFromJs out, "machine, host running"

' ---- VBScript's engine registered at a file that is gone (restored before anything can fail) ----
Dim engineKey, engine
engineKey = "HKLM\Software\Classes\CLSID\{B54F3741-5B07-11cf-A4B0-00AA004A55E8}\InprocServer32\"
engine = g_shell.RegRead(engineKey)
g_shell.RegWrite engineKey, TEST_DIR & "gone\vbscript.dll", "REG_SZ"
out = RunDiagnose("diagnose.js")
g_shell.RegWrite engineKey, engine, "REG_SZ"
Eq Left(Field(out, "VBScript"), 15), "not installed: ", "diagnose.js tells VBScript is missing: " & Field(out, "VBScript")
Ok InStr(out, "To look at:" & vbCrLf & "  - VBScript is not installed") > 0, "and advises: " & out
Eq g_exampleExit, 0, "as advice only: all else is well, exit code 0"

' ---- a host that does not tell its paths ----
SetHostConfig "ignore.SP=1" & vbCrLf & "ignore.TP=1"
out = RunDiagnose("diagnose.vbs")
Eq g_exampleExit, 1, "a host that keeps its paths to itself: exit code 1"
Ok InStr(out, "To look at:" & vbCrLf & "  - The file manager runs but did not tell its panel paths.") > 0, _
  "with the reason: " & out

' ---- registered for the user too: the per-user one is the one loaded ----
StopHost
userCopy = TEST_DIR & "user copy\Ombrisk.dll"
g_fso.CreateFolder TEST_DIR & "user copy"
g_fso.CopyFile DLL_PATH, userCopy
Eq RunWait("regsvr32 /s /n /i:user " & Quote(userCopy)), 0, "a copy registered for the user"
out = RunBoth()
Eq Field(out, bits & "-bit, for this user"), userCopy & " (version " & dllVersion & ")", "the user's registration"
Eq Field(out, "This host loads"), userCopy & " (for this user)", "which wins over the machine's"
Eq Field(out, "IsRunningTC"), "False", "no file manager"
Ok InStr(out, "  - The file manager is not running") > 0, "which is listed to look at"
Eq Field(out, "Source panel"), "(no line)", "and no panel paths are shown"
Eq Field(out, "Rights"), "(no line)", "nor rights to compare"
Eq g_exampleExit, 1, "exit code 1"
SameFromJs out, "user copy, no host"

' ---- the user's DLL moved away: the registration points at nothing ----
g_fso.MoveFile userCopy, TEST_DIR & "moved.dll"
out = RunBoth()
Eq Field(out, bits & "-bit, for this user"), userCopy & " (the file is missing)", "a registered DLL that is gone"
Ok InStr(out, "  - The registered DLL " & userCopy & " is missing") > 0, "is listed to look at"
'' Windows then cannot create the object (exit code 2); Wine's script host still creates it.
Ok g_exampleExit = 1 Or g_exampleExit = 2, "not all well: exit code " & g_exampleExit
SameFromJs out, "user DLL missing"
g_fso.MoveFile TEST_DIR & "moved.dll", userCopy
Eq RunWait("regsvr32 /s /u /n /i:user " & Quote(userCopy)), 0, "the user's registration taken away"

' ---- not registered at all ----
Eq RunWait("regsvr32 /s /u " & Quote(DLL_PATH)), 0, "the machine registration taken away"
out = RunBoth()
reported = Field(out, "Ombrisk.Helper")
Eq Field(out, bits & "-bit, for the machine"), "not registered", "nothing for the machine"
Eq Field(out, bits & "-bit, for this user"), "not registered", "nothing for the user"
Ok InStr(reported, "(error 429)") > 0, "error 429 is named: " & reported
Ok InStr(out, "  - Ombrisk is not registered for " & bits & "-bit script hosts: run install.cmd") > 0, "the remedy is named"
Eq g_exampleExit, 2, "exit code 2"
SameFromJs out, "not registered"
Eq RunWait("regsvr32 /s " & Quote(DLL_PATH)), 0, "registered for the machine again"
out = RunDiagnose("diagnose.vbs")
Eq g_exampleExit, 1, "and the object works again (only the file manager is missing)"

' ---- the 32-bit script host of a 64-bit system asks the 64-bit one about its view ----
If bits = 64 Then
  g_cscript = "C:\windows\syswow64\cscript.exe"
  StartHost "path.L=C:\Left\" & vbCrLf & "path.R=D:\Right\"
  out = RunBoth()
  Ok InStr(Field(out, "Script host"), "(32-bit, x86)") > 0, "the 32-bit host: " & Field(out, "Script host")
  Eq Field(out, "Windows"), "64-bit", "on a 64-bit system"
  Eq Field(out, "32-bit, for the machine"), DLL32_PATH & " (version " & g_fso.GetFileVersion(DLL32_PATH) & ")", _
    "its own registration"
  Eq Field(out, "64-bit, for the machine"), DLL_PATH & " (version " & dllVersion & ")", "the 64-bit one, read by the 64-bit host"
  Eq Field(out, "This host loads"), DLL32_PATH & " (for the machine)", "it loads the x86 DLL"
  Eq g_exampleExit, 0, "all is well"
  SameFromJs out, "32-bit host on a 64-bit system"
  g_cscript = "C:\windows\system32\cscript.exe"
End If

Finish
