// timeout: 300
// The JScript twins of the examples that work on files, start programs or read settings, run
// with cscript against the stand-in host whose panels show real folders of the test.
var leftDir = TEST_DIR + "left\\", rightDir = TEST_DIR + "right\\";
g_fso.CreateFolder(leftDir);
g_fso.CreateFolder(rightDir);

ExpectFromHost("expect_cmd=540,690,2017,2018\r\nexpect_gw=A,SP,TP\r\nexpect_keys=1");
function panels(selectedLeft, selectedRight) {
  return "selected.L=" + selectedLeft + "\r\nselected.R=" + selectedRight + "\r\npath.L=" + leftDir + "\r\npath.R=" + rightDir;
}
function makeFiles(folder, names) {
  var list = names.split("|");
  for (var i = 0; i < list.length; i++) WriteTextFile(folder + list[i], list[i]);
}
// The names in the folder, folders with a trailing "\", sorted without regard to case (as
// cmd's dir lists them; Wine's JScript has no Enumerator for the folder's collections).
function listing(folder) {
  var file = TEST_DIR + "listing.txt";
  RunWait("cmd /c dir /b /a-d " + Quote(folder) + " > " + Quote(file));
  var names = ReadTextFile(file).split("\r\n");
  RunWait("cmd /c dir /b /ad " + Quote(folder) + " > " + Quote(file));
  var folders = ReadTextFile(file).split("\r\n");
  for (var i = 0; i < folders.length; i++) if (folders[i] != "") names.push(folders[i] + "\\");
  var kept = [];
  for (var i = 0; i < names.length; i++) if (names[i] != "") kept.push(names[i]);
  kept.sort(function (a, b) { return a.toLowerCase() < b.toLowerCase() ? -1 : a.toLowerCase() > b.toLowerCase() ? 1 : 0; });
  return kept.join("|");
}
// Waits up to about 10 s for a file that a started program writes, until it holds text (the
// program creates it before it writes); its text, or "".
function awaitFile(path) {
  for (var tries = 0; tries < 100; tries++) {
    if (g_fso.FileExists(path)) {
      var text = ReadTextFile(path);
      if (text != "") return text;
    }
    SleepMs(100);
  }
  return "";
}

StartHost(panels("", ""));
var h = new ActiveXObject("Ombrisk.Helper");
var out;

// ---- batch-rename.js ----
makeFiles(leftDir, "Photo One.JPG|photo two.jpg|xa.txt|ax.txt|a_1.txt");
g_fso.CreateFolder(leftDir + "sub dir");
SetHostConfig(panels("Photo One.JPG|photo two.jpg|sub dir\\", ""));
Eq(RunExample("batch-rename.js", "/preview /prefix:2024_ /case:lower /suffix:_ /counter:1:2"),
   "Photo One.JPG  ->  2024_photo one_01.JPG\r\nphoto two.jpg  ->  2024_photo two_02.jpg\r\nsub dir  ->  2024_sub dir_03\r\n" +
   "3 name(s) would change (preview only).", "batch-rename.js: the preview");
Eq(g_exampleExit, 0, "ends with 0");
SetHostConfig(panels("Photo One.JPG|photo two.jpg", ""));
ClearHostLog();
Eq(RunExample("batch-rename.js", "/yes /find:PHOTO /replace:img /case:title"),
   "Photo One.JPG  ->  Img One.JPG\r\nphoto two.jpg  ->  Img Two.jpg\r\n2 renamed.", "/yes: replace in any case, title case");
Eq(listing(leftDir), "a_1.txt|ax.txt|Img One.JPG|Img Two.jpg|sub dir\\|xa.txt", "the files have their new names");
Eq(HostLogLines("CMD ").join("|"), "CMD posted 2018 lparam=0|CMD posted 540 lparam=0", "and the panel was read again");
SetHostConfig(panels("xa.txt|ax.txt", ""));
Eq(RunExample("batch-rename.js", "/yes /find:x"), "xa.txt  ->  a.txt\r\nax.txt  ->  a.txt   <- twice\r\n" +
   "1 new name(s) cannot be used; nothing was renamed.", "two entries that would get one name");
Eq(g_exampleExit, 1, "ends with 1");
Eq(RunExample("batch-rename.js", "/yes /find:x /replace:_1 /q"), "", "a name taken outside the selection, quietly");
Eq(g_exampleExit, 1, "ends with 1");
Eq(RunExample("batch-rename.js", "/yes /prefix:a?b"), "xa.txt  ->  a?bxa.txt   <- not allowed in a name\r\n" +
   "ax.txt  ->  a?bax.txt   <- not allowed in a name\r\n2 new name(s) cannot be used; nothing was renamed.", "a character names cannot have");
Eq(listing(leftDir), "a_1.txt|ax.txt|Img One.JPG|Img Two.jpg|sub dir\\|xa.txt", "nothing was renamed");
SetHostConfig(panels("Img One.JPG", ""));
Eq(RunExample("batch-rename.js", "/yes /case:upper /counter:9:3"), "Img One.JPG  ->  IMG ONE009.JPG\r\n1 renamed.", "case and counter");
SetHostConfig(panels("IMG ONE009.JPG", ""));
Eq(RunExample("batch-rename.js", "/yes /case:lower"), "IMG ONE009.JPG  ->  img one009.JPG\r\n1 renamed.", "a change of case only");
Ok(listing(leftDir).indexOf("|img one009.JPG|") > 0, "is made: " + listing(leftDir));
Eq(RunExample("batch-rename.js", "/case:camel"), "/case takes lower, upper or title.", "a case it does not know");
// Without /yes it asks; OK (pressed here by the stand-in's helper) renames.
SetHostConfig(panels("a_1.txt", ""));
g_shell.Run(Quote(STANDIN_EXE) + " ctl closebox \"Batch rename\" 300", 0, false);
RunExample("batch-rename.js", "/prefix:z /q");
Eq(g_exampleExit, 0, "the question answered with OK: 0");
Ok(g_fso.FileExists(leftDir + "za_1.txt") && !g_fso.FileExists(leftDir + "a_1.txt"), "a_1.txt became za_1.txt");

// ---- new-folder-from-name.js ----
makeFiles(leftDir, "report.final.pdf|movie.avi");
SetHostConfig(panels("report.final.pdf", ""));
ClearHostLog();
Eq(RunExample("new-folder-from-name.js", ""), "Created " + leftDir + "report.final", "new-folder-from-name.js: the name from the host");
Ok(g_fso.FolderExists(leftDir + "report.final"), "the folder is there");
Eq(HostLogLines("CMD ").join("|"), "CMD posted 2017 lparam=0|CMD posted 540 lparam=0", "name without path, then the panel read again");
Eq(RunExample("new-folder-from-name.js", ""), leftDir + "report.final exists already.", "a second time");
Eq(g_exampleExit, 1, "ends with 1");
Eq(RunExample("new-folder-from-name.js", "movie.avi /keepext"), leftDir + "movie.avi exists already.",
   "/keepext: the folder would have the file's own name");
Eq(RunExample("new-folder-from-name.js", "movie.avi /move"), "Created " + leftDir + "movie and moved movie.avi into it.",
   "a name given, /move");
Ok(g_fso.FileExists(leftDir + "movie\\movie.avi") && !g_fso.FileExists(leftDir + "movie.avi"), "the file is in its folder");

// ---- diff-panels.js ----
makeFiles(leftDir, "a.txt|c.txt");
makeFiles(rightDir, "b.txt");
WriteTextFile(TEST_DIR + "compare.cmd", "@echo %~1^|%~2>" + Quote(TEST_DIR + "compared.txt") + "\r\n");
SetHostConfig(panels("a.txt", "b.txt"));
ClearHostLog();
RunExample("diff-panels.js", "/tool:" + Quote(TEST_DIR + "compare.cmd"));
Eq(g_exampleExit, 0, "diff-panels.js starts the program: 0");
Eq(awaitFile(TEST_DIR + "compared.txt"), leftDir + "a.txt|" + rightDir + "b.txt\r\n", "with the active panel's file, then the other's");
Eq(HostKeyDowns(), "9 9", "the other panel's name asked for between two Tabs");
g_fso.DeleteFile(TEST_DIR + "compared.txt");
SetHostConfig(panels("a.txt|c.txt", "b.txt"));
out = RunExample("diff-panels.js", "/tool:" + Quote(TEST_DIR + "compare.cmd"));
Eq(awaitFile(TEST_DIR + "compared.txt"), leftDir + "a.txt|" + leftDir + "c.txt\r\n", "two files selected: those two (" + out + ")");
SetHostConfig(panels("a.txt", "sub\\"));
Eq(RunExample("diff-panels.js", "/tool:x"), "Two files are needed:\r\n  " + leftDir + "a.txt\r\n  " + rightDir + "sub\\", "a folder is no file");
Eq(g_exampleExit, 1, "ends with 1");

// ---- command-prompt-here.js: the program given with /run starts in the folder ----
WriteTextFile(TEST_DIR + "cwd.js", "var f = new ActiveXObject(\"Scripting.FileSystemObject\").CreateTextFile(\"" +
              (TEST_DIR + "prompt-cwd.txt").replace(/\\/g, "\\\\") + "\");\r\nf.Write(new ActiveXObject(\"WScript.Shell\").CurrentDirectory);\r\nf.Close();\r\n");
SetHostConfig(panels("", ""));
Eq(RunExample("command-prompt-here.js", "/target " + Quote("/run:cscript //nologo " + TEST_DIR + "cwd.js")), "", "command-prompt-here.js /target");
Eq(g_exampleExit, 0, "ends with 0");
Eq(awaitFile(TEST_DIR + "prompt-cwd.txt"), rightDir.replace(/\\$/, ""), "the program starts in the other panel's folder");
SetHostConfig("path.L=" + leftDir + "archive.zip\\\r\npath.R=" + rightDir);
Eq(RunExample("command-prompt-here.js", ""), leftDir + "archive.zip\\ is not a folder on disk (an archive or a connection?).",
   "a panel inside an archive");
Eq(g_exampleExit, 1, "ends with 1");

// ---- process-list-file.js: a Unicode list with a name outside the ANSI code page ----
var cyrillic = leftDir + String.fromCharCode(0x0416, 0x0443, 0x043A) + ".txt";
WriteUnicodeFile(cyrillic, "12345678");
WriteUnicodeFile(TEST_DIR + "list-w.tmp", cyrillic + "\r\n" + leftDir + "a.txt\r\n" + leftDir + "sub dir\\\r\n");
h.SetTextToClip("before");
Eq(RunExample("process-list-file.js", Quote(TEST_DIR + "list-w.tmp") + " /clip"), "2 file(s), 23 bytes; 1 folder(s).",
   "process-list-file.js: the Cyrillic name is found and sized (8 characters in UTF-16 with BOM: 18 bytes, + 5)");
Eq(g_exampleExit, 0, "ends with 0");
Eq(h.GetTextFromClip(), cyrillic + "\r\n" + leftDir + "a.txt\r\n" + leftDir + "sub dir", "/clip: the names, Cyrillic included");
WriteTextFile(TEST_DIR + "list-a.tmp", leftDir + "a.txt\r\n" + leftDir + "gone.txt\r\n");
Eq(RunExample("process-list-file.js", Quote(TEST_DIR + "list-a.tmp")), "1 file(s), 5 bytes; 0 folder(s).\r\n  not found: " +
   leftDir + "gone.txt", "an ANSI list with a missing name");
Eq(g_exampleExit, 1, "ends with 1");

// ---- copy-dates.js: every selected file onto its namesake ----
var stamp = h.FormatAny(40000.25, "");   // any date: the script compares what the files say
makeFiles(leftDir, "d1.txt|d2.txt");
makeFiles(rightDir, "d1.txt|d2.txt");
h.SetFileDateAtr(leftDir + "d1.txt", 40000.25, 40000.25, 40000.25, 33);
h.SetFileDateAtr(leftDir + "d2.txt", 41000.5, 41000.5, 41000.5, 32);
SetHostConfig(panels("d1.txt|d2.txt|a.txt", ""));
function modified(path) {
  return new Date(g_fso.GetFile(path).DateLastModified).getTime();
}
Eq(RunExample("copy-dates.js", ""), "2 of 3 file(s): dates and attributes copied.\r\n  no such file: " + rightDir + "a.txt",
   "copy-dates.js: two copied, the one without a namesake listed");
Eq(g_exampleExit, 1, "ends with 1");
Eq(modified(rightDir + "d1.txt"), modified(leftDir + "d1.txt"), "d1.txt has its source's modified date");
Eq(modified(rightDir + "d2.txt"), modified(leftDir + "d2.txt"), "so has d2.txt");
Ok(modified(rightDir + "d1.txt") != modified(rightDir + "d2.txt"), "and the two differ");
Eq(g_fso.GetFile(rightDir + "d1.txt").Attributes & 1, 1, "d1.txt became read-only like its source");
Eq(RunExample("copy-dates.js", Quote(leftDir + "d2.txt") + " " + Quote(rightDir + "c.txt") + " /q"), "", "two names, a missing target");
Eq(g_exampleExit, 1, "ends with 1");

// ---- main-ini-setting.js: the file the running host names ----
var ini = TEST_DIR + "main settings.ini";
WriteTextFile(ini, "[Configuration]\r\nShowHidden=0\r\nEmpty=\r\n[Layout]\r\nButtons=1\r\n");
SetHostConfig("dialog_text=INI-Files: " + ini + "<CR>" + TEST_DIR + "ftp.ini");
Eq(RunExample("main-ini-setting.js", ""), ini + "\r\nConfiguration\r\nLayout", "main-ini-setting.js: the sections of the host's file");
Eq(RunExample("main-ini-setting.js", "Configuration Empty"), "[Configuration] Empty=", "an empty value is not a missing one");
Eq(g_exampleExit, 0, "ends with 0");
Eq(RunExample("main-ini-setting.js", "Configuration Missing"), "[Configuration] Missing is not set in " + ini, "a missing key");
Eq(g_exampleExit, 1, "ends with 1");
Eq(RunExample("main-ini-setting.js", "Layout Buttons 0 /q"), "", "a value written quietly");
Eq(h.INIRead(ini, "Layout", "Buttons"), "0", "the file holds it");

// ---- no host ----
StopHost();
Eq(RunExample("batch-rename.js", "/yes"), "Select the files to rename in the active panel first.", "batch-rename.js without a host");
Eq(RunExample("new-folder-from-name.js", "x"), "The file manager is not running or did not tell its folder.", "new-folder-from-name.js");
Eq(RunExample("command-prompt-here.js", ""), "The file manager is not running or did not tell its folder.", "command-prompt-here.js");
Eq(g_exampleExit, 1, "ends with 1");
Ok(RunExample("diff-panels.js", "").indexOf("Put the cursor on a file in each panel") == 0, "diff-panels.js");
Eq(g_exampleExit, 1, "ends with 1");
Finish();
