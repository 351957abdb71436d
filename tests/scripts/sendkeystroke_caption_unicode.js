// A host captioned with characters outside the ANSI code page (a Cyrillic name on a Western
// system) is activated by its own caption, and keys reach it rather than another window whose
// caption has the same beginning or is the same.
var CAPTION = "Total Commander - \u0418\u0432\u0430\u043d \u041f\u0435\u0442\u0440\u043e\u0432";

// ---- the host alone ----
ExpectFromHost("expect_keys=1");
StartHost("caption=" + CAPTION);
var h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;
ClearHostLog();
Eq(h.SendKeystroke("q"), true, "a host captioned in Cyrillic is activated");
Eq(HostTyped(), "q", "and gets the key");
Eq(h.SendKeystroke("{TAB}"), true, "a key name too");
Eq(HostLogCount("PANEL R"), 1, "the Tab arrived");

// ---- another window above it whose caption begins the same ----
StartNamedHost("longer", "window_class=TOther\r\ncaption=" + CAPTION + " (2)");
ClearHostLog();
Eq(h.SendKeystroke("ab"), true, "with a longer caption of the same beginning above the host");
Eq(HostKeyDowns(), "65 66", "the host gets the keys");
Eq(KeyDownsOf(NamedHostLog("longer")), "", "the other window none");

// ---- another window above it with the very same caption ----
StartNamedHost("same", "window_class=TOther\r\ncaption=" + CAPTION);
ClearHostLog();
Eq(h.SendKeystroke("cd"), true, "with a window of the same caption above the host");
Eq(HostKeyDowns(), "67 68", "the host gets the keys");
Eq(KeyDownsOf(NamedHostLog("same")), "", "the other window none");
Eq(KeyDownsOf(NamedHostLog("longer")), "", "nor the one with the longer caption");
h = null;
CollectGarbage();
StopHost();

// ---- the same with an ASCII caption: the host, not the window of the same caption above it ----
StartHost("caption=Total Commander");
h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;
StartNamedHost("twin", "window_class=TOther\r\ncaption=Total Commander");
ClearHostLog();
Eq(h.SendKeystroke("e"), true, "two windows captioned alike");
Eq(HostKeyDowns(), "69", "the host found by its class gets the key");
Eq(KeyDownsOf(NamedHostLog("twin")), "", "the other window none");
h = null;
CollectGarbage();
StopHost();

Finish();
