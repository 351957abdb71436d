// keyboard: fr
// Keys under a French (AZERTY) layout, whose digits need Shift: Ctrl+1 goes without it, the
// digit as text with it. Caps Lock, turned on by the keys themselves, does not change the case
// of the text, and is on again after the call.
ExpectFromHost("expect_keys=1");
StartHost("");
var h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;

ClearHostLog();
Eq(h.SendKeystroke("^1"), true, "^1 returns true");
Eq(HostKeyDowns(), "^17 ^49", "Ctrl+1 without the layout's Shift");
ClearHostLog();
Eq(h.SendKeystroke("1"), true, "1 returns true");
Eq(HostTyped(), "1", "the digit as text, typed with the layout's Shift");

var capsOn = false;
try {
  ClearHostLog();
  capsOn = h.SendKeystroke("{CAPSLOCK}");
  Ok(capsOn, "{CAPSLOCK} returns true");
  Eq(h.SendKeystroke("abC d+e"), true, "text with Caps Lock on returns true");
  Eq(HostTyped(), "abC dE", "the text arrives as written");
  var last = HostLogArray("KEYDOWN vk=232").pop() || "";
  Eq(LogField(last, "caps"), "1", "Caps Lock is on again when the call has ended");
} finally {
  if (capsOn) RunWait(Quote(STANDIN_EXE) + " ctl keyhold 20") + RunWait(Quote(STANDIN_EXE) + " ctl keyrelease 20");
}
Finish();
