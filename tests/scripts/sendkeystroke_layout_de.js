// keyboard: de
// Keys under a German keyboard layout. Characters the layout types with AltGr ("@{}\" and the
// euro sign) reach the host as Unicode input, never as Ctrl+Alt and a key, which the host could
// take as a shortcut; letters go as their keys (z and y have swapped places on this layout).
ExpectFromHost("expect_keys=1");
StartHost("");
var h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;

var text = "@{}\\\u20ac\u00e4\u00f6\u00fc\u00dfzy";
ClearHostLog();
Eq(h.SendKeystroke("@{{}{}}\\\u20ac\u00e4\u00f6\u00fc\u00dfzy"), true, "the German characters return true");
Eq(HostTyped(), text, "the host received each character once");
var lines = LinesWithPrefix(HostLog(), "KEYDOWN "), held = [];
for (var i = 0; i < lines.length; i++)
  if (LogField(lines[i], "ctrl") != "0" || LogField(lines[i], "alt") != "0") held.push(lines[i]);
Eq(held.join(" | "), "", "no key arrived with Ctrl or Alt held");
Eq(HostKeyDowns().split(" ").slice(0, 5).join(" "), "231 231 231 231 231", "the AltGr characters came as Unicode input");
Eq(HostKeyDowns().split(" ").slice(-2).join(" "), "90 89", "z and y as the keys of this layout");
Finish();
