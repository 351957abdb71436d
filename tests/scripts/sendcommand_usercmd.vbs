' Commands by number and by name reach the host, sent or posted, and wait Pause.
Option Explicit
Dim h, t0, n, fso, inc, r

ExpectFromHost "expect_cmd=-2147483648,-5,-1,0,1,7,12,13,15,77,100,101,102,103,106,107,123,250,301,2000,2050,2052"
Set fso = CreateObject("Scripting.FileSystemObject")
StartHost ""
Set h = CreateObject("Ombrisk.Helper")
Eq h.IsRunningTC, True, "IsRunningTC true with the host"

' Numbers: as automation converts them, halves to even.
h.Pause = 0
ClearHostLog
h.SendCommand 2050
h.SendCommand "2050"
h.SendCommand 2050.4
h.SendCommand 2050.5
h.SendCommand 2051.5
h.SendCommand True
Ok WaitLog("CMD ", 6, 5000), "six commands arrive"
Eq HostLogLines("CMD "), "CMD posted 2050 lparam=0" & vbCrLf & "CMD posted 2050 lparam=0" & vbCrLf & _
    "CMD posted 2050 lparam=0" & vbCrLf & "CMD posted 2050 lparam=0" & vbCrLf & "CMD posted 2052 lparam=0" & vbCrLf & _
    "CMD posted -1 lparam=0", "numbers are rounded halves to even and posted"

' Sent versus posted: WaitIt wins over Wait; omitted WaitIt follows Wait.
ClearHostLog
Eq h.SendCommand(100), True, "posted command queued"
' A sent message overtakes a posted one the host has not taken from its queue yet.
Ok WaitLog("CMD posted 100", 1, LimitMs(5000)), "the posted command arrived"
Eq h.SendCommand(101, True), True, "sent command with result 1"
h.Wait = True
Eq h.SendCommand(102), True, "Wait true: omitted WaitIt sends"
Eq h.SendCommand(103, False), True, "explicit WaitIt false posts"
h.Wait = False
Ok WaitLog("CMD ", 4, 5000), "four commands arrive"
Eq HostLogLines("CMD "), "CMD posted 100 lparam=0" & vbCrLf & "CMD sent 101 lparam=0" & vbCrLf & _
    "CMD sent 102 lparam=0" & vbCrLf & "CMD posted 103 lparam=0", "sent and posted as asked"

' A sent command reports the host's result: zero is false.
SetHostConfig "cmd_result.104=0" & vbCrLf & "cmd_result.105=7"
Eq h.SendCommand(104, True), False, "host result 0 gives false"
Eq h.SendCommand(105, True), True, "host result 7 gives true"

' Pause is waited after every command.
h.Pause = 300
t0 = NowMs()
h.SendCommand 106
Ok ElapsedMs(t0) >= 280, "SendCommand waits Pause (" & Round(ElapsedMs(t0)) & " ms)"
h.Pause = "150"
t0 = NowMs()
h.SendCommand 107
Ok ElapsedMs(t0) >= 130, "a numeric string Pause acts as its number"
h.Pause = 0

' Names need a table; an empty table raises 9 while the host exists.
On Error Resume Next
h.SendCommand "SwapPanels"
n = Err.Number
On Error GoTo 0
Eq n, 9, "a name with an empty table raises 9"

' Out-of-range and unconvertible values.
On Error Resume Next
h.SendCommand CDbl("2147483648")
n = Err.Number
On Error GoTo 0
Eq n, 6, "2147483648 raises overflow"
ClearHostLog
h.SendCommand CDbl("-2147483648")
Ok WaitLog("CMD posted -2147483648", 1, 3000), "-2147483648 is a valid command number"

' The command table from a definition file.
inc = TEST_DIR & "cmds.inc"
WriteTextFile inc, "[Section]" & vbCrLf & " OpenFoo=301;Some comment" & vbCrLf & "CmdA = 12" & vbCrLf & _
    "CmdB=0" & vbCrLf & "CmdC=13" & vbCr & "Hex=&H7D0" & vbCrLf & "Oct=&o17" & vbCrLf & "Dup=1" & vbCrLf & _
    "Dup=2" & vbCrLf & "Spaced = 1 2 3 ; spaces inside digits" & vbCrLf & "Neg=-5" & vbCrLf & "Exp=2.5E2" & vbCrLf
Eq h.LoadIncFile(inc), True, "LoadIncFile reads the file"
ClearHostLog
h.SendCommand "openfoo"
h.SendCommand "OPENFOO"
h.SendCommand " OpenFoo"
h.SendCommand "CmdA"
h.SendCommand "CmdB"
h.SendCommand "cmdc"
h.SendCommand "Hex"
h.SendCommand "Oct"
h.SendCommand "Dup"
h.SendCommand "Spaced"
h.SendCommand "Neg"
h.SendCommand "Exp"
h.SendCommand "Unknown"
Ok WaitLog("CMD ", 13, 5000), "thirteen commands arrive"
Eq HostLogLines("CMD "), JoinLines(Array("CMD posted 301 lparam=0", "CMD posted 301 lparam=0", "CMD posted 0 lparam=0", _
    "CMD posted 12 lparam=0", "CMD posted 0 lparam=0", "CMD posted 13 lparam=0", "CMD posted 2000 lparam=0", _
    "CMD posted 15 lparam=0", "CMD posted 1 lparam=0", "CMD posted 123 lparam=0", "CMD posted -5 lparam=0", _
    "CMD posted 250 lparam=0", "CMD posted 0 lparam=0")), "names resolve by the table rules"

' A path in the long-path form is read rather than mapped: the same rules, a new table.
WriteTextFile TEST_DIR & "other.inc", "[Other]" & vbCrLf & "  Other = 77 ;x=1" & vbCrLf & "Zero=0"
Eq h.LoadIncFile("\\?\" & TEST_DIR & "other.inc"), True, "LoadIncFile reads a file by its long-path form"
ClearHostLog
h.SendCommand "other"
h.SendCommand "CmdA"
Ok WaitLog("CMD ", 2, 3000), "two commands arrive"
Eq HostLogLines("CMD "), "CMD posted 77 lparam=0" & vbCrLf & "CMD posted 0 lparam=0", "the file read replaced the table"

' Arrays cannot be compared with names.
Dim arr(1)
On Error Resume Next
h.SendCommand arr
n = Err.Number
On Error GoTo 0
Eq n, 13, "an array raises type mismatch when the table has entries"

' LF-only line ends make one line.
WriteTextFile inc, "A=1" & vbLf & "B=2" & vbLf
Eq h.LoadIncFile(inc), True, "LF-only file loads"
ClearHostLog
h.SendCommand "A"
h.SendCommand "B"
Ok WaitLog("CMD ", 2, 3000), "two commands arrive"
Eq HostLogLines("CMD "), "CMD posted 1 lparam=0" & vbCrLf & "CMD posted 0 lparam=0", "an LF-only file is one line"

' A file without definitions and a missing file keep the table.
WriteTextFile inc, "[Only a heading]" & vbCrLf & "; and a comment" & vbCrLf
Eq h.LoadIncFile(inc), True, "a file without = loads"
Eq h.LoadIncFile(TEST_DIR & "missing.inc"), False, "a missing file gives false"
ClearHostLog
h.SendCommand "A"
Ok WaitLog("CMD posted 1 ", 1, 3000), "the table is kept after both"

' A number out of range stops the parse with overflow; the lines before it stay.
WriteTextFile inc, "First=7" & vbCrLf & "Big=2147483648" & vbCrLf & "Last=9" & vbCrLf
On Error Resume Next
r = h.LoadIncFile(inc)
n = Err.Number
On Error GoTo 0
Eq n, 6, "LoadIncFile raises overflow"
ClearHostLog
h.SendCommand "First"
h.SendCommand "Last"
h.SendCommand "A"
Ok WaitLog("CMD ", 3, 3000), "three commands arrive"
Eq HostLogLines("CMD "), "CMD posted 7 lparam=0" & vbCrLf & "CMD posted 0 lparam=0" & vbCrLf & "CMD posted 0 lparam=0", _
    "entries before the overflow are kept, the rest and the old table are gone"
' The file is closed after the overflow: it can be replaced at once.
WriteTextFile inc, "Again=5" & vbCrLf
Eq ReadTextFile(inc), "Again=5" & vbCrLf, "the file was closed after the overflow"

' The default file name is relative to the current folder.
r = "not returned"
On Error Resume Next
r = h.LoadIncFile()
n = Err.Number
On Error GoTo 0
Eq n, 0, "LoadIncFile without a Totalcmd.inc in the current folder raises nothing"
EqType r, False, "and gives false"

Finish
