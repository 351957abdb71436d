// wintest.js: Ombrisk's conformance kit. Runs the test suite's scripts and clients on this
// machine against the kit's stand-in file manager and writes wintest-report.txt beside itself.
//
//   cscript //nologo wintest.js [/only:NAME,NAME...] [/timescale:N]
//
// NAME is a test's name as the report shows it (copydata.vbs, client.TypeLibrary_Dispatch),
// optionally after its environment (wine64:copydata.vbs). Nothing outside this folder changes
// except Ombrisk's registration for the current user (HKCU), made at the start and taken away
// at the end. It refuses to start while a window of the file manager's class exists, and stops
// when one appears that is not the kit's own stand-in.
//
// Exit code: 0 every test passed, 1 some failed, 2 the kit could not run, 3 refused.
// Plain ECMAScript 3: the script hosts of every Windows since XP (and Wine's) run it.

var sh = new ActiveXObject("WScript.Shell");
var fso = new ActiveXObject("Scripting.FileSystemObject");
var KIT = fso.GetParentFolderName(WScript.ScriptFullName);
var WORK = KIT + "\\work";
var REPORT = KIT + "\\wintest-report.txt";
var HOST_CLASS = "TTOTAL_CMD";
var TIMED_OUT = 258;  // what `standin ctl run` returns for a program that ran out of time
var PROGID = "Ombrisk.Helper";

// ---- small tools ------------------------------------------------------------------------

function q(s) { return "\"" + s + "\""; }
function echo(s) { WScript.Echo(s); }
function pad(s, n) { s = String(s); while (s.length < n) s += " "; return s; }

function run(commandLine) { return sh.Run(commandLine, 0, true); }

// Wine's ExpandEnvironmentStrings keeps the terminating NUL in its result (see docs/wine.md).
function expand(text) { return String(sh.ExpandEnvironmentStrings(text)).replace(/\x00/g, ""); }

function regRead(path) {
  try { return String(sh.RegRead(path)); } catch (e) { return null; }
}

function readFile(path, unicode) {
  if (!fso.FileExists(path) || fso.GetFile(path).Size == 0) return "";
  var f = fso.OpenTextFile(path, 1, false, unicode ? -1 : 0);
  var text = f.ReadAll();
  f.Close();
  return text;
}

function writeFile(path, text, unicode) {
  var f = fso.CreateTextFile(path, true, unicode);
  f.Write(text);
  f.Close();
}

function makeFolders(path) {
  if (fso.FolderExists(path)) return;
  makeFolders(fso.GetParentFolderName(path));
  fso.CreateFolder(path);
}

function lines(text) { return text.replace(/\r\n/g, "\n").replace(/\n$/, "").split("\n"); }

// ---- arguments ----------------------------------------------------------------------------

var only = null, timeScale = 1;
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i)), m;
  if ((m = /^\/only:(.*)$/i.exec(arg))) {
    only = {};
    var names = m[1].split(",");
    for (var k = 0; k < names.length; k++) only[names[k].toLowerCase()] = true;
  } else if ((m = /^\/timescale:([0-9.]+)$/i.exec(arg))) {
    timeScale = Number(m[1]);
  } else {
    echo("wintest: unknown argument " + arg + "\r\nUsage: cscript //nologo wintest.js [/only:NAME,...] [/timescale:N]");
    WScript.Quit(2);
  }
}

// ---- the machine --------------------------------------------------------------------------

var env = sh.Environment("Process");
var runnerBits = /64$/.test(String(env.Item("PROCESSOR_ARCHITECTURE"))) ? 64 : 32;
var osBits = runnerBits == 64 || String(env.Item("PROCESSOR_ARCHITEW6432")) != "" ? 64 : 32;
var windir = expand("%SystemRoot%");
// A program of the system folder of either bitness, as this script host must name it.
function systemProgram(bits, name) {
  if (osBits == 32 || bits == runnerBits) return windir + "\\System32\\" + name;
  return windir + (bits == 32 ? "\\SysWOW64\\" : "\\Sysnative\\") + name;
}

var ENVS = { wine: { bits: 32, folder: "x86" }, wine64: { bits: 64, folder: "x64" } };
for (var e in ENVS) {
  ENVS[e].dll = KIT + "\\" + ENVS[e].folder + "\\Ombrisk.dll";
  ENVS[e].standin = KIT + "\\" + ENVS[e].folder + "\\standin.exe";
  ENVS[e].cscript = systemProgram(ENVS[e].bits, "cscript.exe");
  ENVS[e].regsvr32 = systemProgram(ENVS[e].bits, "regsvr32.exe");
}
var STANDIN = ENVS.wine.standin;  // the 32-bit one runs everywhere

// The VBScript engine is a Feature on Demand on current Windows: its registration and its file.
function vbscriptInstalled() {
  var server = regRead("HKCR\\CLSID\\{B54F3741-5B07-11cf-A4B0-00AA004A55E8}\\InprocServer32\\");
  return server != null && fso.FileExists(expand(server));
}

// ---- never the user's file manager ----------------------------------------------------------

if (!fso.FileExists(STANDIN)) {
  echo("wintest: " + STANDIN + " is missing: unzip the whole kit and run wintest.js from its folder.");
  WScript.Quit(2);
}
if (run(q(STANDIN) + " ctl countwindows " + HOST_CLASS) != 0) {
  echo("wintest: a window of the file manager's class (" + HOST_CLASS + ") is open.\r\n" +
       "The kit drives a stand-in of that class and must not touch a real file manager: close the file\r\n" +
       "manager (or a stand-in left by an earlier run: " + q(STANDIN) + " ctl stop) and start the kit\r\n" +
       "again. Nothing was changed.");
  WScript.Quit(3);
}

if (fso.FolderExists(WORK)) fso.DeleteFolder(WORK, true);
makeFolders(WORK);
var facts = {};
run(q(STANDIN) + " ctl facts " + q(WORK + "\\facts.txt"));
var factLines = lines(readFile(WORK + "\\facts.txt", true));
for (var f = 0; f < factLines.length; f++) {
  var eq = factLines[f].indexOf("=");
  if (eq < 0) continue;
  var key = factLines[f].substring(0, eq), value = factLines[f].substring(eq + 1);
  facts[key] = facts[key] ? facts[key] + "; " + value : value;
}
var underWine = !!facts.wine;
var elevated = facts.elevated == "yes";
var hasVBScript = vbscriptInstalled();

// ---- the report ---------------------------------------------------------------------------

var report = [], totals = { PASS: 0, FAIL: 0, SKIP: 0 }, testTotals = { PASS: 0, FAIL: 0, SKIP: 0 };
function note(text) { report.push(text); }
function check(verdict, where, text) {
  totals[verdict]++;
  note(verdict + " " + where + " " + text);
}

var cv = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
note("Ombrisk conformance kit report, " + new Date().toUTCString());
note("Kit folder:        " + KIT);
note("Windows:           " + (regRead(cv + "ProductName") || "?") + (regRead(cv + "DisplayVersion") ? " " + regRead(cv + "DisplayVersion") : "") +
     ", version " + facts.windows + (regRead(cv + "UBR") ? "." + regRead(cv + "UBR") : ""));
note("Under Wine:        " + (underWine ? "yes, " + facts.wine : "no"));
note("Bits:              " + osBits + "-bit Windows, " + runnerBits + "-bit script host running the kit");
note("UI language:       " + facts.ui_language + " (user locale " + facts.user_locale + ")");
note("Keyboard layout:   " + facts.keyboard);
note("Monitors:          " + facts.monitors + ": " + facts.monitor + " (system DPI " + facts.system_dpi + ")");
note("Elevated console:  " + (facts.elevated || "unknown"));
note("VBScript:          " + (hasVBScript ? "installed" : "not installed (the .vbs tests are skipped)"));

// ---- registration for the current user ------------------------------------------------------

var envNames = osBits == 64 ? ["wine", "wine64"] : ["wine"];
var machineRegistered = [];  // Wine only: see below
function unregisterAll() {
  for (var n = 0; n < envNames.length; n++) {
    var en = ENVS[envNames[n]];
    run(q(en.regsvr32) + " /s /u /n /i:user " + q(en.dll));
  }
  for (var m = 0; m < machineRegistered.length; m++) run(q(machineRegistered[m].regsvr32) + " /s /u " + q(machineRegistered[m].dll));
}
function canCreate() {
  try { new ActiveXObject(PROGID); return true; } catch (x) { return false; }
}

echo("Registering Ombrisk for this user ...");
for (var n = 0; n < envNames.length; n++) {
  var en = ENVS[envNames[n]];
  var rc = run(q(en.regsvr32) + " /s /n /i:user " + q(en.dll));
  check(rc == 0 ? "PASS" : "FAIL", "kit registration", "the " + en.bits + "-bit DLL registered for this user (regsvr32 exit code " + rc + ")");
}
var clsid = regRead("HKCU\\Software\\Classes\\" + PROGID + "\\CLSID\\");
var machineClass = clsid && regRead("HKLM\\Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32\\");
if (machineClass) {
  check("SKIP", "kit registration", "- CreateObject uses the class registered for this user: the machine has its own registration (" + machineClass + ")");
} else if (canCreate()) {
  check("PASS", "kit registration", "CreateObject uses the class registered for this user");
} else if (underWine) {
  // Wine's COM reads the machine's classes only (docs/wine.md): in its private prefix the kit
  // registers for the machine too, and takes that away again at the end.
  check("SKIP", "kit registration", "- CreateObject uses the class registered for this user: Wine's COM reads the machine's classes only");
  for (var w = 0; w < envNames.length; w++) {
    if (run(q(ENVS[envNames[w]].regsvr32) + " /s " + q(ENVS[envNames[w]].dll)) == 0) machineRegistered.push(ENVS[envNames[w]]);
  }
} else {
  check("FAIL", "kit registration", "CreateObject uses the class registered for this user");
}
note("Registration:      for this user (HKCU)" + (machineClass ? "; the machine's own: " + machineClass : "") +
     (machineRegistered.length ? "; for the machine of this Wine prefix too" : ""));
var usable = canCreate();
if (!usable) check("FAIL", "kit registration", "this script host cannot create " + PROGID + "; no test can run");

// ---- the tests ------------------------------------------------------------------------------

// The constants every test script starts with, as the suite's harness writes them.
function jsString(v) {
  return "\"" + v.replace(/[\\"]/g, "\\$&").replace(/[^\x20-\x7e]/g, function (c) {
    return "\\u" + ("000" + c.charCodeAt(0).toString(16)).slice(-4);
  }) + "\"";
}
function prologue(lang, c) {
  var out = lang == "vbs" ? ["Option Explicit"] : [];
  for (var name in c) {
    var v = c[name], text;
    if (typeof v == "boolean") text = lang == "vbs" ? (v ? "True" : "False") : String(v);
    else if (typeof v == "number") text = String(v);
    else text = lang == "vbs" ? "\"" + v.replace(/"/g, "\"\"") + "\"" : jsString(v);
    out.push(lang == "vbs" ? "Const " + name + " = " + text : "var " + name + " = " + text + ";");
  }
  return out.join("\r\n") + "\r\n";
}

// The UNEXPECTED lines of the stand-in logs (*.log, *.log.unexpected) in a test's folder. The
// folder is listed by cmd: Wine's Files collection cannot be enumerated.
function standInUnexpected(dir) {
  var found = [], list = dir + "\\logs.txt";
  run("cmd /c dir /b " + q(dir + "\\*.log*") + " > " + q(list));
  var names = lines(readFile(list, false));
  for (var i = 0; i < names.length; i++) {
    if (!/\.log(\.unexpected)?$/i.test(names[i])) continue;
    var ls = lines(readFile(dir + "\\" + names[i], false));
    for (var j = 0; j < ls.length; j++) if (/^UNEXPECTED\b/.test(ls[j])) found.push(ls[j]);
  }
  return found;
}

// The checks a test printed, into the report; its verdict as the suite's harness gives it.
function judge(where, output, exitCode, dir) {
  var ls = lines(output), passed = -1, failed = -1, notOk = false;
  for (var j = 0; j < ls.length; j++) {
    var t = ls[j], mm;
    if ((mm = /^ok (\d+) - (.*)$/.exec(t))) check("PASS", where, mm[1] + " - " + mm[2]);
    else if ((mm = /^not ok (\d+) - (.*)$/.exec(t))) { check("FAIL", where, mm[1] + " - " + mm[2]); notOk = true; }
    else if ((mm = /^# skip: (.*)$/.exec(t))) check("SKIP", where, "- " + mm[1]);
    else if ((mm = /^DONE passed=(\d+) failed=(\d+)\s*$/.exec(t))) { passed = Number(mm[1]); failed = Number(mm[2]); }
  }
  var unexpected = standInUnexpected(dir);
  for (var u = 0; u < unexpected.length; u++) check("FAIL", where, "- the stand-in received: " + unexpected[u]);
  if (exitCode == TIMED_OUT) return "timed out";
  if (exitCode != 0) return "exit code " + exitCode;
  if (passed < 0) return "no DONE line: the test stopped early";
  if (notOk || failed > 0) return failed + " check(s) failed";
  if (passed == 0) return "no check passed";
  if (unexpected.length) return "the stand-in received " + unexpected.length + " unexpected thing(s)";
  return "";
}

function skipReason(t) {
  if (t.rule == "kit") return "needs the Wine bench: " + t.reason;
  if (t.rule == "windows" && !underWine) return "not on Windows: " + t.reason;
  if (t.rule == "wine" && underWine) return "not under Wine: " + t.reason;
  if (t.rule == "admin" && !underWine && !elevated) return "needs an elevated console: " + t.reason;
  if (/\.vbs$/i.test(t.name) && !hasVBScript) return "VBScript is not installed";
  return "";
}

function runScript(t, en, dir) {
  var lang = /\.vbs$/i.test(t.name) ? "vbs" : "js";
  var constants = {
    TEST_DIR: dir + "\\", STANDIN_EXE: en.standin, DATA_DIR: KIT + "\\tests\\data\\", DEBUG_FILE: dir + "\\debug.txt",
    SCRIPT_NAME: t.name, DLL_PATH: en.dll, DLL_REGISTERED: true, CSCRIPT_BITS: en.bits, DLL32_PATH: ENVS.wine.dll,
    TIME_SCALE: timeScale, SOAK_SCALE: 0.1
  };
  var text = prologue(lang, constants) + readFile(KIT + "\\" + t.file.replace(/\//g, "\\"), false);
  // A folder name outside ASCII: UTF-16, which Windows' script hosts read (Wine's read ANSI only).
  writeFile(dir + "\\run." + lang, text, /[^\x00-\x7f]/.test(text));
  var rc = run(q(en.standin) + " ctl run " + Math.round(t.timeout * timeScale * 1000) + " " + q(dir + "\\stdout.txt") + " " +
               q(dir + "\\debug.txt") + " " + q(en.cscript) + " //nologo " + q(dir + "\\run." + lang));
  return { exitCode: rc, output: readFile(dir + "\\stdout.txt", false) };
}

function runClient(t, en, dir) {
  var places = { TEST_DIR: dir, DATA_DIR: KIT + "\\tests\\data", DLL_PATH: en.dll, HOST_CONFIG: dir + "\\host.cfg",
                 HOST_LOG: dir + "\\host.log" };
  var args = "", host = [];
  for (var j = 0; j < t.extra.length; j++) {
    var x = t.extra[j].substring(2);
    for (var p in places) x = x.split("{" + p + "}").join(places[p]);
    if (t.extra[j].charAt(0) == "H") host.push(x);
    else args += " " + q(x);
  }
  if (host.length) {
    writeFile(places.HOST_CONFIG, ["log=" + places.HOST_LOG, "strict=1"].concat(host).join("\r\n") + "\r\n", false);
    if (run(q(en.standin) + " ctl start " + q(places.HOST_CONFIG)) != 0) return { exitCode: -1, output: "" };
  }
  var rc = run(q(en.standin) + " ctl run " + Math.round(t.timeout * timeScale * 1000) + " " + q(dir + "\\stdout.txt") + " " +
               q(dir + "\\debug.txt") + " " + q(KIT + "\\" + t.file.replace(/\//g, "\\")) + " " + q(dir + "\\report.txt") + args);
  return { exitCode: rc, output: readFile(dir + "\\report.txt", false) };
}

var tests = [], manifest = lines(readFile(KIT + "\\tests.txt", false));
for (var l = 0; l < manifest.length; l++) {
  var fl = manifest[l].split("\t");
  if (fl.length < 7 || !ENVS[fl[1]]) continue;
  var shown = fl[0] == "client" ? "client." + fl[2] : fl[2];
  tests.push({ kind: fl[0], env: fl[1], name: shown, file: fl[3], timeout: Number(fl[4]), rule: fl[5], reason: fl[6],
               extra: fl.slice(7) });
}

var stopped = "", ran = 0;
for (var ti = 0; ti < tests.length && !stopped && usable; ti++) {
  var t = tests[ti], en = ENVS[t.env];
  var inEnv = false;
  for (var ei = 0; ei < envNames.length; ei++) if (envNames[ei] == t.env) inEnv = true;
  if (!inEnv) continue;
  if (only && !only[t.name.toLowerCase()] && !only[(t.env + ":" + t.name).toLowerCase()]) continue;
  var where = t.env + " " + t.name, why = skipReason(t);
  if (why) {
    check("SKIP", where, "- " + why);
    testTotals.SKIP++;
    note("TEST SKIP " + where);
    continue;
  }
  var dir = WORK + "\\" + t.env + "\\" + t.name;
  makeFolders(dir);
  echo(pad(where, 60) + " ...");
  var started = new Date().getTime(), verdict;
  try {
    var result = t.kind == "client" ? runClient(t, en, dir) : runScript(t, en, dir);
    run(q(en.standin) + " ctl stop");
    verdict = judge(where, result.output, result.exitCode, dir);
  } catch (x) {
    verdict = "the runner failed: " + x.message + " (" + x.number + ")";
    check("FAIL", where, "- " + verdict);
  }
  var seconds = Math.round((new Date().getTime() - started) / 100) / 10;
  testTotals[verdict ? "FAIL" : "PASS"]++;
  note("TEST " + (verdict ? "FAIL" : "PASS") + " " + where + (verdict ? " (" + verdict + ")" : "") + " in " + seconds + " s");
  echo(pad(where, 60) + " " + (verdict ? "FAIL (" + verdict + ")" : "PASS") + ", " + seconds + " s");
  ran++;
  if (run(q(STANDIN) + " ctl foreignhosts") != 0) {
    stopped = "a window of the file manager's class that is not the kit's stand-in appeared; the kit stopped";
  }
}

// ---- the end ------------------------------------------------------------------------------

unregisterAll();
var left = clsid ? regRead("HKCU\\Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32\\") : null;
check(left == null ? "PASS" : "FAIL", "kit registration", "the registration for this user is taken away again");
if (stopped) check("FAIL", "kit", "- " + stopped);
note("Tests: " + testTotals.PASS + " passed, " + testTotals.FAIL + " failed, " + testTotals.SKIP + " skipped (" + ran + " run)");
note("Checks: " + totals.PASS + " passed, " + totals.FAIL + " failed, " + totals.SKIP + " skipped");
writeFile(REPORT, report.join("\r\n") + "\r\n", true);
echo((stopped ? stopped + "\r\n" : "") + report[report.length - 2] + "\r\n" + report[report.length - 1] + "\r\nReport: " + REPORT);
WScript.Quit(stopped ? 3 : totals.FAIL ? 1 : ran || testTotals.SKIP ? 0 : 2);
