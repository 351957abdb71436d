// Library of the Wine script tests (JScript). The harness puts it between the generated
// constants (TEST_DIR, STANDIN_EXE, DATA_DIR, DEBUG_FILE, SCRIPT_NAME, DLL_PATH,
// DLL_REGISTERED, CSCRIPT_BITS, DLL32_PATH, TIME_SCALE) and the test itself. Same names as lib.vbs; lists come back as JS arrays.
// Wine's JScript has no WScript.Sleep or WScript.StdOut; WScript.Echo(true) prints -1.

var g_passed = 0;
var g_failed = 0;
var g_shell = new ActiveXObject("WScript.Shell");
var g_fso = new ActiveXObject("Scripting.FileSystemObject");

// ---- reporting -----------------------------------------------------------------------

function Report(good, msg) {
  if (good) g_passed++; else g_failed++;
  WScript.Echo((good ? "ok " : "not ok ") + (g_passed + g_failed) + " - " + msg);
}

function Ok(cond, msg) {
  Report(!!cond, msg);
}

// Compares with ===; on failure prints both values with their typeof.
function Eq(actual, expected, msg) {
  var good = SameValue(actual, expected);
  Report(good, msg + (good ? "" : " (got " + Describe(actual) + ", expected " + Describe(expected) + ")"));
}

// In JScript Eq already tells types apart; kept so tests read the same in both languages.
function EqType(actual, expected, msg) {
  Eq(actual, expected, msg);
}

function SameValue(a, b) {
  // Automation dates arrive as typeof "date" objects that === never matches.
  if (typeof a == "date" || typeof b == "date") return typeof a == typeof b && a - b == 0;
  return a === b;
}

function Describe(v) {
  var s;
  try { s = String(v); } catch (e) { s = "?"; }
  return "[" + s + "] " + typeof v;
}

// Reports a part of the test that did not run, with the reason. The harness fails the script
// unless this skip is on its allow-list for the platform (ALLOWED_SKIPS in scripttest.py).
function Skip(reason) {
  WScript.Echo("# skip: " + reason);
}

function Finish() {
  WScript.Echo("DONE passed=" + g_passed + " failed=" + g_failed);
  WScript.Quit(g_failed > 0 ? 1 : 0);
}

// A SAFEARRAY from an automation object ("unknown" to typeof) as a JS array.
function ToArray(v) {
  return new VBArray(v).toArray();
}

// ---- processes and time ------------------------------------------------------------------

function Quote(s) {
  return "\"" + s + "\"";
}

function RunWait(commandLine) {
  return g_shell.Run(commandLine, 0, true);
}

// Waits about ms milliseconds (WScript.Sleep is missing; a process start adds some 50 ms).
function SleepMs(ms) {
  RunWait(Quote(STANDIN_EXE) + " ctl sleep " + Math.round(ms));
}

function NowMs() {
  return new Date().getTime();
}

// An upper bound on a wait, scaled by the harness's time factor (TIME_SCALE, from the
// environment variable OMBRISK_TIME_SCALE, default 1).
function LimitMs(ms) {
  return ms * TIME_SCALE;
}

function ElapsedMs(startMs) {
  return NowMs() - startMs;
}

// ---- files ---------------------------------------------------------------------------

// Whole text of a file in the ANSI code page; "" when missing or empty. Retries about 2 s.
function ReadTextFile(path) {
  return ReadFileAs(path, 0);
}

// The same for a UTF-16LE file with BOM (what WriteUnicodeFile writes).
function ReadUnicodeFile(path) {
  return ReadFileAs(path, -1);
}

function ReadFileAs(path, format) {
  for (var tries = 0; tries < 20; tries++) {
    try {
      if (!g_fso.FileExists(path) || g_fso.GetFile(path).Size == 0) return "";
      var f = g_fso.OpenTextFile(path, 1, false, format);
      var text = f.ReadAll();
      f.Close();
      return text;
    } catch (e) {
      SleepMs(100);
    }
  }
  Report(false, "cannot read " + path);
  return "";
}

// Creates or replaces a file with text in the ANSI code page; true on success.
function WriteTextFile(path, text) {
  return WriteFileAs(path, text, false);
}

// The same in UTF-16LE with BOM, for text outside the ANSI code page.
function WriteUnicodeFile(path, text) {
  return WriteFileAs(path, text, true);
}

function WriteFileAs(path, text, unicode) {
  for (var tries = 0; tries < 20; tries++) {
    try {
      var f = g_fso.CreateTextFile(path, true, unicode);
      f.Write(text);
      f.Close();
      return true;
    } catch (e) {
      SleepMs(100);
    }
  }
  Report(false, "cannot write " + path);
  return false;
}

function LinesWithPrefix(text, prefix) {
  var all = text.split("\n");
  var picked = [];
  for (var i = 0; i < all.length; i++) {
    var line = all[i].replace(/\r$/, "");
    if (line != "" && line.substr(0, prefix.length) == prefix) picked.push(line);
  }
  return picked;
}

// ---- the stand-in host ---------------------------------------------------------------------

function HostConfigPath() { return TEST_DIR + "host.cfg"; }
function HostLogPath() { return TEST_DIR + "host.log"; }

var g_hostExpect = "";

// Declares what every host started or reconfigured from now on expects (see lib.vbs).
function ExpectFromHost(lines) {
  g_hostExpect = lines;
}

// The host runs in strict mode (see lib.vbs): undeclared commands, requests, keys and
// messages are logged as UNEXPECTED and fail the script; strict=0 turns it off.
function HostConfigText(lines) {
  return "log=" + HostLogPath() + "\r\nstrict=1\r\n" + (g_hostExpect ? g_hostExpect + "\r\n" : "") +
      (lines ? lines + "\r\n" : "");
}

// Starts the host with log=TEST_DIR\host.log plus the given lines ("\r\n"-separated) and waits
// until it is ready. Reports a failure only; returns true when the host runs. The
// configuration is written in UTF-16, so answers may hold any character.
function StartHost(extraConfigLines) {
  WriteUnicodeFile(HostConfigPath(), HostConfigText(extraConfigLines));
  var rc = RunWait(Quote(STANDIN_EXE) + " ctl start " + Quote(HostConfigPath()));
  if (rc != 0) Report(false, "stand-in host did not start (ctl start exit code " + rc + ")");
  return rc == 0;
}

// Replaces the running host's configuration; moved into place so it is never read half-written.
function SetHostConfig(lines) {
  var tmp = HostConfigPath() + ".new";
  WriteUnicodeFile(tmp, HostConfigText(lines));
  if (g_fso.FileExists(HostConfigPath())) g_fso.DeleteFile(HostConfigPath(), true);
  g_fso.MoveFile(tmp, HostConfigPath());
}

function StopHost() {
  RunWait(Quote(STANDIN_EXE) + " ctl stop");
}

function HostLog() {
  return ReadTextFile(HostLogPath());
}

// The log lines that begin with prefix, as an array.
function HostLogLines(prefix) {
  return LinesWithPrefix(HostLog(), prefix);
}

function HostLogArray(prefix) {
  return HostLogLines(prefix);
}

function HostLogCount(prefix) {
  return HostLogLines(prefix).length;
}

function ClearHostLog() {
  WriteTextFile(HostLogPath(), "");
}

function WaitLog(prefix, count, timeoutMs) {
  var t0 = NowMs();
  for (;;) {
    if (HostLogCount(prefix) >= count) return true;
    if (ElapsedMs(t0) >= timeoutMs) return false;
    SleepMs(50);
  }
}

// Value of "key=" in a log line ("" when absent); values end at a space.
function LogField(line, key) {
  var m = (" " + line).match(new RegExp(" " + key + "=(\\S*)"));
  return m ? m[1] : "";
}

// The host window's handle from the READY line, as a signed 32-bit number (0 when none).
function HostHwnd() {
  var lines = HostLogLines("READY ");
  if (lines.length == 0) return 0;
  return Number(LogField(lines[0], "hwnd")) | 0;
}

function HostSend(n) {
  return RunWait(Quote(STANDIN_EXE) + " ctl send " + n);
}

function HostPost(n) {
  return RunWait(Quote(STANDIN_EXE) + " ctl post " + n);
}

// Sends a "GW" request from a separate process; see lib.vbs for the text returned.
function HostAsk(text) {
  var out = TEST_DIR + "ask.txt";
  if (g_fso.FileExists(out)) g_fso.DeleteFile(out, true);
  RunWait(Quote(STANDIN_EXE) + " ctl ask " + Quote(text) + " " + Quote(out));
  return ReadUnicodeFile(out);
}

// Starts a second stand-in next to the host; see lib.vbs.
function StartNamedHost(name, extraConfigLines) {
  var cfg = TEST_DIR + name + ".cfg";
  WriteUnicodeFile(cfg, "log=" + TEST_DIR + name + ".log\r\nstrict=1\r\n" + (g_hostExpect ? g_hostExpect + "\r\n" : "") +
      extraConfigLines + "\r\n");
  var rc = RunWait(Quote(STANDIN_EXE) + " ctl start " + Quote(cfg));
  if (rc != 0) Report(false, "stand-in " + name + " did not start (ctl start exit code " + rc + ")");
  return rc == 0;
}

function NamedHostLog(name) {
  return ReadTextFile(TEST_DIR + name + ".log");
}

// ---- keys as the host saw them -----------------------------------------------------------

// KEYDOWN lines without the library's sentinel and mask keys (vk 232, 255) as "+^%<vk>[e]"
// tokens; see lib.vbs.
function KeyDownsOf(logText) {
  var lines = LinesWithPrefix(logText, "KEYDOWN "), out = [];
  for (var i = 0; i < lines.length; i++) {
    var vk = LogField(lines[i], "vk");
    if (vk == "232" || vk == "255") continue;
    out.push((LogField(lines[i], "shift") == "1" ? "+" : "") + (LogField(lines[i], "ctrl") == "1" ? "^" : "") +
             (LogField(lines[i], "alt") == "1" ? "%" : "") + vk + (LogField(lines[i], "ext") == "1" ? "e" : ""));
  }
  return out.join(" ");
}

// The characters of the CHAR lines, as a string (any code).
function TypedOf(logText) {
  var lines = LinesWithPrefix(logText, "CHAR "), s = "";
  for (var i = 0; i < lines.length; i++) s += String.fromCharCode(Number(LogField(lines[i], "code")));
  return s;
}

function HostKeyDowns() {
  return KeyDownsOf(HostLog());
}

function HostTyped() {
  return TypedOf(HostLog());
}

// ---- debug output ------------------------------------------------------------------------

function DebugOutput() {
  return ReadTextFile(DEBUG_FILE);
}

// The texts passed to OutputDebugStringA, oldest first, as an array; see lib.vbs for Wine's format.
function DebugLines() {
  var all = DebugOutput().split("\n");
  var marker = ":debugstr:OutputDebugStringA \"";
  var picked = [];
  for (var i = 0; i < all.length; i++) {
    var line = all[i].replace(/\r$/, "");
    var p = line.indexOf(marker);
    if (p < 0) continue;
    line = line.substr(p + marker.length);
    if (line.substr(line.length - 4) == "\"...") picked.push(UnescapeDebug(line.substr(0, line.length - 4)) + "...");
    else picked.push(UnescapeDebug(line.substr(0, line.length - 1)));
  }
  return picked;
}

function DebugArray() {
  return DebugLines();
}

function UnescapeDebug(s) {
  return s.replace(/\\(x[0-9a-fA-F]{2}|.)/g, function (all, c) {
    if (c == "n") return "\n";
    if (c == "r") return "\r";
    if (c == "t") return "\t";
    if (c.charAt(0) == "x" && c.length == 3) return String.fromCharCode(parseInt(c.substr(1), 16));
    return c;
  });
}

// ---- the example scripts (examples/) ----------------------------------------------------

var g_exampleExit = -1;

// The folder of the example scripts, with a trailing "\".
function ExamplesDir() {
  return g_fso.GetAbsolutePathName(DATA_DIR + "..\\..\\examples") + "\\";
}

// Runs examples\<name> with cscript, as a button of the host would, with args as they would
// stand on its command line. Returns what it printed, without the last line end; its exit code
// is left in g_exampleExit.
function RunExample(name, args) {
  var out = TEST_DIR + "example-output.txt";
  if (g_fso.FileExists(out)) g_fso.DeleteFile(out, true);
  g_exampleExit = RunWait("cmd /c cscript //nologo " + Quote(ExamplesDir() + name) + " " + args + " > " + Quote(out));
  return ReadTextFile(out).replace(/\r\n$/, "");
}
