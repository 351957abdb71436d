// timeout: 120
// The stand-in host seen from JScript: start, commands, a "GW" answer, the log helpers,
// debug capture, stop; then the automation server once it is registered.

ExpectFromHost("expect_cmd=2050,2051,2052");
var cjk = "D:\\" + String.fromCharCode(0x4E2D, 0x6587) + " \u00e4\\";
if (StartHost("cmd_result.2050=3\r\nanswer.TP=" + cjk)) {
  var all = HostLogLines("");
  Ok(all.length == 1 && all[0].indexOf("READY hwnd=") == 0, "the log holds just the READY line: " + all.join(" | "));
  Ok(HostHwnd() > 0, "HostHwnd reads the handle");
  Eq(HostSend(2050), 3, "cmd_result.2050 sets the sent command's result");
  Eq(HostSend(2051), 1, "other commands return the default 1");
  HostPost(2052);
  Ok(WaitLog("CMD posted", 1, 5000), "posted command logged");
  var cmds = HostLogLines("CMD ");
  Eq(cmds.join("|"), "CMD sent 2050 lparam=0|CMD sent 2051 lparam=0|CMD posted 2052 lparam=0",
     "commands logged in order with sent/posted");

  // Text outside the ANSI code page: the config is written in UTF-16 and the answer comes
  // back in UTF-16 (8 characters and U+0000: cb=18).
  var reply = HostAsk("TP");
  Ok(reply.indexOf("reply dwData=5752 cb=18 text=" + cjk + "\r\n") >= 0,
     "GW TP answered with the configured CJK path: " + reply.replace(/\r\n/g, " | "));
  Eq(LogField(HostLogLines("COPYDATA ")[0], "bytes"), "54", "LogField stops at a space");

  SetHostConfig("answer.TP=E:\\");
  Ok(HostAsk("TP").indexOf("text=E:\\\r\n") >= 0, "a changed answer is used at once");
  Eq(HostSend(2050), 1, "the override is gone with the new config");

  // On the command line a quote inside an argument is written \".
  RunWait(Quote(STANDIN_EXE) + " ctl debug " + Quote("quote\\\" and\ttab"));
  var dbg = DebugLines();
  Ok(dbg.length >= 1, "DebugLines finds the debug string");
  if (dbg.length >= 1) Eq(dbg[dbg.length - 1], "quote\" and\ttab", "escaped quote and tab are undone");

  StopHost();
  var lines = HostLogLines("");
  Eq(lines[lines.length - 1], "CLOSE", "CLOSE is the last line");
  Eq(HostSend(1), 255, "no host after StopHost");
}

if (DLL_REGISTERED) {
  if (StartHost("")) {
    var helper = new ActiveXObject("Ombrisk.Helper");
    Ok(helper.IsRunningTC, "IsRunningTC is true while the host runs");
    ClearHostLog();
    Ok(helper.SendCommand(2050), "SendCommand 2050 reports success");
    Ok(WaitLog("CMD posted 2050", 1, 5000), "SendCommand 2050 posts the command");
    helper = null;
    CollectGarbage();
    StopHost();
  }
} else {
  WScript.Echo("# skip: " + DLL_PATH + " is not built, the automation server part did not run");
}

Finish();
