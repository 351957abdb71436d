// equalise-panels.js
//
// Moves the separator between the two file panels to the middle of the window, so both panels
// are equally wide. Give a number to move it elsewhere: 30 makes the left panel 30 % wide.
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\equalise-panels.js" /q          both panels 50 %
//                      "%LOCALAPPDATA%\Ombrisk\examples\equalise-panels.js" 30 /q       left panel 30 %
// The separator is dragged with the mouse, so leave the mouse alone for that moment; the mouse
// pointer goes back where it was. Without /q a message shows the old and new position.
// Exit code 0 when the separator was found and moved, 1 otherwise, 2 when Ombrisk.Helper cannot
// be created.

var quiet = false, percent = 50;
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  if (arg.toLowerCase() == "/q") quiet = true;
  else if (arg != "" && !isNaN(Number(arg))) percent = Number(arg);
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

// -1 means the separator cannot be found: the file manager does not run, or was started after
// this script (the separator belongs to the window found when the object was created).
var before = h.Separator;
if (before == -1) {
  say("The panel separator cannot be found; is the file manager running?");
  WScript.Quit(1);
}

h.Separator = percent;     // 0 to 100; values outside are clamped
h.Sleep(300);              // give the file manager a moment to handle the drag
var after = h.Separator;
// The position comes as a single-precision number: one decimal is what it measures.
function shown(percent) {
  return Math.round(percent * 10) / 10;
}
say("Separator moved from " + shown(before) + " % to " + shown(after) + " %.");
WScript.Quit(0);
