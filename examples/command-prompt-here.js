// command-prompt-here.js
//
// Opens a command prompt in the folder of the active panel of the file manager.
//
//   /target                  in the other panel's folder instead
//   /ps                      PowerShell instead of the command prompt
//   /run:<program>           another program (a terminal of your choice), started in the folder
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\command-prompt-here.js"
// The command prompt is the program named by the ComSpec variable (normally cmd.exe). A panel
// that shows an archive, an FTP connection or another place that is not a folder on disk has no
// folder to open: a message says so. Exit code 0 when the prompt was started, 1 otherwise, 2
// when Ombrisk.Helper cannot be created.

var useTarget = false, usePs = false, program = "";
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i)).toLowerCase();
  if (arg == "/target") useTarget = true;
  if (arg == "/ps") usePs = true;
  if (arg.substr(0, 5) == "/run:") program = String(WScript.Arguments.Item(i)).substr(5);
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

var folder = useTarget ? h.GetTrgPath() : h.GetSrcPath();
if (folder == "") {
  WScript.Echo("The file manager is not running or did not tell its folder.");
  WScript.Quit(1);
}
if (!fso.FolderExists(folder)) {
  WScript.Echo(folder + " is not a folder on disk (an archive or a connection?).");
  WScript.Quit(1);
}

if (program != "") {
  // as given
} else if (usePs) {
  program = "powershell.exe -NoExit";
} else {
  program = String(sh.Environment("Process").Item("ComSpec"));
  if (program == "") program = "cmd.exe";
  program = "\"" + program + "\"";
}
// The prompt starts in the folder: the script's current folder is what a new program inherits.
sh.CurrentDirectory = folder;
sh.Run(program, 1, false);
WScript.Quit(0);
