// SetFileDateAtr from JScript: dates as serial numbers and as automation dates, omitted trailing arguments, and undefined,
// which JScript passes as Empty (a given value: the zero date, which no file can take).
var h = new ActiveXObject("Ombrisk.Helper");
// An automation date as its serial number (days since 30 December 1899): Wine's JScript has no
// getVarDate, and the library converts numbers to dates as automation does.
function Serial(y, m, d, hh, nn, ss) {
  return (Date.UTC(y, m, d, hh || 0, nn || 0, ss || 0) - Date.UTC(1899, 11, 30)) / 86400000;
}
var tool = STANDIN_EXE.substr(0, STANDIN_EXE.lastIndexOf("\\") + 1) + "utiltool.exe";

// "created|modified|accessed|attributes" of path as local times to the second.
function Times(path) {
  var out = TEST_DIR + "times.txt";
  if (g_fso.FileExists(out)) g_fso.DeleteFile(out, true);
  return RunWait(Quote(tool) + " filetimes " + Quote(path) + " " + Quote(out)) == 0 ? ReadTextFile(out) : "";
}
function Field(t, k) { return t.split("|")[k]; }

var p = TEST_DIR + "js-target.txt";
WriteTextFile(p, "x");
var before = Times(p);
Eq(h.SetFileDateAtr(p), true, "only File");
Eq(Times(p), before, "keeps dates and attributes");

var created = Serial(2011, 0, 2, 3, 4, 5);
var modified = Serial(2012, 5, 6, 7, 8, 9);
var accessed = Serial(2013, 9, 10, 11, 12, 13);
Eq(h.SetFileDateAtr(p, created, modified, accessed, 1), true, "all four given");
var t = Times(p);
Eq(Field(t, 1) + "|" + Field(t, 2) + "|" + (Field(t, 3) & 1), "2012-06-06 07:08:09|2013-10-10 11:12:13|1",
   "last-write and access times and the read-only attribute");
Eq(h.SetFileDateAtr(p, created, Serial(2014, 0, 1)), true, "trailing arguments left out");
t = Times(p);
Eq(Field(t, 1) + "|" + Field(t, 2) + "|" + (Field(t, 3) & 1), "2014-01-01 00:00:00|2013-10-10 11:12:13|1",
   "the new last-write time; the access time and the read-only bit stay");
before = Times(p);
Eq(h.SetFileDateAtr(p, undefined, modified), false, "undefined as DateCreated is Empty, the zero date: false");
Eq(Times(p), before, "and the read-only file is unchanged");
Eq(h.SetFileDateAtr(p, created, modified, accessed, 0), true, "attributes 0");
Eq(Field(Times(p), 3) & 1, 0, "remove the read-only bit");
Eq(h.SetFileDateAtr(p, "1/2/2011 3:04:05 AM", "not a date"), true, "a date string; an unconvertible one is skipped");
Eq(Field(Times(p), 1), "2012-06-06 07:08:09", "the skipped date keeps the file's own");
Finish();
