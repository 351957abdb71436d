// timeout: 240
// The JScript examples, run with cscript against the stand-in host like their VBScript twins:
// output, exit codes, and what the host, the clipboard and the files show afterwards.
var leftDir = TEST_DIR + "left\\", rightDir = TEST_DIR + "right\\";
ExpectFromHost("expect_cmd=2017,2018\r\nexpect_copydata=CD,EM\r\nexpect_gw=A,LP,RP,SP\r\nexpect_keys=1");
g_fso.CreateFolder(leftDir);
g_fso.CreateFolder(leftDir + "sub");
var panels = "path.L=" + leftDir + "\r\npath.R=" + rightDir + "\r\npathbar.L=" + leftDir + "*.log\r\npathbar.R=" + rightDir;
StartHost("selected.L=one.txt|two.txt|sub\r\n" + panels);
var h = new ActiveXObject("Ombrisk.Helper");

// ---- copy-selected-names.js ----
h.SetTextToClip("before");
Eq(RunExample("copy-selected-names.js", ""), "3 name(s) copied to the clipboard.", "copy-selected-names.js counts");
Eq(g_exampleExit, 0, "and ends with 0");
Eq(h.GetTextFromClip(), "one.txt\r\ntwo.txt\r\nsub", "the names are on the clipboard");
Eq(RunExample("copy-selected-names.js", "/FULL /Q"), "", "/FULL /Q: nothing printed (switches in any case)");
Eq(h.GetTextFromClip(), leftDir + "one.txt\r\n" + leftDir + "two.txt\r\n" + leftDir + "sub", "full paths");

// ---- open-in-other-panel.js: the "CD" request carries the source path for the target ----
ClearHostLog();
Eq(RunExample("open-in-other-panel.js", "/tab"), "Opened " + leftDir + " in a new tab of the other panel.",
   "open-in-other-panel.js /tab");
var cd = HostLogLines("COPYDATA code=CD");
Eq(cd.length, 1, "one directory change");
// CR, EF BB BF, the path in UTF-8 (ASCII here), NUL, "ST", NUL.
var hex = [];
for (var i = 0; i < leftDir.length; i++) hex.push((leftDir.charCodeAt(i) < 16 ? "0" : "") + leftDir.charCodeAt(i).toString(16).toUpperCase());
var bytes = cd.length ? cd[0].substr(cd[0].indexOf("bytes=") + 6) : "";
Eq(bytes.substr(0, (hex.length + 8) * 3 - 1), "0D EF BB BF " + hex.join(" ") + " 00 53 54 00", "for the target panel, in a new tab");

// ---- show-filters.js ----
Eq(RunExample("show-filters.js", ""), "Left panel:  *.log   (active)\r\nRight panel: (no filter)", "show-filters.js");
Eq(g_exampleExit, 0, "ends with 0");

// ---- touch-selected.js: files dated now, folders skipped, the other dates kept ----
var created = 36000.25, old = 37000.5;   // 24 July 1998 6:00, 19 April 2001 12:00
WriteTextFile(leftDir + "one.txt", "1");
WriteTextFile(leftDir + "two.txt", "2");
h.SetFileDateAtr(leftDir + "one.txt", created, old, old);
h.SetFileDateAtr(leftDir + "two.txt", created, old, old, 1);
Eq(RunExample("touch-selected.js", "/q"), "", "touch-selected.js /q prints nothing");
Eq(g_exampleExit, 0, "and ends with 0");
function ageSeconds(path) {
  return Math.abs(new Date(g_fso.GetFile(path).DateLastModified).getTime() - new Date().getTime()) / 1000;
}
Ok(ageSeconds(leftDir + "one.txt") < 120, "one.txt is dated now (" + ageSeconds(leftDir + "one.txt") + " s off)");
Ok(ageSeconds(leftDir + "two.txt") < 120, "so is two.txt");
Eq(g_fso.GetFile(leftDir + "two.txt").Attributes & 1, 1, "which stays read-only");
var out = RunExample("touch-selected.js", "");
Ok(out.indexOf("2 file(s) dated ") == 0 && /; 1 folder\(s\) or missing name\(s\) skipped\.$/.test(out),
   "without /q it counts two files and one folder: " + out);

// ---- user-command-and-keys.js: the "EM" request, then the keys; a bad key string ----
ClearHostLog();
Eq(RunExample("user-command-and-keys.js", "Tidy \"x{TAB}\""), "Ran Tidy\r\nTyped x{TAB}", "user-command-and-keys.js");
var em = HostLogLines("COPYDATA code=EM");
Eq(em.length == 1 ? em[0].substr(em[0].indexOf("bytes=")) : "", "bytes=54 69 64 79 00 00", "the host got Tidy");
Eq(HostKeyDowns(), "88 9", "then x and Tab");
Eq(RunExample("user-command-and-keys.js", "\"\" \"{sp -1}{sp 12}\""), "Could not type {sp -1}{sp 12}: Invalid procedure call or argument",
   "a negative space count is reported, not a crash");
Eq(g_exampleExit, 1, "and ends with 1");
SetHostConfig(panels + "\r\ncopydata_result.EM=1");
Eq(RunExample("user-command-and-keys.js", "Tidy /q"), "", "a refused command, quietly");
Eq(g_exampleExit, 1, "ends with 1");
SetHostConfig(panels);
h.SendKeystroke("{TAB}");   // back to the left panel

// ---- no host ----
StopHost();
Eq(RunExample("copy-selected-names.js", ""), "The file manager is not running.", "copy-selected-names.js without a host");
Eq(g_exampleExit, 1, "ends with 1");
Eq(RunExample("show-filters.js", ""), "The file manager is not running.", "show-filters.js without a host");
Eq(RunExample("touch-selected.js", ""), "Nothing is selected, or the file manager is not running.", "touch-selected.js");
Eq(RunExample("open-in-other-panel.js", ""), "The file manager is not running or did not tell its source folder.",
   "open-in-other-panel.js");
Eq(g_exampleExit, 1, "ends with 1");
Finish();
