// Wrong arguments as only JScript passes them and shows their errors (every member with every
// kind of wrong argument is tests/client/badinputclient.cpp): undefined, a JScript array (an
// object whose value is its text), a property get called as a method, and the error numbers.
var h = new ActiveXObject("Ombrisk.Helper");
h.Pause = 0;

// The call's error as "0xXXXXXXXX description" (unsigned), or "none".
function Outcome(call) {
  try {
    call();
  } catch (e) {
    return "0x" + (e.number >>> 0).toString(16).toUpperCase() + " " + e.description;
  }
  return "none";
}

Eq(Outcome(function () { h.Sleep(null); }), "0x800A000D Type mismatch", "null for a Long");
Eq(Outcome(function () { h.INIRead(null); }), "0x800A005E Invalid use of Null", "null for a file name");
Eq(Outcome(function () { h.Sleep(2147483648); }), "0x800A0006 Overflow", "2^31 for a Long");
Eq(Outcome(function () { h.Sleep(); }), "0x800A01C2 Wrong number of arguments or invalid property assignment",
  "a required argument left off");
Eq(Outcome(function () { h.About(1); }), "0x800A01C2 Wrong number of arguments or invalid property assignment",
  "one argument too many, refused before the box shows");
// The dispatcher's own answer, passed on: the member is a property get, not a method.
Eq(Outcome(function () { h.GetFilter(); }).substr(0, 10), "0x80020003", "a property get called as a method");
EqType(h.SetSrcPath(undefined), true, "undefined is the empty path");
EqType(h.FormatAny([1, "two", 3], "0.00"), "1,two,3", "a JScript array formats as its text");
Eq(h.FormatAny(0.5, "0%"), "50%", "the object still works");
Finish();
