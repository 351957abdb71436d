' Every one of the 43 members (38 names; Separator, NoArrayReturn, Pause, Wait and TCPath are
' read and written) called once by the 64-bit cscript on the x64 DLL, each with a result that
' shows it did its work: the host's log for what crosses to the host, the files, the clipboard
' and the debug output for the utilities.
Dim h, r, sh, fso, inc, ini, f, n, calls, t0

Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
calls = 0

' Counts one member called, so the last check can tell that none was skipped.
Sub Called(count)
  calls = calls + count
End Sub

Eq CSCRIPT_BITS, 64, "the 64-bit environment"
Eq sh.Environment("PROCESS")("PROCESSOR_ARCHITECTURE"), "AMD64", "cscript runs as a 64-bit process"

StartHost "answer.SP=C:\Windows\" & vbCrLf & "answer.TP=D:\Data\" & vbCrLf & "answer.A=L" & vbCrLf & _
  "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=c.doc" & vbCrLf & "path.L=C:\Windows\" & vbCrLf & _
  "path.R=D:\Data\" & vbCrLf & "pathbar.L=C:\Windows\*.txt" & vbCrLf & "pathbar.R=D:\Data\*.doc" & vbCrLf & _
  "client_width=1000" & vbCrLf & "sep_x=498" & vbCrLf & _
  "dialog_text=INI-Files: C:\Tools\wincmd.ini<CR>C:\Tools\wcx_ftp.ini"
Set h = CreateObject("Ombrisk.Helper")
Eq TypeName(h), "_Helper", "the object's type information"

' ---- properties, read and written ----
EqType h.IsRunningTC, True, "IsRunningTC": Called 1
h.Pause = 0: Called 1
Eq h.Pause, 0, "Pause let and get": Called 1
h.Wait = True: Called 1
EqType h.Wait, True, "Wait let and get": Called 1
h.NoArrayReturn = True: Called 1
EqType h.NoArrayReturn, True, "NoArrayReturn let and get": Called 1
h.TCPath = "C:\Tools": Called 1
Eq h.TCPath, "C:\Tools", "TCPath let and get": Called 1
ClearHostLog
r = h.Separator: Called 1
EqType r, CSng(50), "Separator get: the bar at 498 of 1000"
ClearHostLog
h.Separator = 30: Called 1
' The drag's end point is not checked here (separator_set.vbs does, in the 32-bit run): the X
' server's late pointer echoes may carry the button-up elsewhere.
WaitLog "SEPARATOR down", 2, 3000
r = HostLogArray("SEPARATOR down")
n = -1
If UBound(r) >= 1 Then n = CLng(LogField(r(1), "x"))
Ok UBound(r) = 1 And LogField(r(0), "x") = "500" And n >= 295 And n <= 301, _
  "Separator let presses on the bar, then at 30 % (" & HostLogLines("SEPARATOR") & ")"

' ---- the host: commands, keys, WM_COPYDATA requests and answers ----
ClearHostLog
EqType h.SendCommand(2016, True), True, "SendCommand by number, waiting": Called 1
Eq HostLogLines("CMD "), "CMD sent 2016 lparam=0", "the host got the command"
inc = TEST_DIR & "totalcmd.inc"
WriteTextFile inc, "[_Ombrisk_]" & vbCrLf & "cm_RereadSource=540" & vbCrLf
EqType h.LoadIncFile(inc), True, "LoadIncFile": Called 1
ClearHostLog
h.SendCommand "cm_RereadSource", True
Eq HostLogLines("CMD "), "CMD sent 540 lparam=0", "a name from the command file is sent as its number"
ClearHostLog
EqType h.UserCmd("em_test"), True, "UserCmd": Called 1
Eq LogField(HostLogLines("COPYDATA "), "code"), "EM", "UserCmd sends an EM request"
ClearHostLog
Eq h.GetInfo("SP"), "C:\Windows\", "GetInfo: the answer came back to the 64-bit reply window": Called 1
Eq LogField(HostLogLines("COPYDATA "), "from_class"), "OmbriskReplyWindow", "wParam is the reply window"
Eq h.GetSrcPath(), "C:\Windows\", "GetSrcPath": Called 1
Eq h.GetTrgPath(), "D:\Data\", "GetTrgPath": Called 1
ClearHostLog
EqType h.SetSrcPath("C:\"), True, "SetSrcPath": Called 1
EqType h.SetTrgPath("D:\", True), True, "SetTrgPath": Called 1
EqType h.SetLeftPath("C:\Temp"), True, "SetLeftPath": Called 1
EqType h.SetRightPath("X"), True, "SetRightPath": Called 1
Eq HostLogCount("COPYDATA code=CD"), 4, "four CD requests"
ClearHostLog
EqType h.SendKeystroke("ab{ENTER}"), True, "SendKeystroke": Called 1
Eq HostTyped(), "ab" & vbCr, "the keys arrived"
Eq h.GetFilter("R"), "*.doc", "GetFilter": Called 1
EqType h.LockTC(True), True, "LockTC locks": Called 1
EqType h.LockTC(False), True, "LockTC unlocks"
EqType h.GetIniFiles(), True, "GetIniFiles reads the settings dialog": Called 1
Eq h.MainINI, "C:\Tools\wincmd.ini", "MainINI": Called 1
Eq h.FTPINI, "C:\Tools\wcx_ftp.ini", "FTPINI": Called 1

' ---- selected names travel through the clipboard, which is kept ----
Ok IsEmpty(h.SetTextToClip("kept " & ChrW8364())), "SetTextToClip returns Empty": Called 1
h.NoArrayReturn = False
r = h.GetSrcSelectedFiles(): Called 1
Eq JoinLines(r), "a.txt" & vbCrLf & "b.txt", "GetSrcSelectedFiles as an array"
r = h.GetTrgSelectedFiles(True): Called 1
Eq JoinLines(r), "D:\Data\c.doc", "GetTrgSelectedFiles with the path"
Eq h.GetTextFromClip(), "kept " & ChrW8364(), "GetTextFromClip: the earlier text came back": Called 1
EqType h.ClearClip(), True, "ClearClip": Called 1
Eq h.GetTextFromClip(), "", "the clipboard is empty"

' ---- utilities ----
t0 = Timer
h.Sleep 200: Called 1
Ok Timer - t0 >= 0.15, "Sleep waits"
Eq h.FormatAny(1234.5, "#,##0.00"), "1,234.50", "FormatAny": Called 1
ini = TEST_DIR & "members.ini"
EqType h.INIWrite(ini, "S", "k", "v " & ChrW8364()), True, "INIWrite": Called 1
Eq h.INIRead(ini, "S", "k"), "v " & ChrW8364(), "INIRead": Called 1
EqType h.INIWriteSection(ini, "T", "a=1" & vbCrLf & "b=2"), True, "INIWriteSection": Called 1
Eq h.INIReadSection(ini, "T"), "a=1" & vbCrLf & "b=2" & vbCrLf, "INIReadSection": Called 1
EqType h.INISectionExists(ini, "T"), True, "INISectionExists": Called 1
EqType h.INIDelete(ini, "T"), True, "INIDelete": Called 1
EqType h.INISectionExists(ini, "T"), False, "the section is gone"
f = TEST_DIR & "dated.txt"
WriteTextFile f, "x"
EqType h.SetFileDateAtr(f, , #2001-02-03 04:05:06#), True, "SetFileDateAtr": Called 1
Eq fso.GetFile(f).DateLastModified, #2001-02-03 04:05:06#, "the modification date was set"
h.DbgPrint "members: 64-bit": Called 1
Ok InStr(DebugLines(), "members: 64-bit") > 0, "DbgPrint reached the debug output"
sh.Run Quote(STANDIN_EXE) & " ctl closebox ""About Ombrisk"" 300", 0, False
h.About: Called 1
Ok True, "About returned once its box was closed"

Eq calls, 43, "every member was called"
Set h = Nothing
StopHost
Finish

' The euro sign, outside ASCII and outside Latin-1 (Wine's VBScript has no ChrW).
Function ChrW8364()
  ChrW8364 = Chr(128)
End Function
