// timeout: 180
// Installation discovery with registry text outside the ANSI code page: the folder and the
// settings-file names come back exactly as stored (Cyrillic, Greek and CJK characters beside
// Latin-1 ones), and the program file is found in such a folder.
var keyCU = "HKCU\\SOFTWARE\\Ghisler\\Total Commander";
var keyLM = "HKLM\\SOFTWARE\\Ghisler\\Total Commander";
var tool = STANDIN_EXE.substring(0, STANDIN_EXE.lastIndexOf("\\") + 1) + "utiltool.exe";

function ClearRegistry() {
  RunWait("reg delete " + Quote(keyCU) + " /f");
  RunWait("reg delete " + Quote(keyLM) + " /f");
}

// Stores text as REG_SZ (UTF-16LE with its NUL), through a helper that writes the exact bytes.
function RegSetText(key, name, text) {
  var hex = "";
  for (var i = 0; i <= text.length; i++) {
    var c = i < text.length ? text.charCodeAt(i) : 0;
    hex += ("0" + (c & 0xFF).toString(16)).slice(-2) + ("0" + (c >> 8).toString(16)).slice(-2);
  }
  Eq(RunWait(Quote(tool) + " regset " + Quote(key) + " " + name + " 1 " + hex), 0, "regset " + name);
}

// A new process creates an object and writes TCPath, MainINI and FTPINI in UTF-16, one a line.
function Discover() {
  var child = TEST_DIR + "child.js", out = TEST_DIR + "child.out", cmd = TEST_DIR + "child.cmd";
  WriteTextFile(child,
      "var h = new ActiveXObject(\"Ombrisk.Helper\");\r\n" +
      "var f = new ActiveXObject(\"Scripting.FileSystemObject\").CreateTextFile(\"" +
      out.replace(/\\/g, "\\\\") + "\", true, true);\r\n" +
      "f.Write(h.TCPath + \"\\r\\n\" + h.MainINI + \"\\r\\n\" + h.FTPINI + \"\\r\\n\");\r\n" +
      "f.Close();\r\n");
  WriteTextFile(cmd, "@echo off\r\nset COMMANDER_PATH=\r\nset COMMANDER_INI=\r\ncscript //nologo " + Quote(child) + "\r\n");
  if (g_fso.FileExists(out)) g_fso.DeleteFile(out, true);
  RunWait("cmd /c " + Quote(cmd));
  return (ReadUnicodeFile(out) + "\r\n\r\n\r\n").split("\r\n");
}

ClearRegistry();
StopHost();

var folder = TEST_DIR + "tc-\u0416\u03a9\u4e2d";
g_fso.CreateFolder(folder);
WriteTextFile(folder + "\\totalcmd.exe", "");
var mainIni = "C:\\\u0416\u0443\u0440\u043d\u0430\u043b\\wincmd.ini";
var ftpName = "\u00e9t\u00e9\u4e2d.ini";

RegSetText(keyCU, "InstallDir", folder);
RegSetText(keyLM, "InstallDir", "C:\\machine\\tc");
RegSetText(keyCU, "IniFileName", mainIni);
RegSetText(keyLM, "FtpIniName", ".\\" + ftpName);
var out = Discover();
Eq(out[0], folder, "HKCU InstallDir outside the code page, holding totalcmd.exe, is TCPath");
Eq(out[1], mainIni, "IniFileName outside the code page is MainINI as stored");
Eq(out[2], folder + "\\" + ftpName, "FtpIniName .\\ expanded with such a TCPath");

// HKCU's folder without the program gives way to HKLM's, taken unchecked.
var machine = "D:\\\u65e5\u672c\\tc";
g_fso.DeleteFile(folder + "\\totalcmd.exe");
RegSetText(keyLM, "InstallDir", machine);
out = Discover();
Eq(out[0], machine, "HKLM InstallDir outside the code page, taken as it is");

// Latin-1 text reads the same as before.
RegSetText(keyCU, "IniFileName", "C:\\\u00dcber\\main.ini");
out = Discover();
Eq(out[1], "C:\\\u00dcber\\main.ini", "IniFileName within the code page");

ClearRegistry();
Finish();
