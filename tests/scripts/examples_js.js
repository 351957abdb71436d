// timeout: 240
// The JScript examples, run with cscript against the stand-in host like their VBScript twins:
// output, exit codes, and what the host, the clipboard and the files show afterwards.
var leftDir = TEST_DIR + "left\\", rightDir = TEST_DIR + "right\\";
ExpectFromHost("expect_cmd=540,2017,2018\r\nexpect_copydata=CD,EM\r\nexpect_gw=A,LP,RP,SP\r\nexpect_keys=1");
g_fso.CreateFolder(leftDir);
g_fso.CreateFolder(leftDir + "sub");
var panels = "path.L=" + leftDir + "\r\npath.R=" + rightDir + "\r\npathbar.L=" + leftDir + "*.log\r\npathbar.R=" + rightDir;
StartHost("selected.L=one.txt|two.txt|sub\r\n" + panels);
var h = new ActiveXObject("Ombrisk.Helper");

// ---- copy-names.js: the selection in the form asked for ----
h.SetTextToClip("before");
Eq(RunExample("copy-names.js", ""), "3 name(s) copied to the clipboard.", "copy-names.js counts");
Eq(g_exampleExit, 0, "and ends with 0");
Eq(h.GetTextFromClip(), "one.txt\r\ntwo.txt\r\nsub", "no options: the names, one per line");
Eq(RunExample("copy-names.js", "/FULL /Q /noext /slash /quoted /sep:comma"), "", "/Q: nothing printed (switches in any case)");
var slashed = leftDir.replace(/\\/g, "/");
Eq(h.GetTextFromClip(), "\"" + slashed + "one\",\"" + slashed + "two\",\"" + slashed + "sub\"",
   "full paths, no extensions, forward slashes, quoted, commas; the folder sub keeps its name");
SetHostConfig("selected.L=archive.tar.gz|.profile|dir.d\\\r\n" + panels);
RunExample("copy-names.js", "/noext /sep:semicolon");
Eq(h.GetTextFromClip(), "archive.tar;.profile;dir.d", "/noext: the last extension only; a leading dot or a folder keeps it");
Ok(RunExample("copy-names.js", "/sep:tab").indexOf("Unknown option /sep:tab") == 0, "an unknown option is named");
Eq(g_exampleExit, 1, "ends with 1");
SetHostConfig("selected.L=one.txt|two.txt|sub\r\n" + panels);

// ---- go-to-clipboard-folder.js: a "CD" request for the folder on the clipboard ----
// The bytes of a text of ASCII characters in hex.
function hexOf(text) {
  var hex = [];
  for (var i = 0; i < text.length; i++) hex.push((text.charCodeAt(i) < 16 ? "0" : "") + text.charCodeAt(i).toString(16).toUpperCase());
  return hex.join(" ");
}
function lastCd() {
  var cd = HostLogLines("COPYDATA code=CD");
  return cd.length ? cd[cd.length - 1].substr(cd[cd.length - 1].indexOf("bytes=") + 6) : "";
}
// A folder named in Cyrillic (outside the ANSI code page): the clipboard and the request carry it.
var cyrillic = leftDir + String.fromCharCode(0x0416, 0x0443, 0x043A) + "\\";
g_fso.CreateFolder(cyrillic);
WriteTextFile(cyrillic.replace(/\\$/, "") + "\\..\\one.txt", "1");
h.SetTextToClip("\t\"" + cyrillic + "\" \r\nmore");
ClearHostLog();
RunExample("go-to-clipboard-folder.js", "/tab");
Eq(g_exampleExit, 0, "go-to-clipboard-folder.js /tab ends with 0");
Ok(lastCd().indexOf("EF BB BF " + hexOf(leftDir) + " D0 96 D1 83 D0 BA 5C 0D 00 53 54 00") == 0,
   "the Cyrillic folder in UTF-8 for the source panel, in a new tab: " + lastCd());
h.SetTextToClip(leftDir.replace(/\\/g, "/") + "one.txt");
Eq(RunExample("go-to-clipboard-folder.js", "/target"), "Opened " + leftDir, "a file's path with forward slashes: its folder");
Ok(lastCd().indexOf("0D EF BB BF " + hexOf(leftDir) + " 00 53 00") == 0, "for the target panel: " + lastCd());
h.SetTextToClip(leftDir + "nowhere");
ClearHostLog();
Eq(RunExample("go-to-clipboard-folder.js", ""), "No such folder or file: " + leftDir + "nowhere", "a path that does not exist");
Eq(g_exampleExit, 1, "ends with 1");
Eq(HostLogLines("COPYDATA code=CD").length, 0, "and no directory change is asked for");

// ---- show-filters.js ----
Eq(RunExample("show-filters.js", ""), "Left panel:  *.log   (active)\r\nRight panel: (no filter)", "show-filters.js");
Eq(g_exampleExit, 0, "ends with 0");

// ---- touch-selected.js: files dated now, folders skipped, the other dates kept ----
var created = 36000.25, old = 37000.5;   // 24 July 1998 6:00, 19 April 2001 12:00
WriteTextFile(leftDir + "one.txt", "1");
WriteTextFile(leftDir + "two.txt", "2");
h.SetFileDateAtr(leftDir + "one.txt", created, old, old);
h.SetFileDateAtr(leftDir + "two.txt", created, old, old, 1);
ClearHostLog();
Eq(RunExample("touch-selected.js", "/q"), "", "touch-selected.js /q prints nothing");
Eq(g_exampleExit, 0, "and ends with 0");
Eq(HostLogLines("CMD ").join("|"), "CMD posted 2018 lparam=0|CMD posted 540 lparam=0",
   "it asked for full paths, then had the source panel read again");
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
Eq(RunExample("copy-names.js", ""), "The file manager is not running.", "copy-names.js without a host");
Eq(g_exampleExit, 1, "ends with 1");
Eq(RunExample("show-filters.js", ""), "The file manager is not running.", "show-filters.js without a host");
Eq(RunExample("show-filters.js", "/q"), "", "show-filters.js /q says nothing");
Eq(g_exampleExit, 1, "but ends with 1");
Eq(RunExample("go-to-clipboard-folder.js", "/q"), "", "go-to-clipboard-folder.js without a host, quietly");
Eq(RunExample("touch-selected.js", ""), "Nothing is selected, or the file manager is not running.", "touch-selected.js");
Eq(RunExample("copy-dates.js", ""), "Select files in the active panel first (or give two file names).", "copy-dates.js");
Eq(g_exampleExit, 1, "ends with 1");
Finish();
