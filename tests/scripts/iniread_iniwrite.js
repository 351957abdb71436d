// INI files from JScript: list results read through VBArray, text outside any ANSI code page,
// numbers and undefined as arguments.
var h = new ActiveXObject("Ombrisk.Helper");
var f = TEST_DIR + "js.ini";
var cyr = String.fromCharCode(0x0416, 0x0436);   // Cyrillic Zhe, upper and lower case
var kana = String.fromCharCode(0x3042, 0x3044);  // Hiragana a, i
var file = g_fso.CreateTextFile(f, true, true);  // UTF-16 with byte order mark
file.Write("[First]\r\nname=" + kana + "\r\n[" + cyr + "]\r\n" + kana + "=" + cyr + "\r\n[12]\r\n3=three\r\n");
file.Close();

// Wine's JScript cannot take typeof of a safe array (E_NOTIMPL): lists go straight to VBArray.
var names = new VBArray(h.INIRead(f));
Eq(names.lbound(1), 0, "the array starts at 0");
Eq(names.ubound(1), 2, "three section names");
Eq(names.toArray().join("|"), "First|" + cyr + "|12", "the section names, one outside ANSI");
Eq(new VBArray(h.INIRead(f, cyr)).toArray().join("|"), kana, "the keys of a Cyrillic section");
Eq(h.INIRead(f, cyr, kana), cyr, "a value read with names outside ANSI");
Eq(h.INIRead(f, "First", "name"), kana, "a value outside ANSI");
Eq(new VBArray(h.INIRead(f, 12)).toArray().join("|"), "3", "a number as section");
Eq(h.INIRead(f, 12, 3), "three", "numbers as section and key");
Eq(new VBArray(h.INIRead(f, undefined, "name")).toArray().join("|"), "First|" + cyr + "|12",
   "an undefined section lists the sections");
Eq(h.INIRead(f, "First", "nope", undefined), "", "an undefined default gives the empty string");
Eq(typeof h.INIRead(f, "Missing"), "undefined", "a missing section gives Empty");

h.NoArrayReturn = true;
Eq(h.INIRead(f), "First\r\n" + cyr + "\r\n12", "NoArrayReturn true: one string");
h.NoArrayReturn = false;
Eq(new VBArray(h.INIRead(f)).ubound(1), 2, "NoArrayReturn false: an array again");

Eq(h.INIWrite(f, kana, cyr, kana + cyr), true, "INIWrite with names and value outside ANSI");
Eq(h.INIRead(f, kana, cyr), kana + cyr, "read back");
Eq(h.INISectionExists(f, String.fromCharCode(0x0436, 0x0436)), true,
   "INISectionExists ignores case outside ASCII too");
var section = h.INIReadSection(f, kana);
Eq(section, cyr + "=" + kana + cyr + "\r\n", "INIReadSection of the new section");
Eq(h.INIWriteSection(f, "Copy", section), true, "INIWriteSection of that text");
Eq(h.INIReadSection(f, "Copy"), section, "gives the same entries");
Eq(h.INIDelete(f, kana, cyr), true, "INIDelete of a key");
Eq(typeof h.INIReadSection(f, kana), "undefined", "the section is empty now");

var err = null;
try { h.INIRead(f, null); } catch (e) { err = e; }
Ok(err !== null && (err.number & 0xFFFF) == 94, "null as section raises 94");

Finish();
