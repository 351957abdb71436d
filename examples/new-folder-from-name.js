// new-folder-from-name.js
//
// Creates a folder named after the file under the cursor, without its extension, in the folder
// of the active panel: for photo.jpg the folder photo. The file manager gives the name under the
// cursor when nothing is selected, else the first selected name; a name given on the command
// line (the button's %N) is used instead.
//
//   new-folder-from-name.js [<name>] [/keepext] [/move] [/q]
//   /keepext                 keep the extension in the folder's name
//   /move                    move the file into the new folder as well
//   /q                       no message
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\new-folder-from-name.js" "%N" /q
// Afterwards the file manager reads the folder again. Exit code 0 when the folder was created
// (and the file moved), 1 otherwise, 2 when Ombrisk.Helper cannot be created.

var quiet = false, keepExt = false, moveIt = false, name = "";
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  var lower = arg.toLowerCase();
  if (lower == "/q") quiet = true;
  else if (lower == "/keepext") keepExt = true;
  else if (lower == "/move") moveIt = true;
  else name = arg;
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

var folder = h.GetSrcPath();
if (folder == "") {
  say("The file manager is not running or did not tell its folder.");
  WScript.Quit(1);
}
if (folder.charAt(folder.length - 1) != "\\") folder += "\\";
if (name == "") {
  h.NoArrayReturn = true;
  var names = h.GetSrcSelectedFiles(false);
  if (typeof names != "undefined") name = names.split("\r\n")[0];
}
name = name.replace(/\\$/, "");
name = name.substr(name.lastIndexOf("\\") + 1);
if (name == "" || name == "..") {
  say("Put the cursor on a file first.");
  WScript.Quit(1);
}

var target = name, dot = name.lastIndexOf(".");
if (!keepExt && dot > 0) target = name.substr(0, dot);
if (fso.FolderExists(folder + target) || fso.FileExists(folder + target)) {
  say(folder + target + " exists already.");
  WScript.Quit(1);
}
try {
  fso.CreateFolder(folder + target);
} catch (e) {
  say("Could not create " + folder + target + ": " + e.message);
  WScript.Quit(1);
}
if (moveIt) {
  try {
    if (fso.FolderExists(folder + name)) fso.MoveFolder(folder + name, folder + target + "\\" + name);
    else fso.MoveFile(folder + name, folder + target + "\\" + name);
  } catch (e) {
    say("Created " + folder + target + ", but could not move " + name + " into it: " + e.message);
    WScript.Quit(1);
  }
}

// The panel shows the new folder once the file manager reads the folder again.
var RereadSource = 540;
h.SendCommand(RereadSource);
say(moveIt ? "Created " + folder + target + " and moved " + name + " into it." : "Created " + folder + target);
WScript.Quit(0);
