// diff-panels.js
//
// Compares the current file of the active panel with the current file of the other panel in
// the compare program you choose. The current file is the one under the cursor when nothing is
// selected, else the first selected one; with two files selected in the active panel, those two
// are compared. Two names given on the command line (the button's %P%N %T%M) are used instead.
//
//   diff-panels.js [<file1> <file2>] [/tool:<program>]
//
// The compare program: /tool:<program> gets the two names as its two arguments. Without /tool,
// the line Command= in the section [Diff] of diff-panels.ini beside this script is run, with %1
// and %2 standing for the two names (quote them there); without that file, the command prompt's
// fc compares the files in a console window.
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\diff-panels.js" /tool:"C:\Tools\compare.exe"
// Exit code 0 when the compare program was started, 1 when there are no two files to compare, 2
// when Ombrisk.Helper cannot be created.

var tool = "", files = [];
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  if (arg.substr(0, 6).toLowerCase() == "/tool:") tool = arg.substr(6);
  else files.push(arg);
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
var sh = new ActiveXObject("WScript.Shell");

var first = "", second = "";
if (files.length == 2) {
  first = files[0];
  second = files[1];
} else if (files.length == 0) {
  // The names as one string, split here (JScript reads arrays only through VBArray).
  h.NoArrayReturn = true;
  var names = h.GetSrcSelectedFiles(true);
  if (typeof names != "undefined") {
    names = names.split("\r\n");
    first = names[0];
    if (names.length >= 2) {
      second = names[1];
    } else {
      var other = h.GetTrgSelectedFiles(true);
      if (typeof other != "undefined") second = other.split("\r\n")[0];
    }
  }
} else {
  WScript.Echo("Usage: diff-panels.js [<file1> <file2>] [/tool:<program>]");
  WScript.Quit(1);
}

if (first == "" || second == "") {
  WScript.Echo("Put the cursor on a file in each panel (or select two files) first; is the file manager running?");
  WScript.Quit(1);
}
if (!fso.FileExists(first) || !fso.FileExists(second)) {
  WScript.Echo("Two files are needed:\r\n  " + first + "\r\n  " + second);
  WScript.Quit(1);
}

var command;
if (tool != "") {
  command = "\"" + tool + "\" \"" + first + "\" \"" + second + "\"";
} else {
  // The settings file beside the script; INIRead reads it in any language's characters.
  var ini = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "diff-panels.ini");
  command = h.INIRead(ini, "Diff", "Command", "");
  if (command == "") command = "\"%ComSpec%\" /k fc /n \"%1\" \"%2\"";
  // %1 and %2 replaced at once, so that a name holding "%2" stays as it is.
  var parts = command.split("%1");
  for (var k = 0; k < parts.length; k++) parts[k] = parts[k].split("%2").join(second);
  command = parts.join(first);
}
sh.Run(command, 1, false);
WScript.Quit(0);
