// open-in-other-panel.js
//
// Opens the folder of the active (source) panel in the other (target) panel as well, so both
// panels show the same folder. With /tab the folder opens in a new tab of the other panel.
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "C:\Scripts\open-in-other-panel.js" /q          same folder on both sides
//                      "C:\Scripts\open-in-other-panel.js" /tab /q     in a new tab
//          Without /q a message box names the folder.
// Exit code 0 when the file manager accepted the change, 1 otherwise, 2 when Ombrisk.Helper
// cannot be created.

var quiet = false, newTab = false;
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i)).toLowerCase();
  if (arg == "/q") quiet = true;
  if (arg == "/tab") newTab = true;
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

var folder = h.GetSrcPath();
if (folder == "") {
  say("The file manager is not running or did not tell its source folder.");
  WScript.Quit(1);
}
if (!h.SetTrgPath(folder, newTab)) {
  say("The file manager refused to open " + folder + " in the other panel.");
  WScript.Quit(1);
}
say("Opened " + folder + (newTab ? " in a new tab of the other panel." : " in the other panel."));
WScript.Quit(0);
