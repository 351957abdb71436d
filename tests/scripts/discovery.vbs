' timeout: 300
' Where a new object finds the host's folder and settings files: environment, command line,
' the library's own folder, then the registry; and the command table read from that folder.
Dim sh, fso, keyCU, keyLM, out, tc, libDir, r
ExpectFromHost "expect_cmd=4321"
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
keyCU = "HKCU\SOFTWARE\Ghisler\Total Commander"
keyLM = "HKLM\SOFTWARE\Ghisler\Total Commander"

Sub ClearRegistry()
    RunWait "reg delete """ & keyCU & """ /f"
    RunWait "reg delete """ & keyLM & """ /f"
End Sub

Sub RegSet(key, name, kind, data)
    Eq RunWait("reg add """ & key & """ /v " & name & " /t " & kind & " /d """ & data & """ /f"), 0, "reg add " & name
End Sub

' Runs a child script in a process with the given environment and arguments; it creates an
' object and writes TCPath, MainINI and FTPINI, one per line. Returns them as an array.
Function Discover(envLines, args)
    Dim cmd, child, text
    child = TEST_DIR & "child.vbs"
    WriteTextFile child, "Set h = CreateObject(""Ombrisk.Helper"")" & vbCrLf & _
        "Set f = CreateObject(""Scripting.FileSystemObject"").CreateTextFile(""" & TEST_DIR & "child.out"", True)" & vbCrLf & _
        "f.Write h.TCPath & vbCrLf & h.MainINI & vbCrLf & h.FTPINI & vbCrLf" & vbCrLf & _
        "h.Pause = 0" & vbCrLf & "f.Write CStr(h.SendCommand(""FromFolder"", True))" & vbCrLf & "f.Close" & vbCrLf
    cmd = TEST_DIR & "child.cmd"
    WriteTextFile cmd, "@echo off" & vbCrLf & "set COMMANDER_PATH=" & vbCrLf & "set COMMANDER_INI=" & vbCrLf & _
        envLines & "cscript //nologo """ & child & """ " & args & vbCrLf
    If fso.FileExists(TEST_DIR & "child.out") Then fso.DeleteFile TEST_DIR & "child.out"
    RunWait "cmd /c """ & cmd & """"
    text = ReadTextFile(TEST_DIR & "child.out")
    Discover = Split(text & vbCrLf & vbCrLf & vbCrLf, vbCrLf)
End Function

ClearRegistry
StopHost
Dim registryBack, classBack
Set registryBack = PutBackLater("cmd /c reg delete """ & keyCU & """ /f & reg delete """ & keyLM & """ /f")

' Nothing set anywhere: bare fall-back names.
out = Discover("", "")
Eq out(0), "", "no installation found: TCPath empty"
Eq out(1), "wincmd.ini", "MainINI falls back to the bare name"
Eq out(2), "wcx_ftp.ini", "FTPINI falls back to the bare name"

' The environment wins, taken as it is.
out = Discover("set COMMANDER_PATH=C:\does\not\exist" & vbCrLf & "set COMMANDER_INI=%%USERPROFILE%%\x.ini" & vbCrLf, "")
Eq out(0), "C:\does\not\exist", "COMMANDER_PATH is taken even when it does not exist"
Eq out(1), "%USERPROFILE%\x.ini", "COMMANDER_INI is not expanded"
Eq out(2), "wcx_ftp.ini", "COMMANDER_INI does not touch FTPINI"

' Switches on the command line, quoted or not, in either case.
out = Discover("", "/I=""C:\My Settings\main.ini"" /x /F=C:\ftp\wcx.ini")
Eq out(1), "C:\My Settings\main.ini", "a quoted i= switch"
Eq out(2), "C:\ftp\wcx.ini", "an unquoted F= switch"
out = Discover("", "/i=C:\cfg\main.ini other")
Eq out(1), "C:\cfg\main.ini", "an unquoted i= switch ends at the space"
out = Discover("set COMMANDER_INI=C:\env.ini" & vbCrLf, "/i=C:\switch.ini")
Eq out(1), "C:\env.ini", "the environment wins over the switch"

' The registry: HKCU's folder only with the program in it, else HKLM's as it is.
tc = TEST_DIR & "tc1"
fso.CreateFolder tc
WriteTextFile tc & "\totalcmd.exe", ""
RegSet keyCU, "InstallDir", "REG_SZ", tc
RegSet keyLM, "InstallDir", "REG_SZ", "C:\machine\tc"
out = Discover("", "")
Eq out(0), tc, "HKCU InstallDir holding totalcmd.exe"
fso.DeleteFile tc & "\totalcmd.exe"
out = Discover("", "")
Eq out(0), "C:\machine\tc", "HKCU InstallDir without totalcmd.exe gives way to HKLM, unchecked"

' Settings paths from the registry, expanded.
RegSet keyCU, "IniFileName", "REG_SZ", "%USERPROFILE%\main.ini"
RegSet keyLM, "FtpIniName", "REG_SZ", ".\ftp.ini"
out = Discover("set USERPROFILE=C:\Users\a" & vbCrLf & "set COMMANDER_PATH=C:\tc" & vbCrLf, "")
Eq out(1), "C:\Users\a\main.ini", "%USERPROFILE% is expanded"
Eq out(2), "C:\tc\ftp.ini", ".\ is expanded with TCPath"
RegSet keyCU, "IniFileName", "REG_SZ", "%userprofile%\low.ini"
out = Discover("set USERPROFILE=C:\Users\a" & vbCrLf & "set COMMANDER_PATH=C:\tc\" & vbCrLf, "")
Eq out(1), "C:\Users\a\low.ini", "the placeholder in lower case"
Eq out(2), "C:\tc\ftp.ini", ".\ with a TCPath ending in a backslash"
RegSet keyCU, "IniFileName", "REG_BINARY", "0102"
out = Discover("", "")
Eq out(1), "513", "a REG_BINARY value reads as its first two bytes"
RegSet keyCU, "IniFileName", "REG_EXPAND_SZ", "C:\expand.ini"
RegSet keyLM, "IniFileName", "REG_SZ", "C:\machine.ini"
out = Discover("", "")
Eq out(1), "C:\machine.ini", "a value of another type counts as missing"
ClearRegistry

' The command table comes from TCPath's totalcmd.inc; a faulty line never stops the creation.
StartHost ""
tc = TEST_DIR & "tc2"
fso.CreateFolder tc
WriteTextFile tc & "\totalcmd.inc", "FromFolder=4321" & vbCrLf & "Broken=99999999999" & vbCrLf & "After=5" & vbCrLf
ClearHostLog
out = Discover("set COMMANDER_PATH=" & tc & vbCrLf, "")
Eq out(0), tc, "TCPath from the environment"
Eq out(3), "True", "the object was created and sent a command from the folder's table"
Ok WaitLog("CMD sent 4321", 1, 3000), "the entry before the overflowing line was kept"

' TCPath let recomputes nothing.
Dim h
Set h = CreateObject("Ombrisk.Helper")
r = h.MainINI
h.TCPath = "X:\elsewhere"
Eq h.TCPath, "X:\elsewhere", "TCPath let"
Eq h.MainINI, r, "MainINI is not recomputed"
h.TCPath = 12
Eq h.TCPath, "12", "TCPath let converts to text"
EqType h.TCPath, "12", "TCPath get is a string"
Set h = Nothing
StopHost

' The library's own folder counts when it holds a file named exactly totalcmd.exe. The class is
' registered for a copy of the library while the child runs, and for the original again after.
libDir = TEST_DIR & "lib"
fso.CreateFolder libDir
fso.CopyFile DLL_PATH, libDir & "\Ombrisk.dll"
WriteTextFile libDir & "\totalcmd.exe", ""
RegSet keyLM, "InstallDir", "REG_SZ", "C:\from\registry"
Set classBack = PutBackLater("regsvr32 /s """ & DLL_PATH & """")
Eq RunWait("regsvr32 /s """ & libDir & "\Ombrisk.dll"""), 0, "the class now points at the copy"
out = Discover("", "")
Eq out(0), libDir, "the library's folder beside totalcmd.exe"
fso.DeleteFile libDir & "\totalcmd.exe"
WriteTextFile libDir & "\TOTALCMD.EXE", ""
out = Discover("", "")
Eq out(0), "C:\from\registry", "TOTALCMD.EXE in other case does not count; the registry decides"
Eq classBack.Run, 0, "the class points at the original again"
registryBack.Run

Finish
