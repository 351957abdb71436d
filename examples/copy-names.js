// copy-names.js
//
// Copies the names selected in the active panel of the file manager to the clipboard in the
// form you choose (when nothing is selected, the file manager gives the name under the cursor):
//
//   /full                    with the full path
//   /noext                   without the extension (folders keep their whole name)
//   /slash                   forward slashes instead of backslashes (for URLs, Unix tools)
//   /quoted                  each name in double quotes
//   /sep:line|space|comma|semicolon   what goes between the names (default: a line break)
//   /q                       no message
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\copy-names.js" /full /quoted /sep:space /q
// Exit code 0 when names were copied, 1 when nothing was copied, 2 when Ombrisk.Helper cannot
// be created.

var quiet = false, full = false, noExt = false, slash = false, quoted = false, sep = "\r\n";
var separators = { "/sep:line": "\r\n", "/sep:space": " ", "/sep:comma": ",", "/sep:semicolon": ";" };
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i)).toLowerCase();
  if (arg == "/q") quiet = true;
  else if (arg == "/full") full = true;
  else if (arg == "/noext") noExt = true;
  else if (arg == "/slash") slash = true;
  else if (arg == "/quoted") quoted = true;
  else if (separators.hasOwnProperty(arg)) sep = separators[arg];
  else {
    WScript.Echo("Unknown option " + WScript.Arguments.Item(i) + ". See the top of " + WScript.ScriptName + ".");
    WScript.Quit(1);
  }
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

if (!h.IsRunningTC) {
  say("The file manager is not running.");
  WScript.Quit(1);
}

// Full paths always, so that folders can be told from files; the path goes again without /full.
h.NoArrayReturn = true;
var names = h.GetSrcSelectedFiles(true);
if (typeof names == "undefined") {
  say("Nothing was selected; the clipboard is unchanged.");
  WScript.Quit(1);
}
names = names.split("\r\n");

var out = [];
for (var k = 0; k < names.length; k++) {
  var isFolder = /\\$/.test(names[k]);
  var name = names[k].replace(/\\$/, "");
  if (noExt && !isFolder && !fso.FolderExists(name)) {
    var dot = name.lastIndexOf(".");
    if (dot > name.lastIndexOf("\\") + 1) name = name.substr(0, dot);
  }
  if (!full) name = name.substr(name.lastIndexOf("\\") + 1);
  if (slash) name = name.replace(/\\/g, "/");
  if (quoted) name = "\"" + name + "\"";
  out.push(name);
}
h.SetTextToClip(out.join(sep));
say(names.length + " name(s) copied to the clipboard.");
WScript.Quit(0);
