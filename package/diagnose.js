// diagnose.js
//
// Tells why a script cannot use Ombrisk, or shows that it can: the script host's bitness,
// where Ombrisk.Helper is registered (for this user, for the machine, 32-bit and 64-bit), the
// .msi package that installed it, the DLL this script host loads with its version, what the
// object finds (TCPath, MainINI, FTPINI), whether the file manager runs, both panel paths,
// and whether this script and the file manager run with the same rights (a file manager run as
// administrator and a script that is not, or the reverse, cannot talk), and whether VBScript is
// installed.
//
//   cscript diagnose.js          run it from a command prompt, or
//   wscript diagnose.js          from a button: the result comes in a message box
//
// Run it with the script host your buttons use (a 32-bit file manager starts the 32-bit one).
// Exit code 0 when all is well, 1 when something needs attention (listed at the end), 2 when
// this script host cannot create Ombrisk.Helper. A missing VBScript is listed as advice only:
// it leaves the exit code alone, since JScript scripts run without it.

var CLSID = "{3890865D-5A76-461F-8868-A39B7E567D7D}";
var PROGID = "Ombrisk.Helper";
var UPGRADE_CODE = "{ECC7C659-E5B7-4867-80A1-3A70A7D9CEE8}";

var sh = new ActiveXObject("WScript.Shell");
var fso = new ActiveXObject("Scripting.FileSystemObject");

// A registry value as text, "" when it is absent.
function regText(path) {
  try {
    return String(sh.RegRead(path));
  } catch (e) {
    return "";
  }
}

// The class's server in this process's own registry view, "" when absent.
function serverIn(root) {
  return regText(root + "\\Software\\Classes\\CLSID\\" + CLSID + "\\InprocServer32\\");
}

// /probe <file>: write this view's two values (user, machine) to the file, in UTF-16, for the
// copy of this script that runs in the other bitness's script host.
for (var i = 0; i + 1 < WScript.Arguments.length; i++) {
  if (String(WScript.Arguments.Item(i)).toLowerCase() == "/probe") {
    var f = fso.CreateTextFile(WScript.Arguments.Item(i + 1), true, true);
    f.Write("user=" + serverIn("HKCU") + "\r\nmachine=" + serverIn("HKLM") + "\r\n");
    f.Close();
    WScript.Quit(0);
  }
}

var lines = [], problems = [], advice = [];
function line(label, text) {
  var padded = label + ":";
  while (padded.length < 26) padded += " ";
  lines.push(padded + text);
}
function problem(text) {
  problems.push("  - " + text);
}

// The VBScript engine this script host would load: its registration and the file it names
// (Windows without its VBScript feature lacks one or both); "" when there is none.
function vbscriptEngine() {
  var path = regText("HKCR\\CLSID\\{B54F3741-5B07-11cf-A4B0-00AA004A55E8}\\InprocServer32\\");
  // Wine's ExpandEnvironmentStrings keeps the terminating NUL in its result.
  path = sh.ExpandEnvironmentStrings(path).replace(/[\u0000"]/g, "");
  if (path != "" && path.indexOf("\\") < 0) path = fso.BuildPath(fso.GetSpecialFolder(1).Path, path);
  return path != "" && fso.FileExists(path) ? path : "";
}

// ---- the script host --------------------------------------------------------------------
var env = sh.Environment("Process");
var arch = String(env.Item("PROCESSOR_ARCHITECTURE"));
var hostBits = arch.toUpperCase() == "X86" ? 32 : 64;
var osBits = String(env.Item("PROCESSOR_ARCHITEW6432")) != "" ? 64 : hostBits;
var otherBits = 96 - hostBits;
line("Script host", WScript.FullName + " (" + hostBits + "-bit, " + arch + ")");
line("Windows", osBits + "-bit");
var vbscript = vbscriptEngine();
if (vbscript != "") {
  line("VBScript", "installed (" + vbscript + ")");
} else {
  line("VBScript", "not installed: run JScript scripts (.js), or see docs\\from-vbscript.html");
  advice.push("  - VBScript is not installed: .vbs scripts do not run, .js scripts do. Use the .js " +
              "examples and move your scripts to JScript (docs\\from-vbscript.html), or add the " +
              "optional feature VBSCRIPT of Windows meanwhile.");
}
if (arch.toUpperCase() == "ARM64") {
  problem("This is the ARM64 script host, which cannot load Ombrisk. Start scripts with " +
          "%windir%\\SysWOW64\\wscript.exe (32-bit) instead.");
}

// ---- registration ------------------------------------------------------------------------
// [per user, per machine] in this host's view and in the other one.
var own = [serverIn("HKCU"), serverIn("HKLM")];
var other = ["", ""], otherKnown = false;
if (osBits == 64) {
  if (hostBits == 64) {
    // The 32-bit view is readable here under its own name.
    other = [regText("HKCU\\Software\\Classes\\Wow6432Node\\CLSID\\" + CLSID + "\\InprocServer32\\"),
             regText("HKLM\\Software\\Classes\\Wow6432Node\\CLSID\\" + CLSID + "\\InprocServer32\\")];
    otherKnown = true;
  } else {
    // A 32-bit host sees only the 32-bit view: ask the 64-bit script host to read its own.
    var tmp = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName());
    sh.Run("\"" + fso.GetSpecialFolder(0).Path + "\\Sysnative\\cscript.exe\" //nologo \"" +
           WScript.ScriptFullName + "\" /probe \"" + tmp + "\"", 0, true);
    if (fso.FileExists(tmp)) {
      var probe = fso.OpenTextFile(tmp, 1, false, -1);
      while (!probe.AtEndOfStream) {
        var value = probe.ReadLine();
        if (value.indexOf("user=") == 0) other[0] = value.substr(5);
        if (value.indexOf("machine=") == 0) other[1] = value.substr(8);
      }
      probe.Close();
      fso.DeleteFile(tmp, true);
      otherKnown = true;
    }
  }
}

var scopes = ["for this user", "for the machine"];
function described(path) {
  if (path == "") return "not registered";
  if (!fso.FileExists(path)) return path + " (the file is missing)";
  return path + " (version " + fso.GetFileVersion(path) + ")";
}
for (var s = 0; s < 2; s++) line(hostBits + "-bit, " + scopes[s], described(own[s]));
if (osBits == 64) {
  for (var s = 0; s < 2; s++) {
    line(otherBits + "-bit, " + scopes[s],
         otherKnown ? described(other[s]) : "cannot tell (the other script host did not answer)");
  }
}

// The Windows Installer packages of Ombrisk (the .msi files) installed for this user or for the
// machine, found by the upgrade code all their versions share: their versions and folders.
var packageFolders = [];
function installerPackages() {
  var found = [];
  try {
    var installer = new ActiveXObject("WindowsInstaller.Installer");
    var codes = installer.RelatedProducts(UPGRADE_CODE);
    for (var i = 0; i < codes.Count; i++) {
      var folder = installer.ProductInfo(codes.Item(i), "InstallLocation");
      packageFolders.push(folder);
      found.push("Ombrisk " + installer.ProductInfo(codes.Item(i), "VersionString") + " in " + folder);
    }
  } catch (e) {
    return "cannot tell (" + e.message + ")";
  }
  return found.length ? found.join("; ") : "none";
}
line("Installer package", installerPackages());

// The per-user registration wins over the machine's, as the script host finds it.
var used = own[0] != "" ? own[0] : own[1];
var usedScope = own[0] != "" ? scopes[0] : scopes[1];
if (used == "") {
  problem("Ombrisk is not registered for " + hostBits + "-bit script hosts: run install.cmd " +
          "(install.cmd /machine for all users).");
} else if (!fso.FileExists(used)) {
  problem("The registered DLL " + used + " is missing: the folder was moved or deleted. Run " +
          "install.cmd from the folder where Ombrisk is now.");
}
if (used != "" && packageFolders.length == 1 &&
    used.toLowerCase().indexOf(packageFolders[0].toLowerCase()) != 0) {
  problem("This script host loads " + used + ", not the DLL of the installed package in " + packageFolders[0] +
          ": a registration made by install.cmd " + usedScope + " comes first. Run uninstall.cmd in that folder.");
}
if (osBits == 64 && otherKnown && other[0] == "" && other[1] == "") {
  problem("Ombrisk is not registered for " + otherBits + "-bit script hosts: scripts started " +
          "by those fail. Run install.cmd to register both.");
}

// What the DLL's rights check says about this script and the file manager: same, host-higher,
// script-higher or unknown. rundll32 of this script host's bitness runs it with this script's
// rights: a script cannot read the rights of another process itself.
function rightsCheck(dll) {
  var file = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName()), text = "";
  sh.Run("rundll32.exe \"" + dll + "\",RightsCheck " + file, 0, true);
  if (fso.FileExists(file)) {
    var stream = fso.OpenTextFile(file, 1);
    if (!stream.AtEndOfStream) text = stream.ReadLine();
    stream.Close();
    fso.DeleteFile(file, true);
  }
  return text.substr(0, 7) == "rights=" ? text.substr(7) : "unknown";
}

// ---- the object --------------------------------------------------------------------------
var h = null;
try {
  h = new ActiveXObject(PROGID);
} catch (e) {
  line("Ombrisk.Helper", "cannot be created: " + e.message + " (error " + (e.number & 0xFFFF) + ")");
}

if (h) {
  line("This host loads", used + " (" + usedScope + ")");
  line("TCPath", h.TCPath);
  line("MainINI", h.MainINI);
  line("FTPINI", h.FTPINI);
  var running = h.IsRunningTC;
  line("IsRunningTC", running ? "True" : "False");
  if (running) {
    var source = h.GetSrcPath(), target = h.GetTrgPath();
    line("Source panel", source);
    line("Target panel", target);
    line("Active side", h.GetInfo("A"));
    var rights = rightsCheck(used);
    if (rights == "same") {
      line("Rights", "the same as the file manager's");
    } else if (rights == "host-higher") {
      line("Rights", "the file manager runs as administrator and this script does not");
      problem("Rights differ: the file manager runs as administrator and this script does not. " +
              "Windows keeps this script's requests and keys from it. Start the script from the file " +
              "manager, or start both the same way.");
    } else if (rights == "script-higher") {
      line("Rights", "this script runs as administrator and the file manager does not");
      problem("Rights differ: this script runs as administrator and the file manager does not. " +
              "Windows keeps the file manager's answers from the script. Start both the same way.");
    } else {
      line("Rights", "cannot tell");
    }
    // Differing rights explain missing paths already.
    if ((source == "" || target == "") && (rights == "same" || rights == "unknown"))
      problem("The file manager runs but did not tell its panel paths.");
  } else {
    problem("The file manager is not running.");
  }
} else {
  problem("This script host (" + WScript.FullName + ") cannot create Ombrisk.Helper.");
}

lines.push("");
if (problems.length + advice.length == 0) lines.push("All is well.");
else lines.push("To look at:\r\n" + problems.concat(advice).join("\r\n"));
WScript.Echo(lines.join("\r\n"));
WScript.Quit(!h ? 2 : problems.length ? 1 : 0);
