// timeout: 180
// Selected names read from JScript through VBArray: text outside ASCII comes back unchanged,
// and ten thousand names come back complete.
var a = "\u00e4rger \u00df.txt", b = "\u4e2d\u6587.doc", c = "\ud83d\ude00 smile.txt", d = "plain.txt";
ExpectFromHost("expect_cmd=2017,2018\r\nexpect_keys=1");
StartHost("selected.L=" + a + "|" + b + "|" + c + "\r\nselected.R=" + d + "\r\npath.L=C:\\\u00dcber\\\r\n" +
          "path.R=D:\\\u65e5\u672c\\");
var h = new ActiveXObject("Ombrisk.Helper");

// Wine's JScript cannot take typeof of a safe array (E_NOTIMPL): results go straight to VBArray.
var names = ToArray(h.GetSrcSelectedFiles());
Eq(names.length, 3, "three names");
Eq(names.join("|"), [a, b, c].join("|"), "outside ASCII, unchanged");
names = ToArray(h.GetSrcSelectedFiles(true));
Eq(names[1], "C:\\\u00dcber\\" + b, "with the path, outside ASCII too");
names = ToArray(h.GetTrgSelectedFiles(true));
Eq(names.join("|"), "D:\\\u65e5\u672c\\" + d, "the target panel's one name with its path");
h.NoArrayReturn = true;
Eq(h.GetSrcSelectedFiles(), [a, b, c].join("\r\n"), "NoArrayReturn: one string");
h.NoArrayReturn = false;
Eq(ToArray(h.GetSrcSelectedFiles(undefined)).length, 3, "an undefined WithFullPath counts as false");

// Ten thousand names: every one, in order.
SetHostConfig("selected.L=@gen:10000");
h.SetTextToClip("before");
var t0 = NowMs();
names = ToArray(h.GetSrcSelectedFiles());
var ms = ElapsedMs(t0);
Eq(names.length, 10000, "10000 names (" + ms + " ms)");
var wrong = -1;
for (var i = 0; i < names.length; i++) {
  var n = String(i + 1);
  while (n.length < 5) n = "0" + n;
  if (names[i] != "file" + n + ".txt") { wrong = i; break; }
}
Eq(wrong, -1, "each name in its place: first " + names[0] + ", last " + names[names.length - 1]);
Eq(h.GetTextFromClip(), "before", "the earlier clipboard text came back");
h.NoArrayReturn = true;
var all = h.GetSrcSelectedFiles();
Eq(all.length, 10000 * 13 + 9999 * 2, "as one string: 10000 names of 13 characters and 9999 CR LF");
Finish();
