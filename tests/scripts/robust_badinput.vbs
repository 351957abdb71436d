' timeout: 300
' Bad input through the real client: every member called with each kind of wrong argument for
' each of its parameters, with one argument missing and with one too many. Each call must give
' its documented result or a script error with a known number and a description, and the
' process must live through all of them (the DONE line proves it).
Option Explicit

Dim h, a, g_res, g_errNum, g_errDesc, g_calls, g_okCalls, g_errCalls, g_byNumber, g_phase
Dim kinds, iniFile, iniText, dateFile, savedClip, hostRunning, k, note, g_phaseKey, t0
Dim huge

kinds = Array("Null", "Empty", "array", "object", "1M string", "-1", "2^31", "1e300")
huge = String(1000000, "x")
g_calls = 0
g_okCalls = 0
g_errCalls = 0
Set g_byNumber = CreateObject("Scripting.Dictionary")

' Puts the wrong value of kind k into argument p.
Sub SetBad(p, k)
  Select Case k
    Case 0: a(p) = Null
    Case 1: a(p) = Empty
    Case 2: a(p) = Array(1, "two", 3)
    Case 3: Set a(p) = CreateObject("Scripting.Dictionary")
    Case 4: a(p) = huge
    Case 5: a(p) = -1
    Case 6: a(p) = CDbl("2147483648")
    Case 7: a(p) = 1E+300
  End Select
End Sub

' Errors a script may see for a wrong argument: invalid call 5, overflow 6, out of memory 7,
' subscript 9, type mismatch 13, invalid use of Null 94, the dispatcher's argument errors
' (438 no such member, 446 named arguments, 448 argument not found, 449 argument not
' optional, 450 wrong number of arguments).
Function AllowedError(n)
  Select Case n
    Case 5, 6, 7, 9, 13, 94, 438, 446, 448, 449, 450: AllowedError = True
    Case Else: AllowedError = False
  End Select
End Function

' ---- the calls -------------------------------------------------------------------------
' Calls member m with the first n elements of a (n < 0: the first argument left out with a
' gap, the others up to -n given). Sets g_res to the result.
Sub CallMember(m, n)
  g_res = Empty
  Select Case m
  Case "Separator.get"
    If n = 0 Then g_res = h.Separator Else g_res = h.Separator(a(0))
  Case "Separator.let"
    If n = 1 Then h.Separator = a(0) Else h.Separator(a(0)) = a(1)
  Case "DbgPrint"
    Select Case n
      Case 0: h.DbgPrint
      Case 1: h.DbgPrint a(0)
      Case 2: h.DbgPrint a(0), a(1)
    End Select
  Case "SendKeystroke"
    Select Case n
      Case 0: g_res = h.SendKeystroke()
      Case 1: g_res = h.SendKeystroke(a(0))
      Case 2: g_res = h.SendKeystroke(a(0), a(1))
    End Select
  Case "SendCommand"
    Select Case n
      Case 0: g_res = h.SendCommand()
      Case 1: g_res = h.SendCommand(a(0))
      Case 2: g_res = h.SendCommand(a(0), a(1))
      Case 3: g_res = h.SendCommand(a(0), a(1), a(2))
      Case -2: g_res = h.SendCommand(, a(1))
    End Select
  Case "About"
    ' Only ever with one argument too many: the box must not show.
    If n = 1 Then h.About a(0)
  Case "NoArrayReturn.get"
    If n = 0 Then g_res = h.NoArrayReturn Else g_res = h.NoArrayReturn(a(0))
  Case "NoArrayReturn.let"
    If n = 1 Then h.NoArrayReturn = a(0) Else h.NoArrayReturn(a(0)) = a(1)
  Case "IsRunningTC"
    If n = 0 Then g_res = h.IsRunningTC Else g_res = h.IsRunningTC(a(0))
  Case "ClearClip"
    If n = 0 Then g_res = h.ClearClip() Else g_res = h.ClearClip(a(0))
  Case "GetTextFromClip"
    If n = 0 Then g_res = h.GetTextFromClip() Else g_res = h.GetTextFromClip(a(0))
  Case "UserCmd"
    Select Case n
      Case 0: g_res = h.UserCmd()
      Case 1: g_res = h.UserCmd(a(0))
      Case 2: g_res = h.UserCmd(a(0), a(1))
    End Select
  Case "GetInfo"
    Select Case n
      Case 0: g_res = h.GetInfo()
      Case 1: g_res = h.GetInfo(a(0))
      Case 2: g_res = h.GetInfo(a(0), a(1))
    End Select
  Case "SetSrcPath", "SetTrgPath", "SetLeftPath", "SetRightPath"
    CallSetPath m, n
  Case "Sleep"
    Select Case n
      Case 0: h.Sleep
      Case 1: h.Sleep a(0)
      Case 2: h.Sleep a(0), a(1)
    End Select
  Case "SetTextToClip"
    Select Case n
      Case 0: g_res = h.SetTextToClip()
      Case 1: g_res = h.SetTextToClip(a(0))
      Case 2: g_res = h.SetTextToClip(a(0), a(1))
    End Select
  Case "GetSrcSelectedFiles"
    Select Case n
      Case 0: g_res = h.GetSrcSelectedFiles()
      Case 1: g_res = h.GetSrcSelectedFiles(a(0))
      Case 2: g_res = h.GetSrcSelectedFiles(a(0), a(1))
    End Select
  Case "GetTrgSelectedFiles"
    Select Case n
      Case 0: g_res = h.GetTrgSelectedFiles()
      Case 1: g_res = h.GetTrgSelectedFiles(a(0))
      Case 2: g_res = h.GetTrgSelectedFiles(a(0), a(1))
    End Select
  Case "GetSrcPath"
    If n = 0 Then g_res = h.GetSrcPath() Else g_res = h.GetSrcPath(a(0))
  Case "GetTrgPath"
    If n = 0 Then g_res = h.GetTrgPath() Else g_res = h.GetTrgPath(a(0))
  Case "Pause.get"
    If n = 0 Then g_res = h.Pause Else g_res = h.Pause(a(0))
  Case "Pause.let"
    If n = 1 Then h.Pause = a(0) Else h.Pause(a(0)) = a(1)
  Case "Wait.get"
    If n = 0 Then g_res = h.Wait Else g_res = h.Wait(a(0))
  Case "Wait.let"
    If n = 1 Then h.Wait = a(0) Else h.Wait(a(0)) = a(1)
  Case "LoadIncFile"
    Select Case n
      Case 0: g_res = h.LoadIncFile()
      Case 1: g_res = h.LoadIncFile(a(0))
      Case 2: g_res = h.LoadIncFile(a(0), a(1))
    End Select
  Case "SetFileDateAtr"
    Select Case n
      Case 0: g_res = h.SetFileDateAtr()
      Case 1: g_res = h.SetFileDateAtr(a(0))
      Case 5: g_res = h.SetFileDateAtr(a(0), a(1), a(2), a(3), a(4))
      Case 6: g_res = h.SetFileDateAtr(a(0), a(1), a(2), a(3), a(4), a(5))
      Case -5: g_res = h.SetFileDateAtr(, a(1), a(2), a(3), a(4))
    End Select
  Case "FormatAny"
    Select Case n
      Case 0: g_res = h.FormatAny()
      Case 1: g_res = h.FormatAny(a(0))
      Case 2: g_res = h.FormatAny(a(0), a(1))
      Case 3: g_res = h.FormatAny(a(0), a(1), a(2))
      Case -2: g_res = h.FormatAny(, a(1))
    End Select
  Case "INIRead"
    Select Case n
      Case 0: g_res = h.INIRead()
      Case 4: g_res = h.INIRead(a(0), a(1), a(2), a(3))
      Case 5: g_res = h.INIRead(a(0), a(1), a(2), a(3), a(4))
      Case -4: g_res = h.INIRead(, a(1), a(2), a(3))
    End Select
  Case "INIReadSection"
    Select Case n
      Case 1: g_res = h.INIReadSection(a(0))
      Case 2: g_res = h.INIReadSection(a(0), a(1))
      Case 3: g_res = h.INIReadSection(a(0), a(1), a(2))
      Case -2: g_res = h.INIReadSection(, a(1))
    End Select
  Case "INIWrite"
    Select Case n
      Case 3: g_res = h.INIWrite(a(0), a(1), a(2))
      Case 4: g_res = h.INIWrite(a(0), a(1), a(2), a(3))
      Case 5: g_res = h.INIWrite(a(0), a(1), a(2), a(3), a(4))
      Case -4: g_res = h.INIWrite(, a(1), a(2), a(3))
    End Select
  Case "INIWriteSection"
    Select Case n
      Case 2: g_res = h.INIWriteSection(a(0), a(1))
      Case 3: g_res = h.INIWriteSection(a(0), a(1), a(2))
      Case 4: g_res = h.INIWriteSection(a(0), a(1), a(2), a(3))
      Case -3: g_res = h.INIWriteSection(, a(1), a(2))
    End Select
  Case "INISectionExists"
    Select Case n
      Case 1: g_res = h.INISectionExists(a(0))
      Case 2: g_res = h.INISectionExists(a(0), a(1))
      Case 3: g_res = h.INISectionExists(a(0), a(1), a(2))
      Case -2: g_res = h.INISectionExists(, a(1))
    End Select
  Case "INIDelete"
    Select Case n
      Case 1: g_res = h.INIDelete(a(0))
      Case 3: g_res = h.INIDelete(a(0), a(1), a(2))
      Case 4: g_res = h.INIDelete(a(0), a(1), a(2), a(3))
      Case -3: g_res = h.INIDelete(, a(1), a(2))
    End Select
  Case "TCPath.let"
    If n = 1 Then h.TCPath = a(0) Else h.TCPath(a(0)) = a(1)
  Case "TCPath.get"
    If n = 0 Then g_res = h.TCPath Else g_res = h.TCPath(a(0))
  Case "MainINI"
    If n = 0 Then g_res = h.MainINI Else g_res = h.MainINI(a(0))
  Case "FTPINI"
    If n = 0 Then g_res = h.FTPINI Else g_res = h.FTPINI(a(0))
  Case "GetFilter"
    Select Case n
      Case 0: g_res = h.GetFilter
      Case 1: g_res = h.GetFilter(a(0))
      Case 2: g_res = h.GetFilter(a(0), a(1))
    End Select
  Case "LockTC"
    Select Case n
      Case 0: g_res = h.LockTC()
      Case 1: g_res = h.LockTC(a(0))
      Case 2: g_res = h.LockTC(a(0), a(1))
    End Select
  Case "GetIniFiles"
    If n = 0 Then g_res = h.GetIniFiles() Else g_res = h.GetIniFiles(a(0))
  Case Else
    Report False, "no call written for " & m
  End Select
End Sub

Sub CallSetPath(m, n)
  Select Case m & n
    Case "SetSrcPath0": g_res = h.SetSrcPath()
    Case "SetSrcPath2": g_res = h.SetSrcPath(a(0), a(1))
    Case "SetSrcPath3": g_res = h.SetSrcPath(a(0), a(1), a(2))
    Case "SetSrcPath-2": g_res = h.SetSrcPath(, a(1))
    Case "SetTrgPath0": g_res = h.SetTrgPath()
    Case "SetTrgPath2": g_res = h.SetTrgPath(a(0), a(1))
    Case "SetTrgPath3": g_res = h.SetTrgPath(a(0), a(1), a(2))
    Case "SetTrgPath-2": g_res = h.SetTrgPath(, a(1))
    Case "SetLeftPath0": g_res = h.SetLeftPath()
    Case "SetLeftPath2": g_res = h.SetLeftPath(a(0), a(1))
    Case "SetLeftPath3": g_res = h.SetLeftPath(a(0), a(1), a(2))
    Case "SetLeftPath-2": g_res = h.SetLeftPath(, a(1))
    Case "SetRightPath0": g_res = h.SetRightPath()
    Case "SetRightPath2": g_res = h.SetRightPath(a(0), a(1))
    Case "SetRightPath3": g_res = h.SetRightPath(a(0), a(1), a(2))
    Case "SetRightPath-2": g_res = h.SetRightPath(, a(1))
  End Select
End Sub

' ---- members: name, result kind, required and total parameter counts, good arguments ----
' Result kinds: B Boolean, S String, V Variant, N none.
Function Members()
  Dim list
  list = Array( _
    Array("Separator.get", "V", 0, 0, Array()), _
    Array("Separator.let", "N", 1, 1, Array(50)), _
    Array("DbgPrint", "N", 1, 1, Array("text")), _
    Array("SendKeystroke", "B", 1, 1, Array("")), _
    Array("SendCommand", "B", 1, 2, Array(1, False)), _
    Array("About", "N", 0, 0, Array()), _
    Array("NoArrayReturn.get", "B", 0, 0, Array()), _
    Array("NoArrayReturn.let", "N", 1, 1, Array(False)), _
    Array("IsRunningTC", "B", 0, 0, Array()), _
    Array("ClearClip", "B", 0, 0, Array()), _
    Array("GetTextFromClip", "S", 0, 0, Array()), _
    Array("UserCmd", "B", 1, 1, Array("em_test")), _
    Array("GetInfo", "V", 1, 1, Array("SP")), _
    Array("SetSrcPath", "B", 1, 2, Array("C:\", False)), _
    Array("SetTrgPath", "B", 1, 2, Array("C:\", False)), _
    Array("SetLeftPath", "B", 1, 2, Array("C:\", False)), _
    Array("SetRightPath", "B", 1, 2, Array("C:\", False)), _
    Array("Sleep", "N", 1, 1, Array(0)), _
    Array("SetTextToClip", "V", 1, 1, Array("clip")), _
    Array("GetSrcSelectedFiles", "V", 0, 1, Array(False)), _
    Array("GetTrgSelectedFiles", "V", 0, 1, Array(False)), _
    Array("GetSrcPath", "V", 0, 0, Array()), _
    Array("GetTrgPath", "V", 0, 0, Array()), _
    Array("Pause.get", "V", 0, 0, Array()), _
    Array("Pause.let", "N", 1, 1, Array(0)), _
    Array("Wait.get", "B", 0, 0, Array()), _
    Array("Wait.let", "N", 1, 1, Array(False)), _
    Array("LoadIncFile", "B", 0, 1, Array(TEST_DIR & "none.inc")), _
    Array("SetFileDateAtr", "B", 1, 5, Array(dateFile, #1/2/2020 3:04:05 AM#, #1/2/2020 3:04:05 AM#, #1/2/2020 3:04:05 AM#, 32)), _
    Array("FormatAny", "V", 1, 2, Array(1.5, "0.00")), _
    Array("INIRead", "V", 1, 4, Array(iniFile, "S", "k", "d")), _
    Array("INIReadSection", "V", 2, 2, Array(iniFile, "S")), _
    Array("INIWrite", "B", 4, 4, Array(iniFile, "S", "k", "v")), _
    Array("INIWriteSection", "B", 3, 3, Array(iniFile, "T", "a=1")), _
    Array("INISectionExists", "B", 2, 2, Array(iniFile, "S")), _
    Array("INIDelete", "B", 2, 3, Array(iniFile, "Gone", "k")), _
    Array("TCPath.let", "N", 1, 1, Array("C:\tc")), _
    Array("TCPath.get", "V", 0, 0, Array()), _
    Array("MainINI", "V", 0, 0, Array()), _
    Array("FTPINI", "V", 0, 0, Array()), _
    Array("GetFilter", "V", 1, 1, Array("L")), _
    Array("LockTC", "B", 0, 1, Array(False)), _
    Array("GetIniFiles", "B", 0, 0, Array()))
  Members = list
End Function

' Members that act on the host, run a second time without one.
Function HostMember(m)
  Select Case m
    Case "Separator.get", "Separator.let", "SendKeystroke", "SendCommand", "IsRunningTC", "UserCmd", "GetInfo", _
         "SetSrcPath", "SetTrgPath", "SetLeftPath", "SetRightPath", "GetSrcSelectedFiles", "GetTrgSelectedFiles", _
         "GetSrcPath", "GetTrgPath", "GetFilter", "LockTC", "GetIniFiles"
      HostMember = True
    Case Else
      HostMember = False
  End Select
End Function

' ---- the documented outcomes ----------------------------------------------------------------
' One line per parameter: phase (host or none), member, parameter number, then the outcome for
' each wrong kind in the order of kinds: a number is that error, T/F a Boolean result, B any
' Boolean, E Empty, A an array, S any string, =text that string. The host's answers come from
' the stand-in's configuration below; the command table is empty (no command-definition file).
Function ExpectTable()
  ExpectTable = Array( _
    "host Separator.let 1 94|E|13|13|13|E|E|E", _
    "host DbgPrint 1 13|E|13|13|E|E|E|E", _
    "host SendKeystroke 1 13|T|13|13|F|T|T|T", _
    "host SendCommand 1 9|T|9|9|9|T|6|6", _
    "host SendCommand 2 13|T|13|13|13|T|T|T", _
    "host NoArrayReturn.let 1 13|E|13|13|13|E|E|E", _
    "host UserCmd 1 13|F|13|13|T|T|T|T", _
    "host GetInfo 1 94|=|13|13|=|=|=|=", _
    "host SetPath 1 13|T|13|13|T|T|T|T", _
    "host SetPath 2 13|T|13|13|13|T|T|T", _
    "host Sleep 1 13|E|13|13|13|E|6|6", _
    "host SetTextToClip 1 13|E|13|13|E|E|E|E", _
    "host GetSelectedFiles 1 13|E|13|13|13|E|E|E", _
    "host Pause.let 1 E|E|13|13|13|E|E|E", _
    "host Wait.let 1 13|E|13|13|13|E|E|E", _
    "host LoadIncFile 1 13|F|13|13|F|F|F|F", _
    "host SetFileDateAtr 1 F|F|F|F|F|F|F|F", _
    "host SetFileDateAtr 2 F|F|F|F|F|T|F|F", _
    "host SetFileDateAtr 3 F|F|F|F|F|T|F|F", _
    "host SetFileDateAtr 4 F|F|F|F|F|T|F|F", _
    "host SetFileDateAtr 5 T|T|T|T|T|T|T|T", _
    "host FormatAny 1 =|=0.00|13|13|S|=-1.00|=2147483648.00|6", _
    "host FormatAny 2 94|=1.5|13|13|6|=-1|=2147483648|S", _
    "host INIRead 1 94|=d|13|13|=d|=d|=d|=d", _
    "host INIRead 2 94|A|13|13|=d|=d|=d|=d", _
    "host INIRead 3 94|A|13|13|=d|=d|=d|=d", _
    "host INIRead 4 94|=v|13|13|=v|=v|=v|=v", _
    "host INIReadSection 1 94|E|13|13|E|E|E|E", _
    "host INIReadSection 2 94|E|13|13|E|E|E|E", _
    "host INIWrite 1 94|F|13|13|F|T|T|T", _
    "host INIWrite 2 94|T|13|13|T|T|T|T", _
    "host INIWrite 3 94|T|13|13|T|T|T|T", _
    "host INIWrite 4 94|T|13|13|T|T|T|T", _
    "host INIWriteSection 1 94|B|13|13|F|T|T|T", _
    "host INIWriteSection 2 94|T|13|13|T|T|T|T", _
    "host INIWriteSection 3 94|T|13|13|T|T|T|T", _
    "host INISectionExists 1 94|F|13|13|F|B|B|B", _
    "host INISectionExists 2 94|F|13|13|F|F|F|F", _
    "host INIDelete 1 94|F|13|13|F|T|T|T", _
    "host INIDelete 2 94|T|13|13|T|T|T|T", _
    "host INIDelete 3 94|T|13|13|T|T|T|T", _
    "host TCPath.let 1 94|E|13|13|E|E|E|E", _
    "host GetFilter 1 94|=|13|13|=|=|=|=", _
    "host LockTC 1 13|T|13|13|13|T|T|T", _
    "none Separator.let 1 94|E|13|13|13|E|E|E", _
    "none SendKeystroke 1 13|F|13|13|F|F|F|F", _
    "none SendCommand 1 F|F|F|F|F|F|F|F", _
    "none SendCommand 2 13|F|13|13|13|F|F|F", _
    "none UserCmd 1 13|F|13|13|F|F|F|F", _
    "none GetInfo 1 =|=|=|=|=|=|=|=", _
    "none SetPath 1 13|T|13|13|F|F|F|F", _
    "none SetPath 2 13|F|13|13|13|F|F|F", _
    "none GetSelectedFiles 1 13|E|13|13|13|E|E|E", _
    "none GetFilter 1 E|E|E|E|E|E|E|E", _
    "none LockTC 1 13|F|13|13|13|F|F|F")
End Function

' The table's name for a member: the four path setters and the two selection readers act alike.
Function TableName(m)
  Select Case m
    Case "SetSrcPath", "SetTrgPath", "SetLeftPath", "SetRightPath": TableName = "SetPath"
    Case "GetSrcSelectedFiles", "GetTrgSelectedFiles": TableName = "GetSelectedFiles"
    Case Else: TableName = m
  End Select
End Function

Dim g_expect
Set g_expect = CreateObject("Scripting.Dictionary")
Sub LoadExpectations()
  Dim lines, i, parts
  lines = ExpectTable()
  For i = 0 To UBound(lines)
    parts = Split(lines(i), " ")
    g_expect(parts(0) & " " & parts(1) & " " & parts(2)) = Split(parts(3), "|")
  Next
End Sub

' The documented outcome of member m with wrong value kind k in parameter p (1-based).
Function Expected(m, p, k)
  Dim key, codes
  key = g_phaseKey & " " & TableName(m) & " " & p
  If Not g_expect.Exists(key) Then
    Report False, "no documented outcome listed for " & key
    Expected = "?"
  Else
    codes = g_expect(key)
    Expected = codes(k)
  End If
End Function

' A required argument left off the end is refused by the dispatcher (450). Left out as a gap,
' a variant parameter receives the "missing" marker, which converts to nothing (13);
' SetFileDateAtr never raises errors, and SendCommand looks for the host first and then finds
' nothing in the empty command table (9).
Function ExpectedGap(m)
  Select Case TableName(m)
    Case "SetFileDateAtr": ExpectedGap = "F"
    Case "SendCommand"
      If g_phaseKey = "host" Then ExpectedGap = "9" Else ExpectedGap = "F"
    Case Else: ExpectedGap = "13"
  End Select
End Function

' ---- one call and its judgement ---------------------------------------------------------

Function Short(v)
  Dim s
  If IsArray(v) Then
    Short = "array(" & UBound(v) & ")"
  ElseIf IsNull(v) Then
    Short = "Null"
  ElseIf IsEmpty(v) Then
    Short = "Empty"
  Else
    s = CStr(v)
    If Len(s) > 24 Then s = Left(s, 12) & "...(" & Len(s) & ")"
    Short = TypeName(v) & " " & s
  End If
End Function

' Does the outcome of the last call match code (see ExpectTable)?
Function Matches(code)
  Dim r
  r = False
  If g_errNum <> 0 Then
    r = (CStr(g_errNum) = code)
  ElseIf code = "T" Or code = "F" Or code = "B" Then
    If VarType(g_res) = vbBoolean Then r = (code = "B") Or (g_res = (code = "T"))
  ElseIf code = "E" Then
    r = IsEmpty(g_res)
  ElseIf code = "A" Then
    r = IsArray(g_res)
  ElseIf code = "S" Then
    r = (VarType(g_res) = vbString)
  ElseIf Left(code, 1) = "=" Then
    If VarType(g_res) = vbString Then r = (g_res = Mid(code, 2))
  End If
  Matches = r
End Function

' Runs one call and judges it: an error must carry a number a script may see for a wrong
' argument and a description, and the outcome must be the documented one (code).
Sub Try(entry, n, label, code)
  Dim m, good, msg, t0, ms
  m = entry(0)
  g_calls = g_calls + 1
  g_errNum = 0
  g_errDesc = ""
  t0 = NowMs()
  On Error Resume Next
  CallMember m, n
  g_errNum = Err.Number
  g_errDesc = Err.Description
  Err.Clear
  On Error GoTo 0
  ms = ElapsedMs(t0)
  AfterCall m
  If g_errNum <> 0 Then
    g_errCalls = g_errCalls + 1
    g_byNumber("error " & g_errNum) = g_byNumber("error " & g_errNum) + 1
    msg = "error " & g_errNum & " (" & g_errDesc & ")"
    good = AllowedError(g_errNum) And Len(g_errDesc) > 0
  Else
    g_okCalls = g_okCalls + 1
    g_byNumber("result") = g_byNumber("result") + 1
    msg = "result " & Short(g_res)
    good = True
  End If
  If Not Matches(code) Then
    good = False
    msg = msg & ", documented: " & code
  End If
  If ms >= 2000 Then msg = msg & " [" & Round(ms) & " ms]"
  Report good, g_phase & m & "(" & label & "): " & msg
End Sub

' Puts back what a call may have changed, so that the next call starts from the same state.
Sub AfterCall(m)
  On Error Resume Next
  Select Case m
    Case "Pause.let": h.Pause = 0
    Case "Wait.let": h.Wait = False
    Case "NoArrayReturn.let": h.NoArrayReturn = False
    Case "TCPath.let": h.TCPath = "C:\tc"
    Case "LockTC": h.LockTC False
  End Select
  If Left(m, 3) = "INI" Then WriteUnicodeFile iniFile, iniText
  Err.Clear
  On Error GoTo 0
End Sub

' Every member: each wrong kind in each parameter, one required argument missing (left off the
' end, and left out as a gap before the others), and one argument too many.
Sub RunMatrix(onlyHost)
  Dim list, j, entry, req, total, p
  list = Members()
  For j = 0 To UBound(list)
    entry = list(j)
    If Not onlyHost Or HostMember(entry(0)) Then
      req = entry(2)
      total = entry(3)
      If entry(0) <> "About" Then
        For p = 0 To total - 1
          For k = 0 To UBound(kinds)
            GoodArguments entry
            SetBad p, k
            Try entry, total, "arg " & (p + 1) & " " & kinds(k), Expected(entry(0), p + 1, k)
          Next
        Next
        ' A property let cannot leave its value out in VBScript.
        If req > 0 And Right(entry(0), 4) <> ".let" Then
          GoodArguments entry
          Try entry, req - 1, "required argument " & req & " left off", "450"
          If total > 1 Then Try entry, -total, "argument 1 left out", ExpectedGap(entry(0))
        End If
      End If
      GoodArguments entry
      a(total) = 1
      Try entry, total + 1, "one argument too many", "450"
    End If
  Next
End Sub

Sub GoodArguments(entry)
  Dim q
  a = Array(Empty, Empty, Empty, Empty, Empty, Empty)
  For q = 0 To entry(3) - 1
    a(q) = entry(4)(q)
  Next
End Sub

' ---- set-up --------------------------------------------------------------------------------
iniFile = TEST_DIR & "bad input.ini"
dateFile = TEST_DIR & "dates.txt"
iniText = "[S]" & vbCrLf & "k=v" & vbCrLf
WriteUnicodeFile iniFile, iniText
LoadExpectations
WriteTextFile dateFile, "dates"

' The matrix sends whatever the bad input makes of a request or command: the host takes it all.
ExpectFromHost "strict=0"
hostRunning = StartHost("answer.SP=C:\src\" & vbCrLf & "answer.TP=D:\trg\" & vbCrLf & "answer.A=L" & vbCrLf & _
  "answer.LP=C:\src\" & vbCrLf & "answer.RP=D:\trg\")
Set h = CreateObject("Ombrisk.Helper")
Ok hostRunning And h.IsRunningTC, "the stand-in host runs for the first pass"
h.Pause = 0
savedClip = h.GetTextFromClip()

g_phase = "host: "
g_phaseKey = "host"
RunMatrix False
StopHost
Eq h.IsRunningTC, False, "no host runs for the second pass"
g_phase = "no host: "
g_phaseKey = "none"
RunMatrix True

'' ---- faults the matrix found, kept as regressions -----------------------------------------------
' FormatText: Wine's formatting service builds its text in a stack buffer of 256 characters and
' wrote past it (1E+300 under "0.00" ended the process); text that could be longer is refused
' with error 6, text that fits still comes back.
Function FormatOutcome(v, fmt)
  Dim r
  On Error Resume Next
  r = h.FormatAny(v, fmt)
  If Err.Number <> 0 Then
    FormatOutcome = "error " & Err.Number
    If Err.Description = "" Then FormatOutcome = FormatOutcome & " without description"
  Else
    FormatOutcome = "len " & Len(r) & " " & Left(r, 12)
  End If
  On Error GoTo 0
End Function
Eq FormatOutcome(1E+300, "0.00"), "error 6", "FormatAny(1E+300, ""0.00"") is refused, not a stack overrun"
Eq FormatOutcome(-1E+300, "Standard"), "error 6", "FormatAny(-1E+300, ""Standard"") is refused"
Eq FormatOutcome(1E+200, "#,##0"), "error 6", "FormatAny(1E+200, ""#,##0"") (267 characters) is refused"
Eq FormatOutcome("1e300", "Currency"), "error 6", "a text that reads as 1E+300 is refused too"
Eq FormatOutcome(1E+200, "0" & String(100, "x")), "error 6", "digits plus 100 literal characters are refused"
Eq FormatOutcome(#9/30/2009#, Replace(Space(12), " ", "dddddd ")), "error 6", "twelve long dates (360 characters) are refused, not cut at 255"
Eq FormatOutcome(#9/30/2009#, "dddddd"), "len 29 Wednesday, S", "one long date still comes back"
Eq FormatOutcome(1.5, String(300, "x")), "error 6", "a format the service would misread (300 characters) is refused"
Eq FormatOutcome(1E+150, "#,##0"), "len 201 1,000,000,00", "FormatAny(1E+150, ""#,##0"") still gives its 201 characters"
Eq FormatOutcome(1E+200, "0.00"), "len 204 100000000000", "FormatAny(1E+200, ""0.00"") still gives its 204 characters"
Eq FormatOutcome(1E+300, "0.00E+00"), "len 9 1.00E+300", "an exponent format takes any magnitude"
Eq FormatOutcome(1E+300, "General Number"), "len 6 1E+300", "so does General Number"
' FormatAny: Empty under a number or literal format is 0 (Wine's service gave ".00" or "-.00").
Eq h.FormatAny(Empty, "0.00"), "0.00", "FormatAny(Empty, ""0.00"") is 0.00"
Eq h.FormatAny(Empty, "0;(0);""zero"""), "zero", "Empty takes the zero section"
Eq h.FormatAny(Empty, """text"""), "text", "Empty under a literal format gives the literal"
Eq h.FormatAny(Empty, "yyyy-mm-dd"), "1899-12-30", "Empty under a date format is the zero date"
Eq h.FormatAny(Empty), "", "Empty without a format is the empty text"
' INI files: Wine copies a bare file name after the Windows folder into a buffer of MAX_PATH
' characters without checking; a name of 1000 characters ended the process.
Eq h.INIRead(String(1000, "x"), "S", "k", "d"), "d", "INIRead of a 1000-character bare name gives the default"
Eq h.INIWrite(String(249, "x"), "S", "k", "v"), False, "INIWrite of a bare name that does not fit the Windows folder is refused"
Eq h.INISectionExists(String(255, "x") & vbNullChar & "\", "S"), False, "a NUL before a backslash does not hide a bare name"
Eq IsEmpty(h.INIRead(String(5000, "y"))), True, "INIRead listing of a long bare name gives Empty"
' A long name in the test folder, as long as the whole path stays under 260 characters
' wherever the checkout lives.
Dim longName
longName = TEST_DIR & String(250 - Len(TEST_DIR), "z")
Eq h.INIWrite(longName, "S", "k", "v"), True, "a full path of fewer than 260 characters is still written"
Eq h.INIRead(longName, "S", "k"), "v", "and read back"
' SendKeystroke: a huge key string used to flood the host for minutes, so that the next calls
' timed out; now the keys go in slices and the rest is dropped after 10 s. The host takes at
' least 1 ms a key, so 200,000 keys cannot all be typed in 10 s on any machine.
ExpectFromHost ""
If StartHost("expect_keys=1" & vbCrLf & "key_delay_ms=1") Then
  t0 = NowMs()
  Eq h.SendKeystroke(String(200000, "k")), False, "200,000 keys are not all typed within the time limit"
  Ok ElapsedMs(t0) < LimitMs(20000), "the call ends within 20 s (" & Round(ElapsedMs(t0)) & " ms)"
  Ok HostLogCount("KEYDOWN ") < 20000, "and it stopped typing: " & HostLogCount("KEYDOWN ") & " keys reached the host"
  SetHostConfig "expect_keys=1"
  t0 = NowMs()
  Eq h.SendKeystroke("ok"), True, "the next keystrokes reach the host at once"
  Ok ElapsedMs(t0) < LimitMs(5000), "without waiting for a backlog (" & Round(ElapsedMs(t0)) & " ms)"
  StopHost
End If

' ---- afterwards: the object still works, nothing is left behind ----------------------------
h.SetTextToClip savedClip
Eq h.GetTextFromClip(), savedClip, "the clipboard holds its text from before the matrix again"
Eq h.Pause, 0, "Pause is back at 0"
Eq h.FormatAny(0.5, "0%"), "50%", "the object still works after the matrix"
Eq h.INIRead(iniFile, "S", "k"), "v", "the INI file still reads"
Set h = Nothing

' Numbers as file names are bare names, which the profile functions look for in the Windows
' folder of the test prefix: remove what the writes made there.
' Clean-up is best effort: what it cannot remove does no harm to later tests.
Dim winDir, bare
On Error Resume Next
winDir = g_fso.GetSpecialFolder(0) & "\"
For Each bare In Array("-1", "2147483648", "1E+300", String(248, "x"))
  If g_fso.FileExists(winDir & bare) Then g_fso.DeleteFile winDir & bare, True
Next
If g_fso.FileExists(dateFile) Then g_fso.GetFile(dateFile).Attributes = 0
If g_fso.FileExists(longName) Then g_fso.DeleteFile longName, True
Err.Clear
On Error GoTo 0

note = ""
For Each k In g_byNumber.Keys
  note = note & " " & k & "=" & g_byNumber(k)
Next
WScript.Echo "SUMMARY bad-input matrix: " & g_calls & " calls, " & g_okCalls & " documented results, " & _
  g_errCalls & " script errors with a description; by kind:" & note
Finish
