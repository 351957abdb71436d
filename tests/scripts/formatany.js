// FormatAny from JScript: undefined as the format, dates as serial numbers and as automation dates, text outside any ANSI
// code page, and the error of a safe array.
var h = new ActiveXObject("Ombrisk.Helper");
// An automation date as its serial number (days since 30 December 1899): Wine's JScript has no
// getVarDate, and the library converts numbers to dates as automation does.
function Serial(y, m, d, hh, nn, ss) {
  return (Date.UTC(y, m, d, hh || 0, nn || 0, ss || 0) - Date.UTC(1899, 11, 30)) / 86400000;
}

Eq(h.FormatAny(0.5, "0%"), "50%", "0.5 under 0% is 50%");
Eq(h.FormatAny(7), "7", "a number without format, no leading blank");
EqType(h.FormatAny(7, ""), "7", "an empty format is the general format");
EqType(h.FormatAny(true, ""), "True", "for a Boolean too");
Eq(h.FormatAny(7, undefined), "7", "an undefined format is the general format");
Eq(h.FormatAny(true), "True", "a Boolean without format");
Eq(h.FormatAny(Serial(2023, 0, 7), "ww"), "1", "Saturday 7 January 2023 is in week 1");
Eq(h.FormatAny(Serial(2023, 0, 8), "ww"), "2", "Sunday 8 January 2023 is in week 2");
Eq(h.FormatAny(Serial(2023, 2, 15, 12, 7, 9), "yyyy-mm-dd hh:nn:ss"), "2023-03-15 12:07:09",
   "a date from JScript under a date format");
// A real automation date (the scripting runtime's DateLastModified; Wine's JScript cannot take
// typeof of one) formats as a date.
var dated = TEST_DIR + "dated.txt";
WriteTextFile(dated, "x");
h.SetFileDateAtr(dated, Serial(2020, 4, 17), Serial(2020, 4, 17, 10, 20, 30), Serial(2020, 4, 17));
Eq(h.FormatAny(g_fso.GetFile(dated).DateLastModified, "yyyy-mm-dd hh:nn:ss"), "2020-05-17 10:20:30",
   "an automation date from the scripting runtime");
var zhe = String.fromCharCode(0x0436), ZHE = String.fromCharCode(0x0416);
Eq(h.FormatAny(zhe + "b", ">@@@"), " " + ZHE + "B", "> upper-cases Cyrillic too");
Eq(h.FormatAny(ZHE + "B", "!<@@@"), zhe + "b ", "< with ! lower-cases and fills from the left");

var f = TEST_DIR + "list.ini";
h.INIWrite(f, "a", "k", "v");
var err = null;
try { h.FormatAny(h.INIRead(f)); } catch (e) { err = e; }
Ok(err !== null, "a safe array cannot be formatted");
if (err !== null) {
  Eq(err.number & 0xFFFF, 13, "error 13");
  Eq(err.description, "Type mismatch", "with its description");
}
Finish();
