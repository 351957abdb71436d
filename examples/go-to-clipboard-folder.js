// go-to-clipboard-folder.js
//
// Opens the folder whose path is on the clipboard in the active panel of the file manager. A
// file's path opens the folder that holds it. The first line of the clipboard counts; quotes
// around it, blanks, forward slashes and %VARIABLES% are taken care of.
//
//   /target                  in the other panel instead
//   /tab                     in a new tab
//   /q                       no message
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\go-to-clipboard-folder.js" /q
// Exit code 0 when the file manager accepted the folder, 1 when the clipboard holds no existing
// folder or file or the file manager did not take it, 2 when Ombrisk.Helper cannot be created.

var quiet = false, toTarget = false, newTab = false;
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i)).toLowerCase();
  if (arg == "/q") quiet = true;
  if (arg == "/target") toTarget = true;
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
var fso = new ActiveXObject("Scripting.FileSystemObject");
var sh = new ActiveXObject("WScript.Shell");

if (!h.IsRunningTC) {
  say("The file manager is not running.");
  WScript.Quit(1);
}

// The clipboard as Unicode text: paths in any language come through.
var lines = String(h.GetTextFromClip()).split(/\r\n|\r|\n/);
var path = "";
for (var k = 0; k < lines.length; k++) {
  var line = lines[k].replace(/\t/g, " ").replace(/^ +| +$/g, "");
  if (line != "") {
    path = line;
    break;
  }
}
if (path.length >= 2 && path.charAt(0) == "\"" && path.charAt(path.length - 1) == "\"") {
  path = path.substr(1, path.length - 2);
}
// Some hosts leave the terminating NUL in the expanded text.
path = sh.ExpandEnvironmentStrings(path).replace(/\0.*$/, "").replace(/\//g, "\\");

if (path == "") {
  say("The clipboard holds no path.");
  WScript.Quit(1);
}
if (fso.FileExists(path)) {
  path = fso.GetParentFolderName(fso.GetAbsolutePathName(path));
} else if (!fso.FolderExists(path)) {
  say("No such folder or file: " + path);
  WScript.Quit(1);
}
path = fso.GetAbsolutePathName(path);
if (path.charAt(path.length - 1) != "\\") path += "\\";

if (!(toTarget ? h.SetTrgPath(path, newTab) : h.SetSrcPath(path, newTab))) {
  say("The file manager did not open " + path);
  WScript.Quit(1);
}
say("Opened " + path);
WScript.Quit(0);
