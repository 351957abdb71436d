// show-filters.js
//
// Shows the file filter of both panels of the file manager (what the path bar shows after the
// folder, such as *.txt), and which panel is the active one.
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\show-filters.js" /q
// Under wscript.exe the result comes in a message box, under cscript.exe on the console.
// With /q nothing is shown when the file manager is not running (the exit code says it).
// Exit code 0, 1 when the file manager is not running, 2 when Ombrisk.Helper cannot be created.

var quiet = false;
for (var i = 0; i < WScript.Arguments.length; i++) {
  if (String(WScript.Arguments.Item(i)).toLowerCase() == "/q") quiet = true;
}

var h;
try {
  h = new ActiveXObject("Ombrisk.Helper");
} catch (e) {
  WScript.Echo("Ombrisk.Helper cannot be created (" + e.message + "). Run install.cmd: the DLL " +
               "must be registered for this script host, " + WScript.FullName);
  WScript.Quit(2);
}

function shown(filter) {
  return filter == "" ? "(no filter)" : filter;
}

// GetFilter is a property with an argument: JScript reads it with a call. It gives Empty
// (undefined here) when the file manager does not run, a text (maybe empty) otherwise.
var left = h.GetFilter("L");
if (typeof left == "undefined") {
  if (!quiet) WScript.Echo("The file manager is not running.");
  WScript.Quit(1);
}
var active = h.GetInfo("A");     // L or R: the active (source) panel
WScript.Echo("Left panel:  " + shown(left) + (active == "L" ? "   (active)" : "") + "\r\n" +
             "Right panel: " + shown(h.GetFilter("R")) + (active == "R" ? "   (active)" : ""));
WScript.Quit(0);
