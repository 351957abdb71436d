// copy-dates.js
//
// Copies the creation and modified dates and the attributes (read-only, hidden, archive ...) of
// files to others. The last-access date is left alone: reading a file changes it anyway.
//
//   copy-dates.js                       from every file selected in the active panel to the
//                                       file of the same name in the other panel's folder
//   copy-dates.js <from> <to>           between the two files given
//   /q                                  no message
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\copy-dates.js" /q
// Folders among the selection and names without a namesake in the other panel are skipped and
// listed. Exit code 0 when the dates and attributes of every file were copied, 1 otherwise, 2
// when Ombrisk.Helper cannot be created.

var quiet = false, files = [];
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  if (arg.toLowerCase() == "/q") quiet = true;
  else files.push(arg);
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

var missed = [];
// Copies from source to target; false (and the reason in missed) when one of them is missing
// or the target cannot be changed.
function copyDates(source, target) {
  if (!fso.FileExists(source)) {
    missed.push("  no such file: " + source);
    return false;
  }
  if (!fso.FileExists(target)) {
    missed.push("  no such file: " + target);
    return false;
  }
  // A file object given in place of a date lends its own value. The access date is left out,
  // so the target keeps its own. (JScript cannot leave out an argument in the middle, so the
  // attributes come afterwards, through the file object: read-only, hidden, system, archive.)
  var from = fso.GetFile(source);
  if (!h.SetFileDateAtr(target, from, from)) {
    missed.push("  could not change " + target);
    return false;
  }
  try {
    fso.GetFile(target).Attributes = from.Attributes & (1 | 2 | 4 | 32);
  } catch (e) {
    missed.push("  could not set the attributes of " + target + ": " + e.message);
    return false;
  }
  return true;
}

var copied = 0, pairs;
if (files.length == 2) {
  pairs = 1;
  if (copyDates(files[0], files[1])) copied = 1;
} else if (files.length == 0) {
  // The full paths as one string, split here (JScript reads arrays only through VBArray).
  h.NoArrayReturn = true;
  var names = h.GetSrcSelectedFiles(true);
  if (typeof names == "undefined") {
    say("Select files in the active panel first (or give two file names).");
    WScript.Quit(1);
  }
  names = names.split("\r\n");
  var folder = h.GetTrgPath();
  if (folder.charAt(folder.length - 1) != "\\") folder += "\\";
  pairs = names.length;
  for (var k = 0; k < names.length; k++) {
    if (copyDates(names[k], folder + fso.GetFileName(names[k]))) copied++;
  }
} else {
  say("Usage: copy-dates.js [<from> <to>] [/q]");
  WScript.Quit(1);
}

say(copied + " of " + pairs + " file(s): dates and attributes copied." + (missed.length ? "\r\n" + missed.join("\r\n") : ""));
WScript.Quit(copied < pairs ? 1 : 0);
