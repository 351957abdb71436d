// touch-selected.js
//
// Sets the modified and last-access dates of the files selected in the active (source) panel
// to the current date and time, as "touch" does, and has the file manager read the folder
// again so that the panel shows the new dates. Folders among the selection are left alone;
// the creation date and the attributes (read-only included) are kept.
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\touch-selected.js" /q
//          Without /q a message box says how many files were changed.
// Exit code 0 when every selected file was changed, 1 when nothing was selected or a file could
// not be changed, 2 when Ombrisk.Helper cannot be created.

var quiet = false;
for (var i = 0; i < WScript.Arguments.length; i++) {
  if (String(WScript.Arguments.Item(i)).toLowerCase() == "/q") quiet = true;
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
var fso = new ActiveXObject("Scripting.FileSystemObject");

// The full paths as one string, split here (JScript reads arrays only through VBArray).
h.NoArrayReturn = true;
var names = h.GetSrcSelectedFiles(true);
if (typeof names == "undefined") {
  say("Nothing is selected, or the file manager is not running.");
  WScript.Quit(1);
}
names = names.split("\r\n");

// Now as an automation date, which getVarDate gives. A script engine without getVarDate (Wine's)
// gets the same value worked out: days since 30 December 1899, in local time.
var now = new Date();
var stamp = typeof now.getVarDate != "undefined" ? now.getVarDate()
                                                 : (now.getTime() - now.getTimezoneOffset() * 60000) / 86400000 + 25569;

var touched = 0, skipped = 0, failed = [];
for (var k = 0; k < names.length; k++) {
  if (!fso.FileExists(names[k])) {
    skipped++;
    continue;
  }
  // JScript cannot leave an argument out in the middle: the file object itself, given as the
  // creation date, keeps the file's own. Attributes are left out and stay.
  var file = fso.GetFile(names[k]);
  if (h.SetFileDateAtr(names[k], file, stamp, stamp)) touched++;
  else failed.push("  " + names[k]);
}

// The file manager shows the new dates once it reads the folder again.
var RereadSource = 540;
if (touched > 0) h.SendCommand(RereadSource);

say(touched + " file(s) dated " + now.toLocaleString() + "; " + skipped + " folder(s) or missing name(s) skipped.");
if (failed.length) {
  say("Could not change:\r\n" + failed.join("\r\n"));
  WScript.Quit(1);
}
WScript.Quit(0);
