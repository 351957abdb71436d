' timeout: 120
' The stand-in's configuration and control edge cases: the three file encodings it reads,
' how lines are parsed, hidden start and command 2016, and how `ctl start`/`ctl stop` fail.

Dim exe, cfg, rc, reply

ExpectFromHost "expect_cmd=6,2015,2016" & vbCrLf & "expect_gw=X,sp"
exe = Quote(STANDIN_EXE)
cfg = HostConfigPath()

' ---- control failures ----
Eq RunWait(exe & " ctl stop"), 0, "ctl stop with no host running succeeds"
WriteTextFile cfg, "caption=no log line" & vbCrLf
Eq RunWait(exe & " ctl start " & Quote(cfg)), 2, "ctl start refuses a configuration without log="
Eq RunWait(exe & " ctl start " & Quote(TEST_DIR & "missing.cfg")), 2, "ctl start refuses a missing configuration"
WriteTextFile cfg, "log=" & TEST_DIR & "no\such\folder\host.log" & vbCrLf
Eq RunWait(exe & " ctl start " & Quote(cfg)), 1, "ctl start reports a host that ends before it is ready"
Eq RunWait(exe & " ctl send 1"), 255, "ctl send without a host"
Eq RunWait(exe & " ctl visible"), -2, "ctl visible without a host"
Eq RunWait(exe & " ctl bogus"), 2, "an unknown ctl verb is a usage error"

' ---- hidden start; command 2016 shows the window ----
If StartHost("hidden=1") Then
  Eq RunWait(exe & " ctl visible"), 0, "hidden=1 starts the window hidden"
  Eq HostSend(2015), 1, "another command"
  Eq RunWait(exe & " ctl visible"), 0, "other commands leave it hidden"
  Eq HostSend(2016), 1, "command 2016"
  Eq RunWait(exe & " ctl visible"), 1, "command 2016 shows the window"
  Eq HostLogLines("SHOW"), "SHOW", "and logs SHOW once"
  StopHost
End If
If StartHost("") Then
  Eq RunWait(exe & " ctl visible"), 1, "without hidden= the window starts visible"

  ' ---- line parsing ----
  ' Keys are trimmed, values are not (numbers still read); "#" starts a comment line; a line
  ' without "=" is ignored; a later line wins; a value that is no number is ignored.
  SetHostConfig " cmd_result.5 = 44" & vbCrLf & "#cmd_result.6=66" & vbCrLf & "just text" & vbCrLf & _
    "cmd_result.7=70" & vbCrLf & "cmd_result.7=71" & vbCrLf & "cmd_result.8=many" & vbCrLf & _
    "answer.SP= spaced " & vbCrLf & "answer.EQ=a=b"
  Eq HostSend(5), 44, "a key with spaces around it is found; a number value with spaces is read"
  Eq HostSend(6), 1, "a # line is a comment"
  Eq HostSend(7), 71, "the later of two equal keys wins"
  Eq HostSend(8), 1, "a value that is not a number leaves the default"
  Ok InStr(HostAsk("SP"), "text= spaced " & vbCrLf) > 0, "an answer keeps its spaces"
  Ok InStr(HostAsk("EQ"), "text=a=b" & vbCrLf) > 0, "a value may hold ="
  Ok InStr(HostAsk("sp"), "reply ") = 0, "keys are matched with their case"

  ' ---- encodings: ANSI, UTF-8, UTF-16 ----
  ' The config is rewritten in place here (not moved), as a test might do by hand.
  WriteTextFile cfg, HostConfigText("answer.X=ansi " & Chr(228))
  Ok InStr(HostAsk("X"), "text=ansi " & Chr(228) & vbCrLf) > 0, "an ANSI configuration is read in the ANSI code page"
  WriteTextFile cfg, HostConfigText("answer.X=utf8 " & Chr(&HC3) & Chr(&HA4))
  Ok InStr(HostAsk("X"), "text=utf8 " & Chr(228) & vbCrLf) > 0, "valid UTF-8 is read as UTF-8"
  WriteTextFile cfg, Chr(&HEF) & Chr(&HBB) & Chr(&HBF) & HostConfigText("answer.X=bom")
  Ok InStr(HostAsk("X"), "text=bom" & vbCrLf) > 0, "a UTF-8 BOM at the start is skipped"
  WriteUnicodeFile cfg, HostConfigText("answer.X=utf16 " & Chr(228))
  Ok InStr(HostAsk("X"), "text=utf16 " & Chr(228) & vbCrLf) > 0, "a UTF-16 configuration is read"

  ' A configuration that disappears keeps the values read last.
  g_fso.DeleteFile cfg, True
  Ok InStr(HostAsk("X"), "text=utf16 " & Chr(228) & vbCrLf) > 0, "a missing configuration keeps the last values"

  ' ---- copydata results ----
  SetHostConfig "copydata_result=3" & vbCrLf & "copydata_result.GW=5" & vbCrLf & "answer.X=x"
  reply = HostAsk("X")
  Ok InStr(reply, "result=5 delivered=1") = 1, "copydata_result.GW overrides copydata_result: " & Left(reply, 20)
  SetHostConfig "copydata_result=3"
  Ok InStr(HostAsk("X"), "result=3 delivered=1") = 1, "copydata_result applies to every code"
  StopHost
End If

' ---- strict mode: what the configuration does not declare is logged as UNEXPECTED ----
' This host logs to a ".txt" file, which the harness does not read for UNEXPECTED lines.
Dim strictLog, strictText, u
strictLog = TEST_DIR & "strict.txt"
WriteUnicodeFile cfg, "log=" & strictLog & vbCrLf & "strict=1" & vbCrLf & "expect_cmd=5, 7" & vbCrLf & _
  "cmd_result.8=3" & vbCrLf & "expect_gw=LP" & vbCrLf & "answer.Y=yes" & vbCrLf & "ignore.Z=1" & vbCrLf & _
  "expect_copydata=QQ"
If RunWait(exe & " ctl start " & Quote(cfg)) = 0 Then
  HostSend 5
  HostSend 7
  HostSend 8
  HostSend 6
  HostSend 9001
  HostAsk "LP"
  HostAsk "Y"
  HostAsk "Z"
  HostAsk "X"
  StopHost
  strictText = ReadTextFile(strictLog)
  u = JoinLines(LinesWithPrefix(strictText, "UNEXPECTED"))
  Eq u, "UNEXPECTED CMD 6" & vbCrLf & "UNEXPECTED GW X", _
    "only the undeclared command and request are unexpected (expect_cmd, cmd_result.<n>, the stand-in's own commands, expect_gw, answer., ignore. declare)"
  Eq ReadTextFile(strictLog & ".unexpected"), "UNEXPECTED CMD 6" & vbCrLf & "UNEXPECTED GW X" & vbCrLf, _
    "the same lines are kept in the .unexpected file"
  Ok InStr(strictText, "CMD sent 6 lparam=0" & vbCrLf & "UNEXPECTED CMD 6") > 0, "each right after the event it concerns"
Else
  Report False, "the strict host did not start"
End If
' Without strict=1 nothing is unexpected.
strictLog = TEST_DIR & "lax.txt"
WriteUnicodeFile cfg, "log=" & strictLog & vbCrLf
If RunWait(exe & " ctl start " & Quote(cfg)) = 0 Then
  HostSend 6
  HostAsk "X"
  StopHost
  Eq UBound(LinesWithPrefix(ReadTextFile(strictLog), "UNEXPECTED")), -1, "a host without strict=1 logs nothing as unexpected"
  Ok Not g_fso.FileExists(strictLog & ".unexpected"), "and keeps no .unexpected file"
Else
  Report False, "the lax host did not start"
End If

Finish
