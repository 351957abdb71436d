// copy-selected-names.js
//
// Copies the names selected in the active (source) panel of the file manager to the clipboard,
// one name per line. With /full every name comes with its full path.
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "C:\Scripts\copy-selected-names.js"          names only
//                      "C:\Scripts\copy-selected-names.js" /full    full paths
//          Add /q to skip the message box that says how many names were copied.
// Under cscript.exe the message is printed instead. Exit code 0 when names were copied, 1 when
// nothing was copied, 2 when Ombrisk.Helper cannot be created.

var quiet = false, full = false;
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i)).toLowerCase();
  if (arg == "/q") quiet = true;
  if (arg == "/full") full = true;
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

if (!h.IsRunningTC) {
  say("The file manager is not running.");
  WScript.Quit(1);
}

// One string with a CR LF between the names is just what the clipboard should get.
h.NoArrayReturn = true;
var names = h.GetSrcSelectedFiles(full);
if (typeof names == "undefined") {
  say("Nothing was selected; the clipboard is unchanged.");
  WScript.Quit(1);
}
h.SetTextToClip(names);
say(names.split("\r\n").length + " name(s) copied to the clipboard.");
WScript.Quit(0);
