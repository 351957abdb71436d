// main-ini-setting.js
//
// Reads or writes one setting in the file manager's main settings file (MainINI).
//
//   main-ini-setting.js                            lists the file's sections
//   main-ini-setting.js <section> <key>            shows the value
//   main-ini-setting.js <section> <key> <value>    writes the value
//   /q                                             no message (for writing from a button)
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\main-ini-setting.js" Configuration SortOrder
// When the file manager runs, the script asks it which settings file it uses; otherwise the
// file is found from the installation (environment, registry). The file manager keeps most
// settings in memory and writes them back when it closes: a value written while it runs may be
// overwritten then, and is read by it only after a restart.
// Exit code 0 on success, 1 when the value is missing or cannot be written, 2 when
// Ombrisk.Helper cannot be created.

var quiet = false, words = [];
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  if (arg.toLowerCase() == "/q") quiet = true;
  else words.push(arg);
}

function say(text) {
  if (!quiet) WScript.Echo(text);
}

var h;
try {
  h = new ActiveXObject("Ombrisk.Helper");
} catch (e) {
  WScript.Echo("Ombrisk.Helper cannot be created (" + e.message + "). Run install.cmd: the DLL " +
               "must be registered for this script host, " + WScript.FullName);
  WScript.Quit(2);
}

if (h.IsRunningTC) h.GetIniFiles();   // the files the running file manager really uses
var ini = h.MainINI;

if (words.length == 0) {
  h.NoArrayReturn = true;
  var sections = h.INIRead(ini);
  if (typeof sections == "undefined") {
    say(ini + " has no sections (or does not exist).");
    WScript.Quit(1);
  }
  say(ini + "\r\n" + sections);
} else if (words.length == 2) {
  // A marker as default tells a missing key from an empty value.
  var marker = "<missing " + new Date().getTime() + ">";
  var value = h.INIRead(ini, words[0], words[1], marker);
  if (value === marker) {
    say("[" + words[0] + "] " + words[1] + " is not set in " + ini);
    WScript.Quit(1);
  }
  say("[" + words[0] + "] " + words[1] + "=" + value);
} else if (words.length == 3) {
  if (!h.INIWrite(ini, words[0], words[1], words[2])) {
    say("Could not write to " + ini);
    WScript.Quit(1);
  }
  say("[" + words[0] + "] " + words[1] + "=" + words[2] + " written to " + ini);
} else {
  say("Usage: main-ini-setting.js [<section> <key> [<value>]] [/q]");
  WScript.Quit(1);
}
WScript.Quit(0);
