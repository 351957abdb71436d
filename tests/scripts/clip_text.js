// Clipboard text from JScript: text outside any ANSI code page, NULs, and blocks that another
// program put there with sizes that do not match their text.
var h = new ActiveXObject("Ombrisk.Helper");
var tool = STANDIN_EXE.substr(0, STANDIN_EXE.lastIndexOf("\\") + 1) + "utiltool.exe";

// Puts a Unicode text block of exactly these bytes (hex) on the clipboard from another process.
function PutRawBlock(hex) {
  return RunWait(Quote(tool) + " clipraw " + hex);
}

var mixed = "K" + String.fromCharCode(0x00F6, 0x0416, 0x3042, 0xD83D, 0xDE00) + "!";
Eq(typeof h.SetTextToClip(mixed), "undefined", "SetTextToClip returns Empty");
Eq(h.GetTextFromClip(), mixed, "Latin, Cyrillic, kana and a surrogate pair round trip");
h.SetTextToClip("");
Eq(h.GetTextFromClip(), "", "the empty text round trips");
h.SetTextToClip("ab\u0000cd");
Eq(h.GetTextFromClip(), "ab", "an embedded NUL ends the text on the clipboard");
h.SetTextToClip("\u0000rest");
Eq(h.GetTextFromClip(), "", "a text that starts with NUL puts the empty text");
Eq(h.ClearClip(), true, "ClearClip");
Eq(h.GetTextFromClip(), "", "an empty clipboard reads as the empty string");
// ClearClip leaves the library's reply window as the clipboard's owner; another program's
// EmptyClipboard would then wait about 5 s for this thread, which pumps no messages while it
// waits for that program, to answer WM_DESTROYCLIPBOARD. Taking the clipboard back avoids that.
h.SetTextToClip("x");

// Blocks of other programs: the text ends at its first NUL, or with the block when it has none.
if (PutRawBlock("61006200000000000000") == 0) {
  Eq(h.GetTextFromClip(), "ab", "a 10-byte block holding 2 characters reads as those 2, unpadded");
} else Report(false, "clipraw failed");
if (PutRawBlock("610062006300") == 0) {
  // Windows hands the block over as it is; Wine's clipboard turns its last character into NUL.
  var noNul = h.GetTextFromClip();
  Ok(noNul == "abc" || noNul == "ab", "a block without NUL reads no further than its end (got " + Describe(noNul) + ")");
} else Report(false, "clipraw failed");
if (PutRawBlock("410042") == 0) {
  Eq(h.GetTextFromClip(), "A", "an odd byte at the end of the block is no character");
} else Report(false, "clipraw failed");
if (PutRawBlock("41") == 0) {
  Eq(h.GetTextFromClip(), "", "a block of 1 byte reads as the empty string");
} else Report(false, "clipraw failed");
h.SetTextToClip("again");
Eq(h.GetTextFromClip(), "again", "the clipboard works normally afterwards");

Finish();
