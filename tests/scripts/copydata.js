// Text outside the ANSI code page in paths and answers, seen from JScript.
ExpectFromHost("expect_copydata=CD");
StartHost("answer.SP=" + "C:\\" + String.fromCharCode(0x4E2D, 0x6587) + "\\");
var h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;
Eq(h.GetSrcPath(), "C:\\" + String.fromCharCode(0x4E2D, 0x6587) + "\\", "an answer outside ASCII comes back whole");
Eq(h.SetLeftPath("C:\\" + String.fromCharCode(0x4E2D), true), true, "SetLeftPath in a new tab");
var lines = HostLogArray("COPYDATA ");
var last = lines[lines.length - 1];
Ok(last.indexOf("bytes=EF BB BF 43 3A 5C E4 B8 AD 0D 00 54 00 00") > 0, "a CJK path in UTF-8 with flag T only: " + last.substr(0, 120));
Eq(h.SetSrcPath(""), true, "an empty path");
Eq(h.GetInfo("sp"), "C:\\" + String.fromCharCode(0x4E2D, 0x6587) + "\\", "lower-case request");
var threw = 0;
try { h.GetInfo(null); } catch (e) { threw = e.number & 0xFFFF; }
Eq(threw, 94, "GetInfo(null) raises invalid use of Null");
Finish();
