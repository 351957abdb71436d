// process-list-file.js
//
// Works through the list file that the file manager writes for a button: one full path per
// line of every selected file and folder (the name under the cursor when nothing is selected).
// Put %WL in the button's Parameters: the file manager writes the list in Unicode, so names in
// any language come through, and deletes it when the script ends. (%L, the same in the ANSI
// code page, is read as well, but loses characters outside it.)
//
// This one counts the files and folders and adds up the files' sizes; with /clip it also puts
// the names on the clipboard, one per line. Replace process with your own work.
//
//   process-list-file.js <list file> [/clip] [/q]
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\process-list-file.js" %WL
// Exit code 0 when every name was found, 1 when the list is missing or names in it are not
// found, 2 when Ombrisk.Helper cannot be created.

var quiet = false, toClip = false, listFile = "";
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  if (arg.toLowerCase() == "/q") quiet = true;
  else if (arg.toLowerCase() == "/clip") toClip = true;
  else listFile = arg;
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

if (listFile == "" || !fso.FileExists(listFile)) {
  say("Give the list file: put %WL in the button's Parameters.");
  WScript.Quit(1);
}

var files = 0, folders = 0, bytes = 0, missing = [], names = [];
// The work for one name. Here: count it, add its size, keep it for the clipboard.
function process(path) {
  if (fso.FolderExists(path)) {
    folders++;
  } else if (fso.FileExists(path)) {
    files++;
    bytes += fso.GetFile(path).Size;
  } else {
    missing.push("  not found: " + path);
    return;
  }
  names.push(path);
}

// UTF-16 (%WL) when the second or fourth byte is 0 (a path's first letter, after a byte-order
// mark or not); otherwise the ANSI code page (%L).
var format = 0, text = "";
var size = fso.GetFile(listFile).Size;
if (size >= 4) {
  var stream = fso.OpenTextFile(listFile, 1, false, 0);
  var head = stream.Read(4);
  stream.Close();
  if (head.charCodeAt(1) == 0 || head.charCodeAt(3) == 0) format = -1;
}
if (size > 0) {
  var stream = fso.OpenTextFile(listFile, 1, false, format);
  text = stream.ReadAll();
  stream.Close();
}

var lines = text.split(/\r?\n/);
for (var k = 0; k < lines.length; k++) {
  var line = lines[k].replace(/\\$/, "");
  if (line != "") process(line);
}

if (toClip && names.length) h.SetTextToClip(names.join("\r\n"));
say(files + " file(s), " + h.FormatAny(bytes, "#,##0") + " bytes; " + folders + " folder(s)." +
    (missing.length ? "\r\n" + missing.join("\r\n") : ""));
WScript.Quit(missing.length ? 1 : 0);
