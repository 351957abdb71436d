// GetFilter from JScript with text outside the ANSI code page: the path bar is read as Unicode
// and the path removed regardless of letter case beyond ASCII.
var left = "C:\\\u00dcber\\\u4e2d\u6587\\", right = "D:\\\u0416\u0443\u0440\u043d\u0430\u043b\\";
ExpectFromHost("expect_gw=A");
StartHost("pathbar.L=" + left + "\u65e5*.txt\r\npathbar.R=" + right + "\u00e9t\u00e9 *.*\r\n" +
          "answer.LP=c:\\\u00fcber\\\u4e2d\u6587\\\r\nanswer.RP=d:\\\u0436\u0443\u0440\u043d\u0430\u043b\\\r\nactive=R");
var h = new ActiveXObject("Ombrisk.Helper");
Eq(h.GetFilter("L"), "\u65e5*.txt", "left: the CJK filter after a path with an umlaut in the other case");
Eq(h.GetFilter("R"), "\u00e9t\u00e9 *.*", "right: Cyrillic path in the other case removed");
Eq(h.GetFilter("S"), "\u00e9t\u00e9 *.*", "S follows the active right panel");
Eq(h.GetFilter("T"), "\u65e5*.txt", "T the left one");
Eq(typeof h.GetFilter("x"), "string", "an unknown side gives a string");
Eq(h.GetFilter("x"), "", "the empty one");
StopHost();
Eq(typeof h.GetFilter("L"), "undefined", "no host: Empty, undefined in JScript");
Finish();
