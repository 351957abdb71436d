' timeout: 400
' Soak: objects created and released in a row (500), then member calls on one object (100,000)
' (host commands, GetInfo requests, list results, INI writes and reads, clipboard round trips,
' value formatting, redraw locks, filters), then 1000 separator moves. The script host's memory, handle and window counts are read
' after a warm-up and again at the end; meanwhile another program keeps opening the clipboard,
' so a clipboard left open by any call shows; at the end the host window carries no state but
' its mark.
Option Explicit

' `make soak` runs the counts below (SOAK_SCALE 1); `make test` a tenth of them.
Dim CALL_COUNT, OBJECT_COUNT, SEPARATOR_COUNT
CALL_COUNT = CLng(100000 * SOAK_SCALE)  ' member calls in the second part, counted one by one
OBJECT_COUNT = CLng(500 * SOAK_SCALE)
Const ROUND_SIZE = 10
SEPARATOR_COUNT = CLng(1000 * SOAK_SCALE)

Dim h, o, i, n, t0, tObjects, tCalls, r, f, saved, failures, firstFailure, calls, rounds
Dim tSeparator, statsSeparator, statsWarm, statsObjects, statsMid, statsEnd, stopFile, watchFile, watch, propsBefore, stateEnd

ExpectFromHost "expect_cmd=1" & vbCrLf & "expect_gw=LP"
Function UtilTool()
  UtilTool = Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "utiltool.exe"
End Function

' The script host's figures, read by utiltool as its parent process, as a dictionary. The reply
' window is made to exist first (the release of any object closes it), so that every reading
' counts the same windows.
Function ProcStats(tag)
  Dim out, text, parts, p, d
  If h.GetInfo("SP") <> "C:\src\" Then Fail "GetInfo before the reading " & tag
  out = TEST_DIR & "stats-" & tag & ".txt"
  Set d = CreateObject("Scripting.Dictionary")
  If RunWait(Quote(UtilTool()) & " procstats 0 " & Quote(out)) <> 0 Then
    Report False, "utiltool procstats failed (" & tag & ")"
    Set ProcStats = d
    Exit Function
  End If
  text = Replace(Replace(ReadTextFile(out), vbCr, ""), vbLf, "")
  WScript.Echo "STATS " & tag & ": " & text
  For Each p In Split(text, " ")
    parts = Split(p, "=")
    If UBound(parts) = 1 Then d(parts(0)) = parts(1)
  Next
  Set ProcStats = d
End Function

' Growth of a figure from a to b as text; "n/a" when the platform gives no figure.
Function Growth(a, b, key)
  If CDbl(a(key)) < 0 Or CDbl(b(key)) < 0 Then
    Growth = key & " n/a (the platform gives no figure)"
  ElseIf CDbl(a(key)) = 0 Then
    Growth = key & " " & a(key) & " -> " & b(key)
  Else
    Growth = key & " " & a(key) & " -> " & b(key) & " (" & FormatNumber((CDbl(b(key)) - CDbl(a(key))) * 100 / CDbl(a(key)), 2) & " %)"
  End If
End Function

Function HostState(tag)
  Dim out
  out = TEST_DIR & "winstate-" & tag & ".txt"
  RunWait Quote(UtilTool()) & " winstate " & Quote(out)
  HostState = Replace(Replace(ReadTextFile(out), vbCr, ""), vbLf, "")
End Function

Sub Fail(what)
  failures = failures + 1
  If firstFailure = "" Then firstFailure = what
End Sub

' One round of ROUND_SIZE member calls; the last one varies with the round.
Sub DoRound(k)
  If h.SendCommand(1) <> True Then Fail "SendCommand in round " & k
  If h.GetInfo("SP") <> "C:\src\" Then Fail "GetInfo SP in round " & k
  If h.GetInfo("TP") <> "D:\trg\" Then Fail "GetInfo TP in round " & k
  r = h.INIRead(f)
  If Not IsArray(r) Then
    Fail "INIRead list in round " & k
  ElseIf UBound(r) <> 1 Then
    Fail "INIRead list length in round " & k
  End If
  If h.INIWrite(f, "S", "k", k) <> True Then Fail "INIWrite in round " & k
  If h.INIRead(f, "S", "k") <> CStr(k) Then Fail "INIRead value in round " & k
  h.SetTextToClip "soak " & k
  If h.GetTextFromClip() <> "soak " & k Then Fail "clipboard round trip in round " & k
  If h.FormatAny(k, "#,##0.00") <> FormatNumber(k, 2) Then Fail "FormatAny in round " & k
  Select Case k Mod 5
    Case 0: If h.ClearClip() <> True Then Fail "ClearClip in round " & k
    Case 1: If h.LockTC(True) <> True Then Fail "LockTC True in round " & k
    Case 2: If h.LockTC(False) <> True Then Fail "LockTC False in round " & k
    Case 3: If VarType(h.GetFilter("L")) <> vbString Then Fail "GetFilter in round " & k
    Case 4: If h.IsRunningTC <> True Then Fail "IsRunningTC in round " & k
  End Select
End Sub

' ---- set-up and warm-up ----------------------------------------------------------------------
StartHost "answer.SP=C:\src\" & vbCrLf & "answer.TP=D:\trg\"
f = TEST_DIR & "soak.ini"
WriteUnicodeFile f, "[S]" & vbCrLf & "k=0" & vbCrLf & "[T]" & vbCrLf & "a=1" & vbCrLf
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
saved = h.GetTextFromClip()
propsBefore = HostState("before")
Ok InStr(propsBefore, "found=1") > 0, "the host window is there: " & propsBefore

stopFile = TEST_DIR & "watch.stop"
watchFile = TEST_DIR & "watch.txt"
g_shell.Run Quote(UtilTool()) & " clipwatch " & Quote(stopFile) & " " & Quote(watchFile), 0, False

failures = 0
firstFailure = ""
For i = 1 To 200
  DoRound i
Next
For i = 1 To 20
  Set o = CreateObject("Ombrisk.Helper")
  Set o = Nothing
Next
Set statsWarm = ProcStats("after-warm-up")

' ---- OBJECT_COUNT objects in a row ---------------------------------------------------------------------
t0 = NowMs()
For i = 1 To OBJECT_COUNT
  Set o = CreateObject("Ombrisk.Helper")
  o.Pause = 0
  If o.GetInfo("SP") <> "C:\src\" Then Fail "GetInfo on object " & i
  Set o = Nothing
Next
tObjects = ElapsedMs(t0)
Set statsObjects = ProcStats("after-objects")
' The object that lived through all of that still has a working reply window.
Eq h.GetInfo("TP"), "D:\trg\", "the long-lived object still gets answers after " & OBJECT_COUNT & " others came and went"

' ---- CALL_COUNT calls on one object ------------------------------------------------------------
rounds = CALL_COUNT \ ROUND_SIZE
t0 = NowMs()
For i = 1 To rounds
  DoRound i
  If i = rounds \ 2 Then Set statsMid = ProcStats("half-way")
  ' Now and then another program checks that the clipboard is free right after a clipboard call.
  If i Mod (rounds \ 4) = 0 Then
    h.SetTextToClip "spot check " & i
    If RunWait(Quote(UtilTool()) & " clipopen") <> 0 Then Fail "the clipboard was held after SetTextToClip (round " & i & ")"
    r = h.GetTextFromClip()
    If RunWait(Quote(UtilTool()) & " clipopen") <> 0 Then Fail "the clipboard was held after GetTextFromClip (round " & i & ")"
  End If
Next
tCalls = ElapsedMs(t0)
calls = rounds * ROUND_SIZE  ' every round makes all its calls; a failing call would end the script
Set statsEnd = ProcStats("after-calls")

' ---- the separator, apart: it drags the host's bar with the mouse and puts the cursor back ----
' Wine's SetCursorPos keeps about 110 bytes of the calling process per call, so its memory
' figures are kept apart from the other calls'.
t0 = NowMs()
For i = 1 To SEPARATOR_COUNT
  h.Separator = 30 + (i Mod 40)
Next
tSeparator = ElapsedMs(t0)
Set statsSeparator = ProcStats("after-separator")

g_fso.CreateTextFile(stopFile, True).Close
n = 0
Do While Not g_fso.FileExists(watchFile) And n < 100
  SleepMs 50
  n = n + 1
Loop
watch = Replace(Replace(ReadTextFile(watchFile), vbCr, ""), vbLf, "")

' ---- what is left behind -------------------------------------------------------------------------
Eq h.LockTC(True), True, "no redraw lock is left: the host can be locked again"
Eq h.LockTC(False), True, "and unlocked"
h.SetTextToClip saved
Eq h.GetTextFromClip(), saved, "the clipboard holds its text from before the soak again"
Set h = Nothing
stateEnd = HostState("after")
Eq Replace(stateEnd, "topmost=0", ""), Replace(propsBefore, "topmost=0", ""), _
  "the host window has the same properties as before (the host's own mark and the library's)"
Ok InStr(stateEnd, "topmost=0") > 0, "the host window is not left topmost: " & stateEnd
Ok InStr(stateEnd, "Signed_by_Helper") > 0, "the host mark stays"

' ---- figures ---------------------------------------------------------------------------------
Eq failures, 0, "every call gave its expected result (first failure: " & firstFailure & ")"
WScript.Echo "SOAK objects: " & OBJECT_COUNT & " created and released in " & Round(tObjects / 1000, 1) & " s (" & _
  Round(OBJECT_COUNT * 1000 / tObjects, 1) & " per s; each release waits 100 ms)"
WScript.Echo "SOAK calls: " & calls & " member calls in " & Round(tCalls / 1000, 1) & " s (" & Round(calls * 1000 / tCalls) & " per s)"
WScript.Echo "SOAK growth after warm-up to the end: " & Growth(statsWarm, statsEnd, "private") & "; " & _
  Growth(statsWarm, statsEnd, "handles") & "; " & Growth(statsWarm, statsEnd, "windows") & "; " & _
  Growth(statsWarm, statsEnd, "gdi") & "; " & Growth(statsWarm, statsEnd, "user") & "; " & Growth(statsWarm, statsEnd, "working")
WScript.Echo "SOAK growth over the second half of the calls: " & Growth(statsMid, statsEnd, "private") & "; " & _
  Growth(statsMid, statsEnd, "handles") & "; " & Growth(statsMid, statsEnd, "windows")
WScript.Echo "SOAK growth over the " & OBJECT_COUNT & " objects: " & Growth(statsWarm, statsObjects, "private") & "; " & _
  Growth(statsWarm, statsObjects, "handles") & "; " & Growth(statsWarm, statsObjects, "windows")
WScript.Echo "SOAK separator: " & SEPARATOR_COUNT & " lets in " & Round(tSeparator / 1000, 1) & " s; " & _
  Growth(statsEnd, statsSeparator, "private") & "; " & Growth(statsEnd, statsSeparator, "handles") & "; " & _
  Growth(statsEnd, statsSeparator, "windows")
WScript.Echo "SOAK clipboard watcher: " & watch

' Generous bounds: a leak of one handle, window or buffer per call or per object would pass them
' by far.
' The bounds below mean nothing if a figure could not be read (-1).
Ok CDbl(statsWarm("private")) > 0 And CDbl(statsEnd("private")) > 0 And CDbl(statsSeparator("private")) > 0, _
  "private memory was measured (" & statsWarm("private") & ", " & statsEnd("private") & ", " & statsSeparator("private") & ")"
Ok CDbl(statsWarm("handles")) > 0 And CDbl(statsEnd("handles")) > 0 And CDbl(statsSeparator("handles")) > 0, _
  "handles were counted (" & statsWarm("handles") & ", " & statsEnd("handles") & ", " & statsSeparator("handles") & ")"
Ok CDbl(statsWarm("windows")) >= 0 And CDbl(statsEnd("windows")) >= 0, "windows were counted"
Ok CDbl(statsEnd("private")) <= CDbl(statsWarm("private")) * 1.1 + 1048576, "private memory grew by less than 10 % + 1 MB"
Ok CDbl(statsEnd("handles")) <= CDbl(statsWarm("handles")) + 10, "the handle count grew by at most 10"
Ok CDbl(statsEnd("windows")) <= CDbl(statsWarm("windows")) + 1, "the window count grew by at most 1"
Ok CDbl(statsSeparator("private")) <= CDbl(statsEnd("private")) + 2097152, "the separator lets grew private memory by less than 2 MB"
Ok CDbl(statsSeparator("handles")) <= CDbl(statsEnd("handles")) + 10, "and the handle count by at most 10"
If CDbl(statsWarm("gdi")) >= 0 And CDbl(statsWarm("user")) >= 0 Then
  Ok CDbl(statsEnd("gdi")) <= CDbl(statsWarm("gdi")) + 10, "GDI objects grew by at most 10"
  Ok CDbl(statsEnd("user")) <= CDbl(statsWarm("user")) + 10, "USER objects grew by at most 10"
Else
  Skip "GDI and USER object counts are not available here (gdi " & statsWarm("gdi") & ", user " & statsWarm("user") & ")"
End If
Ok InStr(watch, "opens=") = 1, "the clipboard watcher reported: " & watch
Dim longest
longest = -1
If InStr(watch, "longest_ms=") > 0 Then longest = CDbl(Mid(watch, InStr(watch, "longest_ms=") + 11))
Ok longest >= 0 And longest < LimitMs(1000), "no call left the clipboard open (longest refusal " & longest & " ms)"
Finish
