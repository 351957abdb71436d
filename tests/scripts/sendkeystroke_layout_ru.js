// keyboard: ru
// Keys under a Russian keyboard layout, which has no Latin letters. A letter or digit held with
// Ctrl or Alt names a shortcut and goes as its own key (Ctrl+F is F with Ctrl held, never the
// character f); text keeps the layout's choice: Latin letters as Unicode input, Cyrillic ones
// as the layout's keys where it has them.
ExpectFromHost("expect_keys=1");
StartHost("");
var h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;

var cases = ["^f", "^17 ^70", "^a", "^17 ^65", "+^s", "+16 +^17 +^83", "%q", "%18 %81", "^(a1)", "^17 ^65 ^49"];
for (var i = 0; i < cases.length; i += 2) {
  ClearHostLog();
  Eq(h.SendKeystroke(cases[i]), true, cases[i] + " returns true");
  Eq(HostKeyDowns(), cases[i + 1], cases[i] + ": the keys the letters name");
  Ok(!/[a-z]/.test(HostTyped()), cases[i] + ": no Latin letter typed as a character (" + HostTyped() + ")");
}

ClearHostLog();
Eq(h.SendKeystroke("f\u0444+f"), true, "text returns true");
Eq(HostTyped(), "f\u0444f", "Latin and Cyrillic text as written");
Eq(HostKeyDowns().split(" ")[0] + " " + HostKeyDowns().split(" ").slice(-2).join(" "), "231 +16 +231",
   "the Latin letters as Unicode input, Shift held over the second");
Finish();
