// GetTrgSelectedFiles makes the target panel active with a Tab before the copy command and
// the source panel again with a Tab after it. A host captioned outside the ANSI code page gets
// both Tabs; when a Tab cannot be sent, or only into a dialog of the host, the names of the
// wrong panel never come back: the result is Empty and the clipboard text stays as it was.
var CFG = "selected.L=a.txt|b.txt\r\nselected.R=x.doc|y.doc|z.doc";

// The log lines of the Tab keys, panel switches, commands and copies, in order, joined by " | ".
function Steps() {
  var all = HostLogArray(""), out = [];
  for (var i = 0; i < all.length; i++) {
    var line = all[i];
    if (line.indexOf("KEYDOWN vk") == 0) line = LogField(line, "vk") == "9" ? "TAB" : "";
    if (/^(PANEL|CMD|CLIP) /.test(line) || line == "TAB") out.push(line);
  }
  return out.join(" | ");
}

// Wine's JScript cannot take typeof of a safe array: a result that is not Empty is read as one.
function IsEmptyResult(v) {
  return v === undefined;
}

function Names(v) {
  return v === undefined ? "Empty" : "(" + ToArray(v).join("|") + ")";
}

// ---- a Cyrillic caption: both Tabs reach the host ----
ExpectFromHost("expect_cmd=2017,2018\r\nexpect_keys=1");
StartHost(CFG + "\r\ncaption=Total Commander - \u0418\u0432\u0430\u043d");
var h = new ActiveXObject("Ombrisk.Helper");
ClearHostLog();
Eq(Names(h.GetTrgSelectedFiles()), "(x.doc|y.doc|z.doc)", "Cyrillic caption: the target panel's names");
Eq(Steps(), "TAB | PANEL R | CMD posted 2017 lparam=0 | CLIP R count=3 cmd=2017 | TAB | PANEL L",
   "Cyrillic caption: Tab, the command, Tab back");
h = null;
CollectGarbage();
StopHost();

// ---- the first Tab fails: no command, Empty, the clipboard untouched ----
StartHost(CFG + "\r\nrefuse_foreground=1");
h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 200;
Ok(WaitLog("FOREGROUND to decoy", 1, 3000), "the host gives the foreground away");
h.SetTextToClip("kept text");
ClearHostLog();
var r = h.GetTrgSelectedFiles();
Ok(IsEmptyResult(r), "first Tab failed: Empty (got " + Names(r) + ")");
Eq(HostLogCount("CMD "), 0, "no copy command was sent");
Eq(HostLogCount("PANEL "), 0, "no panel switched");
Eq(h.GetTextFromClip(), "kept text", "the clipboard text is untouched");
h.Wait = true;
r = h.GetTrgSelectedFiles(true);
Ok(IsEmptyResult(r), "the same with Wait and full paths: Empty (got " + Names(r) + ")");
Eq(HostLogCount("CMD "), 0, "no command either");
h = null;
CollectGarbage();
StopHost();

// ---- the second Tab fails: Empty, the caller's clipboard text put back ----
StartHost(CFG + "\r\nrefuse_foreground_after_cmd=2017");
h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 200;
h.Wait = true;
h.SetTextToClip("kept text");
ClearHostLog();
r = h.GetTrgSelectedFiles();
Ok(IsEmptyResult(r), "second Tab failed: Empty (got " + Names(r) + ")");
Eq(Steps(), "TAB | PANEL R | CMD sent 2017 lparam=0 | CLIP R count=3 cmd=2017",
   "the first Tab and the command arrived, the second Tab did not");
Eq(h.GetTextFromClip(), "kept text", "the clipboard holds the caller's text again");
h = null;
CollectGarbage();
StopHost();

// ---- a modal dialog of the host is open: the Tab would go into it, so nothing is sent ----
StartHost(CFG);
h = new ActiveXObject("Ombrisk.Helper");
h.SetTextToClip("kept text");
HostPost(9004);
Ok(WaitLog("KEYDIALOG open by=cmd", 1, LimitMs(5000)), "the host opened its modal dialog");
ClearHostLog();
r = h.GetTrgSelectedFiles();
Ok(IsEmptyResult(r), "a dialog open: Empty (got " + Names(r) + ")");
Eq(Steps(), "", "no Tab, no command, no copy");
Eq(h.GetTextFromClip(), "kept text", "the clipboard text is untouched");
Eq(h.SendKeystroke("{ESC}"), true, "the dialog still takes the user's keys");
Ok(WaitLog("KEYDIALOG cancel", 1, LimitMs(5000)), "and closes");
h = null;
CollectGarbage();
StopHost();

Finish();
