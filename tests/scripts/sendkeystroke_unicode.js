// Characters the keyboard layout has no key for reach the host as Unicode input, each UTF-16
// unit as one character message; JScript sees a real Boolean result.
ExpectFromHost("expect_keys=1");
StartHost("");
var h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;

var cases = [
  ["\u00e9t\u00e9", "accented letters"],
  ["\u4e2d\u6587 {sp 2}x", "CJK text with a space token"],
  ["\ud83d\ude00", "a character outside the BMP (a surrogate pair)"],
  ["{\u00e9 3}", "a repeated literal character"]
];
var expected = ["\u00e9t\u00e9", "\u4e2d\u6587   x", "\ud83d\ude00", "\u00e9\u00e9\u00e9"];
for (var i = 0; i < cases.length; i++) {
  ClearHostLog();
  var r = h.SendKeystroke(cases[i][0]);
  Eq(typeof r, "boolean", cases[i][1] + ": the result is a Boolean");
  Eq(r, true, cases[i][1] + ": true");
  Eq(HostTyped(), expected[i], cases[i][1] + ": typed as given");
}

// The letters of the layout still go as their keys, mixed with Unicode input.
ClearHostLog();
Eq(h.SendKeystroke("a\u4e2db"), true, "mixed input");
Eq(HostKeyDowns(), "65 231 66", "a, a Unicode packet (VK_PACKET 231), b");

// An undefined argument is the empty string: activation and waits only.
ClearHostLog();
Eq(h.SendKeystroke(undefined), true, "undefined is an empty key string");
Eq(HostLogCount("KEYDOWN "), 0, "nothing typed");
Finish();
