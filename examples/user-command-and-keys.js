// user-command-and-keys.js
//
// Runs a user-defined command of the file manager by its name, then types keys into the file
// manager. The keys use the SendKeys syntax: letters stand for themselves, {ENTER}, {TAB},
// {DOWN 3}, ^ for Ctrl, + for Shift, % for Alt, and {space N} for N spaces.
//
//   user-command-and-keys.js <command> [<keys>] [/q]
//   user-command-and-keys.js "" <keys>              keys only
//
// Button:  Command     %windir%\System32\wscript.exe
//          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\user-command-and-keys.js" MyCommand "{DOWN 2}{ENTER}" /q
// The keys go to the file manager's main window, which is brought to the front first.
// Exit code 0 when the command and the keys were accepted, 1 otherwise, 2 when Ombrisk.Helper
// cannot be created.

var quiet = false, words = [];
for (var i = 0; i < WScript.Arguments.length; i++) {
  var arg = String(WScript.Arguments.Item(i));
  if (arg.toLowerCase() == "/q") quiet = true;
  else words.push(arg);
}

function say(text) {
  if (!quiet) WScript.Echo(text);
}

if (words.length < 1 || words.length > 2) {
  say("Usage: user-command-and-keys.js <command> [<keys>] [/q]");
  WScript.Quit(1);
}

var h;
try {
  h = new ActiveXObject("Ombrisk.Helper");
} catch (e) {
  WScript.Echo("Ombrisk.Helper cannot be created (" + e.message + "). Run install.cmd: the DLL " +
               "must be registered for this script host, " + WScript.FullName);
  WScript.Quit(2);
}

if (!h.IsRunningTC) {
  say("The file manager is not running.");
  WScript.Quit(1);
}

var result = 0;
if (words[0] != "") {
  if (h.UserCmd(words[0])) {
    say("Ran " + words[0]);
  } else {
    say("The file manager did not run " + words[0]);
    result = 1;
  }
}
if (words.length == 2) {
  try {
    if (h.SendKeystroke(words[1])) {
      say("Typed " + words[1]);
    } else {
      say("Could not type " + words[1]);
      result = 1;
    }
  } catch (e) {
    // A negative count such as {space -1} is refused with an error.
    say("Could not type " + words[1] + ": " + e.description);
    result = 1;
  }
}
WScript.Quit(result);
