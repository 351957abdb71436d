// batch-rename.js
//
// Renames the files and folders selected in the active panel of the file manager: a prefix, a
// suffix, upper/lower/title case, search and replace, and a counter, in any combination. It
// shows the new names first and renames only when you agree; it never overwrites anything.
//
//   /prefix:<text>           put text before each name
//   /suffix:<text>           put text after each name, before the extension
//   /case:lower|upper|title  change the case of the name (the extension is left as it is)
//   /find:<text>             replace this text (any case) in the name ...
//   /replace:<text>          ... with this one (empty when left out)
//   /counter[:<start>[:<digits>]]   number the names, after the suffix: 1, 2 ... or 001, 002 ...
//   /preview                 only show the new names
//   /yes                     rename without asking
//   /q                       no message at the end
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\batch-rename.js" /prefix:2024-06_ /case:lower
// When a new name is taken already (by a file that is not being renamed, or by two of the new
// names), or holds a character that names cannot have, nothing at all is renamed. Afterwards the
// file manager reads the folder again. Exit code 0 when everything was renamed (or, with
// /preview, could be), 1 when nothing was selected, the names clash or you said no, 2 when
// Ombrisk.Helper cannot be created.

var quiet = false, preview = false, yes = false;
var prefix = "", suffix = "", caseMode = "", findText = "", replaceText = "";
var counting = false, counterStart = 1, counterDigits = 1;
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  var colon = arg.indexOf(":");
  var key = (colon < 0 ? arg : arg.substr(0, colon)).toLowerCase();
  var value = colon < 0 ? "" : arg.substr(colon + 1);
  switch (key) {
    case "/q": quiet = true; break;
    case "/preview": preview = true; break;
    case "/yes": yes = true; break;
    case "/prefix": prefix = value; break;
    case "/suffix": suffix = value; break;
    case "/case": caseMode = value.toLowerCase(); break;
    case "/find": findText = value; break;
    case "/replace": replaceText = value; break;
    case "/counter":
      counting = true;
      var parts = value.split(":");
      if (parts[0] != "" && !isNaN(parts[0])) counterStart = parseInt(parts[0], 10);
      if (parts.length > 1 && parts[1] != "" && !isNaN(parts[1])) counterDigits = parseInt(parts[1], 10);
      break;
    default:
      WScript.Echo("Unknown option " + arg + ". See the top of " + WScript.ScriptName + ".");
      WScript.Quit(1);
  }
}
if (caseMode != "" && caseMode != "lower" && caseMode != "upper" && caseMode != "title") {
  WScript.Echo("/case takes lower, upper or title.");
  WScript.Quit(1);
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

// Every word (after a blank, "-", "_" or ".") with a capital first letter, the rest small.
function titleCase(text) {
  var result = "", startOfWord = true;
  for (var k = 0; k < text.length; k++) {
    var c = text.charAt(k);
    result += startOfWord ? c.toUpperCase() : c.toLowerCase();
    startOfWord = " -_.".indexOf(c) >= 0;
  }
  return result;
}

// text with every occurrence of find, in any case, replaced.
function replaceAnyCase(text, find, by) {
  var result = "", lower = text.toLowerCase(), wanted = find.toLowerCase(), from = 0, at;
  while ((at = lower.indexOf(wanted, from)) >= 0) {
    result += text.substring(from, at) + by;
    from = at + find.length;
  }
  return result + text.substr(from);
}

// The new name of one entry: base and extension apart, the extension kept (folders have none).
function newName(oldName, isFolder, number) {
  var base = oldName, ext = "", dot = oldName.lastIndexOf(".");
  if (!isFolder && dot > 0) {
    base = oldName.substr(0, dot);
    ext = oldName.substr(dot);
  }
  if (findText != "") base = replaceAnyCase(base, findText, replaceText);
  if (caseMode == "lower") base = base.toLowerCase();
  if (caseMode == "upper") base = base.toUpperCase();
  if (caseMode == "title") base = titleCase(base);
  base = prefix + base + suffix;
  if (counting) {
    var digits = String(number);
    while (digits.length < counterDigits) digits = "0" + digits;
    base += digits;
  }
  return base + ext;
}

function exists(path) {
  return fso.FileExists(path) || fso.FolderExists(path);
}

// The full paths as one string, split here (JScript reads arrays only through VBArray).
h.NoArrayReturn = true;
var names = h.GetSrcSelectedFiles(true);
if (typeof names == "undefined") {
  say("Select the files to rename in the active panel first.");
  WScript.Quit(1);
}
names = names.split("\r\n");

var entries = [], changes = 0, clashes = 0;
for (var k = 0; k < names.length; k++) {
  var path = names[k].replace(/\\$/, "");
  var isFolder = fso.FolderExists(path);
  var entry = { path: path, folder: fso.GetParentFolderName(path) + "\\", isFolder: isFolder,
                oldName: fso.GetFileName(path), note: "" };
  entry.newName = newName(entry.oldName, isFolder, counterStart + k);
  if (entry.newName != entry.oldName) changes++;
  entries.push(entry);
}
// The checks: characters, empty names, names taken on disk or twice in the batch.
for (var k = 0; k < entries.length; k++) {
  var e = entries[k];
  if (/[\\\/:*?"<>|]/.test(e.newName)) e.note = "   <- not allowed in a name";
  if (/^[ .]*$/.test(e.newName)) e.note = "   <- empty name";
  if (e.note == "" && e.newName.toLowerCase() != e.oldName.toLowerCase() && exists(e.folder + e.newName)) {
    e.note = "   <- exists already";
  }
  for (var j = 0; j < k; j++) {
    if ((entries[j].folder + entries[j].newName).toLowerCase() == (e.folder + e.newName).toLowerCase()) {
      e.note = "   <- twice";
    }
  }
  if (e.note != "") clashes++;
}

var text = "";
for (var k = 0; k < entries.length; k++) {
  text += entries[k].oldName + "  ->  " + entries[k].newName + entries[k].note + "\r\n";
}
if (clashes > 0) {
  say(text + clashes + " new name(s) cannot be used; nothing was renamed.");
  WScript.Quit(1);
}
if (changes == 0) {
  say(text + "The names stay as they are.");
  WScript.Quit(0);
}
if (preview) {
  say(text + changes + " name(s) would change (preview only).");
  WScript.Quit(0);
}
// 1 = OK and Cancel buttons, 32 = question mark; the answer OK is 1.
if (!yes && sh.Popup(text + "\r\nRename " + changes + " entries?", 0, "Batch rename", 1 + 32) != 1) {
  say("Nothing was renamed.");
  WScript.Quit(1);
}

var renamed = 0, failed = [];
// Renames one entry; a change of case only goes through a passing name, since a name that
// differs only in case counts as taken.
function moveEntry(path, isFolder, newPath) {
  if (isFolder) fso.MoveFolder(path, newPath);
  else fso.MoveFile(path, newPath);
}
for (var k = 0; k < entries.length; k++) {
  var e = entries[k];
  if (e.newName == e.oldName) continue;
  try {
    if (e.newName.toLowerCase() == e.oldName.toLowerCase()) {
      moveEntry(e.path, e.isFolder, e.path + ".renaming");
      moveEntry(e.path + ".renaming", e.isFolder, e.folder + e.newName);
    } else {
      moveEntry(e.path, e.isFolder, e.folder + e.newName);
    }
    renamed++;
  } catch (err) {
    failed.push("  " + e.path + ": " + err.message);
  }
}

// The panel shows the new names once the file manager reads the folder again.
var RereadSource = 540;
h.SendCommand(RereadSource);

if (failed.length) {
  say(text + renamed + " renamed; could not rename:\r\n" + failed.join("\r\n"));
  WScript.Quit(1);
}
say(text + renamed + " renamed.");
WScript.Quit(0);
