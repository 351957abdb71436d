' Library of the Wine script tests (VBScript). The harness puts it between the generated
' constants (TEST_DIR, STANDIN_EXE, DATA_DIR, DEBUG_FILE, SCRIPT_NAME, DLL_PATH,
' DLL_REGISTERED, CSCRIPT_BITS, DLL32_PATH, TIME_SCALE) and the test itself, under Option Explicit.
' Wine's VBScript lacks ExecuteGlobal, Join, Filter, ChrW, AscW, Eval, GetRef, WScript.Sleep and
' WScript.StdOut, and "Dim x()" followed by ReDim crashes: nothing below uses them.
' An error in an If condition under On Error Resume Next runs the Then branch, so conditions
' that may fail are first assigned to a variable.

Dim g_passed, g_failed, g_shell, g_fso
g_passed = 0
g_failed = 0
Set g_shell = CreateObject("WScript.Shell")
Set g_fso = CreateObject("Scripting.FileSystemObject")

' ---- reporting ------------------------------------------------------------------------

Sub Report(good, msg)
  If good Then
    g_passed = g_passed + 1
    WScript.Echo "ok " & (g_passed + g_failed) & " - " & msg
  Else
    g_failed = g_failed + 1
    WScript.Echo "not ok " & (g_passed + g_failed) & " - " & msg
  End If
End Sub

' Passes when cond is true; a condition that cannot be read as a Boolean fails.
Sub Ok(cond, msg)
  Dim good, note
  good = False
  note = ""
  On Error Resume Next
  good = CBool(cond)
  If Err.Number <> 0 Then note = " (condition is not a Boolean: " & Describe(cond) & ")"
  Err.Clear
  On Error GoTo 0
  Report good, msg & note
End Sub

' Compares with "=", as a script would, but only values of one kind: Empty and Null equal only
' themselves, and a text, a number, a Boolean or a date never equals a value of another kind
' (so "", 0 and False do not pass for Empty, nor "1" for 1). On failure prints both values
' with their types.
Sub Eq(actual, expected, msg)
  Dim good
  good = EqHolds(actual, expected)
  Report good, msg & FailNote(actual, expected, good)
End Sub

' Whether Eq passes for these two values.
Function EqHolds(actual, expected)
  EqHolds = False
  If ValueKind(actual) = ValueKind(expected) Then
    EqHolds = True
    If ValueKind(actual) <> "null" Then EqHolds = SameValue(actual, expected)
  End If
End Function

' Like Eq, but the VarTypes must match too (True and -1 differ here, and so do 1 and 1.0).
Sub EqType(actual, expected, msg)
  Dim good
  good = False
  If VarType(actual) = VarType(expected) Then good = SameValue(actual, expected)
  Report good, msg & FailNote(actual, expected, good)
End Sub

' The kind of a value for Eq: "empty", "null", "number", "text", "bool", "date", "object",
' "array" or "other". Integers, Longs, Doubles, Currency and Bytes are all numbers.
Function ValueKind(v)
  If IsObject(v) Then
    ValueKind = "object"
    Exit Function
  End If
  If IsArray(v) Then
    ValueKind = "array"
    Exit Function
  End If
  Select Case VarType(v)
    Case 0: ValueKind = "empty"
    Case 1: ValueKind = "null"
    Case 2, 3, 4, 5, 6, 14, 16, 17, 18, 19, 20, 21: ValueKind = "number"
    Case 7: ValueKind = "date"
    Case 8: ValueKind = "text"
    Case 11: ValueKind = "bool"
    Case Else: ValueKind = "other"
  End Select
End Function

Function SameValue(a, b)
  Dim r
  r = False
  On Error Resume Next
  r = CBool(a = b)
  Err.Clear
  On Error GoTo 0
  SameValue = r
End Function

Function FailNote(actual, expected, good)
  FailNote = ""
  If Not good Then FailNote = " (got " & Describe(actual) & ", expected " & Describe(expected) & ")"
End Function

' A value for a failure message: [text] TypeName/VarType.
Function Describe(v)
  Dim s
  If IsObject(v) Then
    Describe = "object " & TypeName(v)
    Exit Function
  End If
  If IsArray(v) Then
    Describe = "array " & TypeName(v) & " ubound " & UBound(v)
    Exit Function
  End If
  s = "?"
  On Error Resume Next
  s = CStr(v)
  If IsNull(v) Then s = "Null"
  On Error GoTo 0
  Describe = "[" & s & "] " & TypeName(v) & "/" & VarType(v)
End Function

' Reports a part of the test that did not run, with the reason. The harness fails the script
' unless this skip is on its allow-list for the platform (ALLOWED_SKIPS in scripttest.py).
Sub Skip(reason)
  WScript.Echo "# skip: " & reason
End Sub

' Prints the final line the harness looks for; the exit code says the same.
Sub Finish()
  WScript.Echo "DONE passed=" & g_passed & " failed=" & g_failed
  If g_failed > 0 Then WScript.Quit 1
  WScript.Quit 0
End Sub

' ---- processes and time ------------------------------------------------------------------

Function Quote(s)
  Quote = """" & s & """"
End Function

' Runs a command line hidden and waits; returns its exit code.
Function RunWait(commandLine)
  RunWait = g_shell.Run(commandLine, 0, True)
End Function

' Waits about ms milliseconds (WScript.Sleep is missing; a process start adds some 50 ms).
Sub SleepMs(ms)
  RunWait Quote(STANDIN_EXE) & " ctl sleep " & CLng(ms)
End Sub

' Milliseconds since midnight, for measuring waits.
Function NowMs()
  NowMs = CDbl(Timer) * 1000
End Function

' An upper bound on a wait, scaled by the harness's time factor (TIME_SCALE, from the
' environment variable OMBRISK_TIME_SCALE, default 1) so a loaded machine can be given room.
' Use it for every bound a slow machine could break; ordering facts need no bound at all.
Function LimitMs(ms)
  LimitMs = ms * TIME_SCALE
End Function

' Milliseconds since startMs (a NowMs value), also across midnight.
Function ElapsedMs(startMs)
  Dim d
  d = NowMs() - startMs
  If d < 0 Then d = d + 86400000
  ElapsedMs = d
End Function

' ---- files ----------------------------------------------------------------------------

' Whole text of a file in the ANSI code page; "" when it is missing or empty. A file that
' another process holds is retried for about 2 s.
Function ReadTextFile(path)
  ReadTextFile = ReadFileAs(path, 0)
End Function

' The same for a UTF-16LE file with BOM (what WriteUnicodeFile writes).
Function ReadUnicodeFile(path)
  ReadUnicodeFile = ReadFileAs(path, -1)
End Function

' format: 0 ANSI, -1 Unicode, as OpenTextFile takes it.
Function ReadFileAs(path, format)
  Dim f, text, tries, failed
  ReadFileAs = ""
  For tries = 1 To 20
    failed = False
    text = ""
    On Error Resume Next
    If g_fso.FileExists(path) Then
      If g_fso.GetFile(path).Size > 0 Then
        Set f = g_fso.OpenTextFile(path, 1, False, format)
        text = f.ReadAll
        f.Close
      End If
    End If
    If Err.Number <> 0 Then failed = True
    Err.Clear
    On Error GoTo 0
    If Not failed Then
      ReadFileAs = text
      Exit Function
    End If
    SleepMs 100
  Next
  Report False, "cannot read " & path
End Function

' Creates or replaces a file with text in the ANSI code page; returns True on success.
Function WriteTextFile(path, text)
  WriteTextFile = WriteFileAs(path, text, False)
End Function

' The same in UTF-16LE with BOM, for text outside the ANSI code page.
Function WriteUnicodeFile(path, text)
  WriteUnicodeFile = WriteFileAs(path, text, True)
End Function

Function WriteFileAs(path, text, unicode)
  Dim f, tries, failed
  WriteFileAs = False
  For tries = 1 To 20
    failed = False
    On Error Resume Next
    Set f = g_fso.CreateTextFile(path, True, unicode)
    f.Write text
    f.Close
    If Err.Number <> 0 Then failed = True
    Err.Clear
    On Error GoTo 0
    If Not failed Then
      WriteFileAs = True
      Exit Function
    End If
    SleepMs 100
  Next
  Report False, "cannot write " & path
End Function

' Lines of text (split at LF, a CR before it dropped) that begin with prefix, as an array.
Function LinesWithPrefix(text, prefix)
  Dim all, i, line, picked, n
  picked = Array()
  n = 0
  all = Split(text, vbLf)
  For i = 0 To UBound(all)
    line = all(i)
    If Right(line, 1) = vbCr Then line = Left(line, Len(line) - 1)
    If Left(line, Len(prefix)) = prefix And line <> "" Then
      ReDim Preserve picked(n)
      picked(n) = line
      n = n + 1
    End If
  Next
  LinesWithPrefix = picked
End Function

'' The elements of an array joined with vbCrLf (Join is missing in Wine's VBScript).
Function JoinLines(a)
  Dim i, s
  s = ""
  For i = 0 To UBound(a)
    If i > 0 Then s = s & vbCrLf
    s = s & a(i)
  Next
  JoinLines = s
End Function

' ---- the stand-in host -----------------------------------------------------------------

Function HostConfigPath()
  HostConfigPath = TEST_DIR & "host.cfg"
End Function

Function HostLogPath()
  HostLogPath = TEST_DIR & "host.log"
End Function

Dim g_hostExpect
g_hostExpect = ""

' Declares, for every host the script starts or reconfigures from now on, what it expects from
' the library: lines such as "expect_cmd=690,2017", "expect_gw=LP", "expect_copydata=CD",
' "expect_keys=1" (separated by vbCrLf). The configuration of each host may declare more.
Sub ExpectFromHost(lines)
  g_hostExpect = lines
End Sub

' The host runs in strict mode: a command, request, key or message the configuration does not
' declare (expect_cmd=, expect_gw=, expect_copydata=, expect_keys=1, or an answer/result key
' for it) is logged as UNEXPECTED and fails the script. A test that sends such things on
' purpose says strict=0.
Function HostConfigText(lines)
  HostConfigText = "log=" & HostLogPath() & vbCrLf & "strict=1" & vbCrLf
  If g_hostExpect <> "" Then HostConfigText = HostConfigText & g_hostExpect & vbCrLf
  If lines <> "" Then HostConfigText = HostConfigText & lines & vbCrLf
End Function

' Starts the host with log=TEST_DIR\host.log plus the given lines (separated by vbCrLf) and
' waits until it is ready. Reports a failure only; returns True when the host runs. The
' configuration is written in UTF-16, so answers may hold any character.
Function StartHost(extraConfigLines)
  Dim rc
  WriteUnicodeFile HostConfigPath(), HostConfigText(extraConfigLines)
  rc = RunWait(Quote(STANDIN_EXE) & " ctl start " & Quote(HostConfigPath()))
  If rc <> 0 Then Report False, "stand-in host did not start (ctl start exit code " & rc & ")"
  StartHost = (rc = 0)
End Function

' Replaces the running host's configuration (the log line stays). The new file is moved into
' place, so the host never reads half of it.
Sub SetHostConfig(lines)
  Dim tmp
  tmp = HostConfigPath() & ".new"
  WriteUnicodeFile tmp, HostConfigText(lines)
  If g_fso.FileExists(HostConfigPath()) Then g_fso.DeleteFile HostConfigPath(), True
  g_fso.MoveFile tmp, HostConfigPath()
End Sub

' Closes every stand-in host and waits for it to end.
Sub StopHost()
  RunWait Quote(STANDIN_EXE) & " ctl stop"
End Sub

Function HostLog()
  HostLog = ReadTextFile(HostLogPath())
End Function

' The log lines that begin with prefix, joined with vbCrLf ("" when none).
Function HostLogLines(prefix)
  HostLogLines = JoinLines(LinesWithPrefix(HostLog(), prefix))
End Function

' The log lines that begin with prefix, as an array.
Function HostLogArray(prefix)
  HostLogArray = LinesWithPrefix(HostLog(), prefix)
End Function

Function HostLogCount(prefix)
  HostLogCount = UBound(LinesWithPrefix(HostLog(), prefix)) + 1
End Function

' Empties the log; the READY line goes too.
Sub ClearHostLog()
  WriteTextFile HostLogPath(), ""
End Sub

' Polls until at least count log lines begin with prefix; False after timeoutMs.
Function WaitLog(prefix, count, timeoutMs)
  Dim t0
  t0 = NowMs()
  Do
    If HostLogCount(prefix) >= count Then
      WaitLog = True
      Exit Function
    End If
    If ElapsedMs(t0) >= timeoutMs Then Exit Do
    SleepMs 50
  Loop
  WaitLog = False
End Function

' Value of "key=" in a log line as text ("" when absent); values end at a space.
Function LogField(line, key)
  Dim p, q
  LogField = ""
  p = InStr(1, " " & line, " " & key & "=")
  If p = 0 Then Exit Function
  p = p + Len(key) + 1
  q = InStr(p, line, " ")
  If q = 0 Then q = Len(line) + 1
  LogField = Mid(line, p, q - p)
End Function

' The host window's handle from the READY line, as a Long (0 when there is no READY line).
Function HostHwnd()
  Dim lines, v
  HostHwnd = 0
  lines = LinesWithPrefix(HostLog(), "READY ")
  If UBound(lines) < 0 Then Exit Function
  v = CDbl(LogField(lines(0), "hwnd"))
  If v > 2147483647 Then v = v - 4294967296
  HostHwnd = CLng(v)
End Function

' Sends (or posts) the host command n from a separate process, as another program would;
' returns the host's result for a sent command, 255 when no host runs.
Function HostSend(n)
  HostSend = RunWait(Quote(STANDIN_EXE) & " ctl send " & n)
End Function

Function HostPost(n)
  HostPost = RunWait(Quote(STANDIN_EXE) & " ctl post " & n)
End Function

' Sends a "GW" request for text from a separate process and returns what came back: a first
' line "result=<n> delivered=<0|1>", then one line "reply dwData=<hex> cb=<n> text=<text>"
' per answer (text decoded from UTF-16, or from ANSI for an "RA" answer).
Function HostAsk(text)
  Dim out
  out = TEST_DIR & "ask.txt"
  If g_fso.FileExists(out) Then g_fso.DeleteFile out, True
  RunWait Quote(STANDIN_EXE) & " ctl ask " & Quote(text) & " " & Quote(out)
  HostAsk = ReadUnicodeFile(out)
End Function

' Starts a second stand-in next to the host, for instance another top-level window
' (window_class=..., caption=...): configuration TEST_DIR\<name>.cfg, log TEST_DIR\<name>.log.
' `ctl stop` (StopHost) ends it with the host. Reports a failure only; True when it runs.
Function StartNamedHost(name, extraConfigLines)
  Dim rc, cfg
  cfg = TEST_DIR & name & ".cfg"
  WriteUnicodeFile cfg, "log=" & TEST_DIR & name & ".log" & vbCrLf & "strict=1" & vbCrLf & g_hostExpect & vbCrLf & _
    extraConfigLines & vbCrLf
  rc = RunWait(Quote(STANDIN_EXE) & " ctl start " & Quote(cfg))
  If rc <> 0 Then Report False, "stand-in " & name & " did not start (ctl start exit code " & rc & ")"
  StartNamedHost = (rc = 0)
End Function

Function NamedHostLog(name)
  NamedHostLog = ReadTextFile(TEST_DIR & name & ".log")
End Function

' ---- compiled clients -------------------------------------------------------------------

' Runs a program of the Windows build (beside standin.exe) with its report file and args, and
' relays its "ok N - ..." / "not ok N - ..." lines as checks named "label: ...". Returns the
' report's other lines (INFO, BENCH, ...) as an array.
Function RunClient(exeName, args, label)
  Dim exe, out, text, lines, i, line, rest
  exe = Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & exeName
  out = TEST_DIR & exeName & ".txt"
  RunWait Quote(exe) & " " & Quote(out) & " " & args
  text = ReadTextFile(out)
  Ok InStr(text, "DONE passed=") > 0, label & " ran to its end"
  lines = Split(Replace(text, vbCr, ""), vbLf)
  rest = ""
  For i = 0 To UBound(lines)
    line = lines(i)
    If Left(line, 3) = "ok " Then
      Report True, label & ": " & Mid(line, InStr(line, " - ") + 3)
    ElseIf Left(line, 7) = "not ok " Then
      Report False, label & ": " & Mid(line, InStr(line, " - ") + 3)
    ElseIf line <> "" And Left(line, 5) <> "DONE " Then
      If rest <> "" Then rest = rest & vbLf
      rest = rest & line
    End If
  Next
  RunClient = Split(rest, vbLf)
End Function

' ---- keys as the host saw them -----------------------------------------------------------

' One token per KEYDOWN line of a log text, leaving out the library's sentinel key (vk 232) and
' the key it presses before letting go of a held Alt or Windows key (vk 255): the decimal
' virtual-key code after "+", "^", "%" for Shift, Ctrl, Alt held at that moment, and "e" after
' it when the key came with the extended-key flag.
Function KeyDownsOf(logText)
  Dim lines, i, s, t, vk
  lines = LinesWithPrefix(logText, "KEYDOWN ")
  s = ""
  For i = 0 To UBound(lines)
    vk = LogField(lines(i), "vk")
    If vk <> "232" And vk <> "255" Then
      t = ""
      If LogField(lines(i), "shift") = "1" Then t = t & "+"
      If LogField(lines(i), "ctrl") = "1" Then t = t & "^"
      If LogField(lines(i), "alt") = "1" Then t = t & "%"
      t = t & vk
      If LogField(lines(i), "ext") = "1" Then t = t & "e"
      If s <> "" Then s = s & " "
      s = s & t
    End If
  Next
  KeyDownsOf = s
End Function

' The characters of the CHAR lines of a log text; a code above 255 as [U+XXXX].
Function TypedOf(logText)
  Dim lines, i, code, s
  lines = LinesWithPrefix(logText, "CHAR ")
  s = ""
  For i = 0 To UBound(lines)
    code = CLng(LogField(lines(i), "code"))
    If code < 256 Then
      s = s & Chr(code)
    Else
      s = s & "[U+" & Right("000" & Hex(code), 4) & "]"
    End If
  Next
  TypedOf = s
End Function

Function HostKeyDowns()
  HostKeyDowns = KeyDownsOf(HostLog())
End Function

Function HostTyped()
  HostTyped = TypedOf(HostLog())
End Function

' ---- debug output ------------------------------------------------------------------------

' Everything Wine wrote to the script process's standard error (WINEDEBUG=-all,+debugstr).
Function DebugOutput()
  DebugOutput = ReadTextFile(DEBUG_FILE)
End Function

' The texts passed to OutputDebugStringA, oldest first, as an array. Wine prints each as
'   0024:warn:debugstr:OutputDebugStringA "text"
' with \n \r \t \" \\ and \xNN escapes; a text longer than about 300 characters is cut and
' the line ends in "..., which shows here as a trailing "...".
Function DebugArray()
  Dim all, i, line, p, picked, n, marker
  marker = ":debugstr:OutputDebugStringA """
  picked = Array()
  n = 0
  all = Split(DebugOutput(), vbLf)
  For i = 0 To UBound(all)
    line = all(i)
    If Right(line, 1) = vbCr Then line = Left(line, Len(line) - 1)
    p = InStr(line, marker)
    If p > 0 Then
      line = Mid(line, p + Len(marker))
      ReDim Preserve picked(n)
      If Right(line, 4) = """..." Then
        picked(n) = UnescapeDebug(Left(line, Len(line) - 4)) & "..."
      Else
        picked(n) = UnescapeDebug(Left(line, Len(line) - 1))
      End If
      n = n + 1
    End If
  Next
  DebugArray = picked
End Function

' The same texts joined with vbCrLf ("" when none), like HostLogLines.
Function DebugLines()
  DebugLines = JoinLines(DebugArray())
End Function

Function UnescapeDebug(s)
  Dim i, c, r
  r = ""
  i = 1
  Do While i <= Len(s)
    c = Mid(s, i, 1)
    If c = "\" And i < Len(s) Then
      i = i + 1
      c = Mid(s, i, 1)
      Select Case c
        Case "n": r = r & vbLf
        Case "r": r = r & vbCr
        Case "t": r = r & vbTab
        Case "x"
          r = r & Chr(CLng("&H" & Mid(s, i + 1, 2)))
          i = i + 2
        Case Else: r = r & c
      End Select
    Else
      r = r & c
    End If
    i = i + 1
  Loop
  UnescapeDebug = r
End Function

' ---- the example scripts (examples/) ----------------------------------------------------

Dim g_exampleExit

' The folder of the example scripts, with a trailing "\".
Function ExamplesDir()
  ExamplesDir = g_fso.GetAbsolutePathName(DATA_DIR & "..\..\examples") & "\"
End Function

' Runs examples\<name> with cscript, as a button of the host would, with args as they would
' stand on its command line. Returns what it printed, without the last line end; its exit code
' is left in g_exampleExit.
Function RunExample(name, args)
  RunExample = RunExampleWith("", name, args)
End Function

' The same with an environment variable set for the script: setting is "NAME=value" (no
' blanks; Wine's WScript.Shell cannot set a process variable) or "" for none.
Function RunExampleWith(setting, name, args)
  Dim out, text, prefix
  out = TEST_DIR & "example-output.txt"
  If g_fso.FileExists(out) Then g_fso.DeleteFile out, True
  prefix = "cmd /c "
  If setting <> "" Then prefix = prefix & "set " & setting & "&& "
  g_exampleExit = RunWait(prefix & "cscript //nologo " & Quote(ExamplesDir() & name) & " " & args & " > " & Quote(out))
  text = ReadTextFile(out)
  If Right(text, 2) = vbCrLf Then text = Left(text, Len(text) - 2)
  RunExampleWith = text
End Function

' ---- separator drags: where the library's absolute mouse coordinates land ----------------

' Where screen coordinate v (of a screen size pixels wide or high) ends up after the library's
' mapping to 0..65535 and the platform's mapping back.
Function MapBack(v, size)
  MapBack = Int(CLng(v * (65535 / size)) * size / 65536)
End Function

' A screen x for a client origin at which client x endX survives the mapping on a screen width
' pixels wide; 40 when there is none between 30 and 250.
Function PickOrigin(endX, width)
  Dim o
  PickOrigin = 40
  For o = 30 To 250
    If MapBack(o + endX, width) = o + endX Then
      PickOrigin = o
      Exit Function
    End If
  Next
End Function

' ---- putting back what a test changes outside its folder ---------------------------------

' Runs commandLine when it is released unless Run ran it: held in a global variable from just
' before a change (keys held, buttons swapped, registry written), Run where the test puts it
' back; an error that ends the script releases it too (WScript.Quit does not: Finish after Run).
Class PutBackOnExit
  Public CommandLine  ' (Wine's VBScript declares one member per statement)
  Public Done
  Public Function Run()  ' its exit code
    Done = True
    Run = CreateObject("WScript.Shell").Run(CommandLine, 0, True)
  End Function
  Private Sub Class_Terminate()
    If Done Then Exit Sub
    Run
    WScript.Echo "INFO put back as the script ended: " & CommandLine
  End Sub
End Class

Function PutBackLater(commandLine)
  Set PutBackLater = New PutBackOnExit
  PutBackLater.CommandLine = commandLine
  PutBackLater.Done = False
End Function
