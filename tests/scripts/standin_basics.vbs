' timeout: 120
' The stand-in host as the other script tests rely on it: start, command messages and their
' results, configuration changes while it runs, "GW" answers, the log, stop. Then, once the
' automation server is registered, the first calls through it.

Dim ready, t0, reply, lines, i, dbg, longText, helper

' ---- start ----
ExpectFromHost "expect_cmd=-1,77,2016,2050,3001,4242" & vbCrLf & "expect_gw=TP"
If StartHost("cmd_result.77=5" & vbCrLf & "answer.SP=C:\Windows\" & vbCrLf & "caption=Probe caption") Then
  lines = HostLogArray("")
  Ok UBound(lines) >= 0, "log has a first line"
  If UBound(lines) >= 0 Then
    Eq Left(lines(0), 6), "READY ", "the first line is READY"
  End If
  Ok HostHwnd() <> 0, "HostHwnd reads the window handle from READY"
  ready = HostLogLines("READY ")
  Ok CDbl(LogField(ready, "pid")) > 0 And CDbl(LogField(ready, "tid")) > 0, "READY carries pid and tid: " & ready

  ' ---- commands: sent vs posted, configured results ----
  Eq HostSend(2050), 1, "a sent command returns 1 by default"
  Eq HostSend(77), 5, "cmd_result.77 overrides the result for command 77 only"
  Eq HostSend(-1), 1, "a negative command number is accepted"
  Eq HostPost(3001), 0, "posting a command succeeds"
  Ok WaitLog("CMD posted 3001", 1, 5000), "a posted command is logged as posted"
  Eq HostLogLines("CMD "), "CMD sent 2050 lparam=0" & vbCrLf & "CMD sent 77 lparam=0" & vbCrLf & _
    "CMD sent -1 lparam=0" & vbCrLf & "CMD posted 3001 lparam=0", "every command is logged once, in order"
  Eq HostLogCount("SHOW"), 0, "no SHOW for other commands"
  Eq HostSend(2016), 1, "command 2016 returns"
  Eq HostLogLines("CMD sent 2016"), "CMD sent 2016 lparam=0", "command 2016 logged"
  Eq HostLogCount("SHOW"), 1, "command 2016 shows the window and logs SHOW"

  ' ---- configuration re-read while the host runs ----
  SetHostConfig "cmd_result=9" & vbCrLf & "cmd_delay_ms=600"
  t0 = NowMs()
  Eq HostSend(77), 9, "after a config change cmd_result applies and the old override is gone"
  Ok ElapsedMs(t0) >= 550, "cmd_delay_ms delays the answer (" & Round(ElapsedMs(t0)) & " ms)"
  SetHostConfig "cmd_result=0"
  t0 = NowMs()
  Eq HostSend(2050), 0, "a result of 0 is returned as 0"
  Ok ElapsedMs(t0) < LimitMs(550), "no delay once cmd_delay_ms is gone (" & Round(ElapsedMs(t0)) & " ms)"

  ' ---- "GW" requests ----
  SetHostConfig "answer.SP=C:\Windows\" & vbCrLf & "answer.A=L"
  reply = HostAsk("SP")
  Ok InStr(reply, "delivered=1") > 0, "GW request delivered: " & Replace(reply, vbCrLf, " | ")
  Ok InStr(reply, "reply dwData=5752 cb=24 text=C:\Windows\" & vbCrLf) > 0, _
    "GW SP is answered with RW, UTF-16 text and a terminating NUL (cb=24)"
  lines = HostLogArray("COPYDATA ")
  Ok UBound(lines) = 0, "one COPYDATA line per request"
  Ok CDbl("0" & LogField(lines(0), "from")) > 0, "COPYDATA names the sender window: " & lines(0)
  Eq Replace(lines(0), " from=" & LogField(lines(0), "from") & " ", " "), _
    "COPYDATA code=GW dwData=5747 cb=3 from_class=OmbriskStandInClient bytes=53 50 00", _
    "the request is logged with code, size, sender class and bytes"
  Ok InStr(HostAsk("A"), "text=L" & vbCrLf) > 0, "GW A answered with the configured side"
  SetHostConfig "answer.R=ansi " & Chr(228) & vbCrLf & "answer_code.R=RA" & vbCrLf & "answer.U=wide " & Chr(228)
  Ok InStr(HostAsk("R"), "reply dwData=4152 cb=7 text=ansi " & Chr(228) & vbCrLf) > 0, _
    "answer_code.R=RA answers in ANSI with one NUL"
  Ok InStr(HostAsk("U"), "reply dwData=5752 cb=14 text=wide " & Chr(228) & vbCrLf) > 0, _
    "a non-ASCII answer from the UTF-16 config arrives as UTF-16"
  Eq HostLogLines("ANSWER "), "ANSWER SP code=RW cb=24 delivered=1" & vbCrLf & "ANSWER A code=RW cb=4 delivered=1" & _
    vbCrLf & "ANSWER R code=RA cb=7 delivered=1" & vbCrLf & "ANSWER U code=RW cb=14 delivered=1", "answers are logged"
  reply = HostAsk("TP")
  Ok InStr(reply, "delivered=1") > 0 And InStr(reply, "reply ") = 0, "a request without answer stays silent"
  SetHostConfig "answer.SP=C:\Windows\" & vbCrLf & "ignore.SP=1"
  reply = HostAsk("SP")
  Ok InStr(reply, "reply ") = 0, "ignore.SP=1 silences a configured answer"

  ' ---- the log can be cleared ----
  ClearHostLog
  Eq HostLogCount("READY"), 0, "ClearHostLog removes the READY line"
  Eq HostHwnd(), 0, "HostHwnd is 0 without a READY line"
  HostPost 4242
  Ok WaitLog("CMD posted 4242", 1, 5000), "events after clearing are logged again"
  Eq HostLogCount(""), 1, "exactly one line after clearing"

  ' ---- debug output capture (through a child process, like the DLL's OutputDebugStringA) ----
  RunWait Quote(STANDIN_EXE) & " ctl debug " & Quote("tab" & vbTab & "x " & Chr(228) & " back\slash")
  longText = String(400, "y")
  RunWait Quote(STANDIN_EXE) & " ctl debug " & longText
  dbg = DebugArray()
  Ok UBound(dbg) >= 1, "DebugArray finds the debug strings (" & (UBound(dbg) + 1) & ")"
  If UBound(dbg) >= 1 Then
    Eq dbg(UBound(dbg) - 1), "tab" & vbTab & "x " & Chr(228) & " back\slash", "escapes are undone"
    Ok Right(dbg(UBound(dbg)), 3) = "..." And Len(dbg(UBound(dbg))) < 400, _
      "a long debug string arrives cut, marked with ... (length " & Len(dbg(UBound(dbg))) & ")"
  End If

  ' ---- stop ----
  StopHost
  lines = HostLogArray("")
  Eq lines(UBound(lines)), "CLOSE", "the host logs CLOSE last"
  Eq HostSend(2050), 255, "no host after StopHost"
End If

' ---- the automation server ----
If DLL_REGISTERED Then
  If StartHost("") Then
    Set helper = CreateObject("Ombrisk.Helper")
    Ok helper.IsRunningTC, "IsRunningTC is true while the host runs"
    ClearHostLog
    Ok helper.SendCommand(2050), "SendCommand 2050 reports success"
    Ok WaitLog("CMD posted 2050", 1, 5000), "SendCommand 2050 posts the command: " & HostLogLines("CMD")
    Set helper = Nothing
    StopHost
  End If
Else
  WScript.Echo "# skip: " & DLL_PATH & " is not built, the automation server part did not run"
End If

Finish
