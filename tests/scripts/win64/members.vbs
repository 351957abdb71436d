' Every one of the 43 members (38 names; Separator, NoArrayReturn, Pause, Wait and TCPath are
' read and written) called once by the 64-bit cscript on the x64 DLL, each with a result that
' shows it did its work: the host's log for what crosses to the host, the files, the clipboard
' and the debug output for the utilities.
Dim h, r, sh, fso, inc, ini, f, n, calls, t0

Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
calls = "|"

' Notes a member as called: its name, with "=" for a property written. The last check compares
' these with the members the type library source declares.
Sub Called(member)
  If InStr(calls, "|" & member & "|") = 0 Then calls = calls & member & "|"
End Sub

' The members of the interface source: a name per method or property read, name & "=" per
' property written, as an array.
Function DeclaredMembers()
  Dim text, pieces, i, attrs, rest, name, found
  found = Array()
  text = ReadTextFile(fso.GetAbsolutePathName(DATA_DIR & "..\..\server\Ombrisk.idl"))
  pieces = Split(text, "HRESULT ")
  For i = 1 To UBound(pieces)
    attrs = pieces(i - 1)
    If InStrRev(attrs, ";") > 0 Then attrs = Mid(attrs, InStrRev(attrs, ";"))
    rest = pieces(i)
    name = Trim(Left(rest, InStr(rest, "(") - 1))
    If InStr(attrs, "propput") > 0 Then name = name & "="
    ReDim Preserve found(i - 1)
    found(i - 1) = name
  Next
  DeclaredMembers = found
End Function

Eq CSCRIPT_BITS, 64, "the 64-bit environment"
Eq sh.Environment("PROCESS")("PROCESSOR_ARCHITECTURE"), "AMD64", "cscript runs as a 64-bit process"

ExpectFromHost "expect_cmd=540,690,2016,2017,2018" & vbCrLf & "expect_copydata=CD,EM" & vbCrLf & _
  "expect_gw=LP,RP" & vbCrLf & "expect_keys=1"
StartHost "answer.SP=C:\Windows\" & vbCrLf & "answer.TP=D:\Data\" & vbCrLf & "answer.A=L" & vbCrLf & _
  "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=c.doc" & vbCrLf & "path.L=C:\Windows\" & vbCrLf & _
  "path.R=D:\Data\" & vbCrLf & "pathbar.L=C:\Windows\*.txt" & vbCrLf & "pathbar.R=D:\Data\*.doc" & vbCrLf & _
  "client_width=1000" & vbCrLf & "sep_x=498" & vbCrLf & _
  "dialog_text=INI-Files: C:\Tools\wincmd.ini<CR>C:\Tools\wcx_ftp.ini"
Set h = CreateObject("Ombrisk.Helper")
Eq TypeName(h), "_Helper", "the object's type information"

' ---- properties, read and written ----
EqType h.IsRunningTC, True, "IsRunningTC": Called "IsRunningTC"
h.Pause = 0: Called "Pause="
Eq h.Pause, 0, "Pause let and get": Called "Pause"
h.Wait = True: Called "Wait="
EqType h.Wait, True, "Wait let and get": Called "Wait"
h.NoArrayReturn = True: Called "NoArrayReturn="
EqType h.NoArrayReturn, True, "NoArrayReturn let and get": Called "NoArrayReturn"
h.TCPath = "C:\Tools": Called "TCPath="
Eq h.TCPath, "C:\Tools", "TCPath let and get": Called "TCPath"
ClearHostLog
r = h.Separator: Called "Separator"
EqType r, CSng(50), "Separator get: the bar at 498 of 1000"
ClearHostLog
h.Separator = 30: Called "Separator="
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
EqType h.SendCommand(2016, True), True, "SendCommand by number, waiting": Called "SendCommand"
Eq HostLogLines("CMD "), "CMD sent 2016 lparam=0", "the host got the command"
inc = TEST_DIR & "totalcmd.inc"
WriteTextFile inc, "[_Ombrisk_]" & vbCrLf & "cm_RereadSource=540" & vbCrLf
EqType h.LoadIncFile(inc), True, "LoadIncFile": Called "LoadIncFile"
ClearHostLog
h.SendCommand "cm_RereadSource", True
Eq HostLogLines("CMD "), "CMD sent 540 lparam=0", "a name from the command file is sent as its number"
ClearHostLog
EqType h.UserCmd("em_test"), True, "UserCmd": Called "UserCmd"
Eq LogField(HostLogLines("COPYDATA "), "code"), "EM", "UserCmd sends an EM request"
ClearHostLog
Eq h.GetInfo("SP"), "C:\Windows\", "GetInfo: the answer came back to the 64-bit reply window": Called "GetInfo"
Eq LogField(HostLogLines("COPYDATA "), "from_class"), "OmbriskReplyWindow", "wParam is the reply window"
Eq h.GetSrcPath(), "C:\Windows\", "GetSrcPath": Called "GetSrcPath"
Eq h.GetTrgPath(), "D:\Data\", "GetTrgPath": Called "GetTrgPath"
ClearHostLog
EqType h.SetSrcPath("C:\"), True, "SetSrcPath": Called "SetSrcPath"
EqType h.SetTrgPath("D:\", True), True, "SetTrgPath": Called "SetTrgPath"
EqType h.SetLeftPath("C:\Temp"), True, "SetLeftPath": Called "SetLeftPath"
EqType h.SetRightPath("X"), True, "SetRightPath": Called "SetRightPath"
Eq HostLogCount("COPYDATA code=CD"), 4, "four CD requests"
ClearHostLog
EqType h.SendKeystroke("ab{ENTER}"), True, "SendKeystroke": Called "SendKeystroke"
Eq HostTyped(), "ab" & vbCr, "the keys arrived"
Eq h.GetFilter("R"), "*.doc", "GetFilter": Called "GetFilter"
EqType h.LockTC(True), True, "LockTC locks": Called "LockTC"
EqType h.LockTC(False), True, "LockTC unlocks"
EqType h.GetIniFiles(), True, "GetIniFiles reads the settings dialog": Called "GetIniFiles"
Eq h.MainINI, "C:\Tools\wincmd.ini", "MainINI": Called "MainINI"
Eq h.FTPINI, "C:\Tools\wcx_ftp.ini", "FTPINI": Called "FTPINI"

' ---- selected names travel through the clipboard, which is kept ----
Ok IsEmpty(h.SetTextToClip("kept " & ChrW8364())), "SetTextToClip returns Empty": Called "SetTextToClip"
h.NoArrayReturn = False
r = h.GetSrcSelectedFiles(): Called "GetSrcSelectedFiles"
Eq JoinLines(r), "a.txt" & vbCrLf & "b.txt", "GetSrcSelectedFiles as an array"
r = h.GetTrgSelectedFiles(True): Called "GetTrgSelectedFiles"
Eq JoinLines(r), "D:\Data\c.doc", "GetTrgSelectedFiles with the path"
Eq h.GetTextFromClip(), "kept " & ChrW8364(), "GetTextFromClip: the earlier text came back": Called "GetTextFromClip"
EqType h.ClearClip(), True, "ClearClip": Called "ClearClip"
Eq h.GetTextFromClip(), "", "the clipboard is empty"

' ---- utilities ----
t0 = NowMs()
h.Sleep 200: Called "Sleep"
Ok ElapsedMs(t0) >= 150, "Sleep waits"
Eq h.FormatAny(1234.5, "#,##0.00"), "1,234.50", "FormatAny": Called "FormatAny"
ini = TEST_DIR & "members.ini"
EqType h.INIWrite(ini, "S", "k", "v " & ChrW8364()), True, "INIWrite": Called "INIWrite"
Eq h.INIRead(ini, "S", "k"), "v " & ChrW8364(), "INIRead": Called "INIRead"
EqType h.INIWriteSection(ini, "T", "a=1" & vbCrLf & "b=2"), True, "INIWriteSection": Called "INIWriteSection"
Eq h.INIReadSection(ini, "T"), "a=1" & vbCrLf & "b=2" & vbCrLf, "INIReadSection": Called "INIReadSection"
EqType h.INISectionExists(ini, "T"), True, "INISectionExists": Called "INISectionExists"
EqType h.INIDelete(ini, "T"), True, "INIDelete": Called "INIDelete"
EqType h.INISectionExists(ini, "T"), False, "the section is gone"
f = TEST_DIR & "dated.txt"
WriteTextFile f, "x"
EqType h.SetFileDateAtr(f, , #2001-02-03 04:05:06#), True, "SetFileDateAtr": Called "SetFileDateAtr"
Eq fso.GetFile(f).DateLastModified, #2001-02-03 04:05:06#, "the modification date was set"
h.DbgPrint "members: 64-bit": Called "DbgPrint"
Ok InStr(DebugLines(), "members: 64-bit") > 0, "DbgPrint reached the debug output"
sh.Run Quote(STANDIN_EXE) & " ctl closebox ""About Ombrisk"" 300", 0, False
t0 = NowMs()
h.About: Called "About"
Ok ElapsedMs(t0) >= 250, "About returned once its box was closed, 300 ms later (" & Round(ElapsedMs(t0)) & " ms)"

Dim declared, i, missing, declaredText
declared = DeclaredMembers()
missing = ""
declaredText = "|"
For i = 0 To UBound(declared)
  declaredText = declaredText & declared(i) & "|"
  If InStr(calls, "|" & declared(i) & "|") = 0 Then missing = missing & " " & declared(i)
Next
Eq UBound(declared) + 1, 43, "the interface declares 43 members"
Eq missing, "", "every declared member was called"
Dim calledList
missing = ""
calledList = Split(Mid(calls, 2, Len(calls) - 2), "|")
For i = 0 To UBound(calledList)
  If InStr(declaredText, "|" & calledList(i) & "|") = 0 Then missing = missing & " " & calledList(i)
Next
Eq missing, "", "and nothing the interface does not declare"
Set h = Nothing
StopHost
Finish

' The euro sign, outside ASCII and outside Latin-1 (Wine's VBScript has no ChrW).
Function ChrW8364()
  ChrW8364 = Chr(128)
End Function
