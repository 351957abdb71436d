// Bad input from JScript: what JScript hands a member differs from VBScript (undefined is Empty,
// an array is a script object, numbers are doubles or integers). One member of each parameter
// kind gets every wrong value, one argument too few and one too many; each call must give its
// documented result or a script error with a description, and the process must live on.
var h = new ActiveXObject("Ombrisk.Helper");
var iniFile = TEST_DIR + "js bad.ini";
var iniText = "[S]\r\nk=v\r\n";
var huge = new Array(1000001).join("x");
var kinds = ["null", "undefined", "array", "object", "1M string", "-1", "2^31", "1e300"];
var values = [null, undefined, [1, "two", 3], new ActiveXObject("Scripting.Dictionary"), huge, -1, 2147483648, 1e300];
var calls = 0, results = 0, errors = 0, byKind = {};

function ResetIni() {
  WriteUnicodeFile(iniFile, iniText);
}

// code: a number is that script error (0x800A0000 + number; the dispatcher's argument errors
// arrive as 13, 6, 449 and 450 with a description too), dN a DISP_E_ error N the library passes
// on (0x80020000 + N: 3 no such member), T/F a Boolean, E Empty (undefined), S any string,
// =text that string.
function ErrorCode(error) {
  var n = error.number & 0xFFFF;
  return ((error.number >>> 16) == 0x8002 ? "d" : "") + n;
}

function Matches(code, error, value) {
  if (error) return ErrorCode(error) == code;
  if (code == "T" || code == "F") return typeof value == "boolean" && value == (code == "T");
  if (code == "E") return typeof value == "undefined";
  if (code == "S") return typeof value == "string";
  if (code.charAt(0) == "=") return typeof value == "string" && value == code.substr(1);
  return false;
}

// The library's errors carry the usual numbers and a description. A DISP_E_ code that reaches the
// script unconverted has no description in Wine's JScript (see the report below).
function Allowed(error) {
  var n = error.number & 0xFFFF;
  if ((error.number >>> 16) == 0x8002) return n == 3 || n == 4 || n == 5 || n == 10 || n == 14 || n == 15;
  if (String(error.description || "") == "") return false;
  return n == 5 || n == 6 || n == 7 || n == 9 || n == 13 || n == 94 || n == 438 || n == 446 || n == 448 ||
    n == 449 || n == 450;
}

function Try(label, code, call) {
  var error = null, value;
  calls++;
  try {
    value = call();
  } catch (e) {
    error = e;
  }
  var good, msg;
  if (error) {
    errors++;
    byKind["error " + ErrorCode(error)] = (byKind["error " + ErrorCode(error)] || 0) + 1;
    good = Allowed(error);
    msg = "error " + ErrorCode(error) + " (" + error.description + ")";
  } else {
    results++;
    byKind.result = (byKind.result || 0) + 1;
    good = true;
    var shown = typeof value == "string" && value.length > 24 ? value.substr(0, 12) + "...(" + value.length + ")" : value;
    msg = "result " + typeof value + " " + shown;
  }
  if (!Matches(code, error, value)) {
    good = false;
    msg += ", documented: " + code;
  }
  Report(good, label + ": " + msg);
}

// Each member with one wrong value at a time, in the order of kinds.
function Each(name, expected, call) {
  var codes = expected.split("|");
  for (var k = 0; k < values.length; k++) {
    (function (v) {
      Try(name + "(" + kinds[k] + ")", codes[k], function () { return call(v); });
    })(values[k]);
  }
}

var saved = h.GetTextFromClip();
h.Pause = 0;
ResetIni();

// Text parameters: null has no text; undefined is the empty text; a JScript array is an object
// whose value is its text ("1,two,3"); a dictionary has no value without a key.
Each("DbgPrint", "13|E|E|13|E|E|E|E", function (v) { return h.DbgPrint(v); });
Each("SetTextToClip", "13|E|E|13|E|E|E|E", function (v) { return h.SetTextToClip(v); });
Each("LoadIncFile", "13|F|F|13|F|F|F|F", function (v) { return h.LoadIncFile(v); });
// A Long: numbers beyond it overflow.
Each("Sleep", "13|E|13|13|13|E|6|6", function (v) { return h.Sleep(v); });
// Booleans: any number is true, text other than true/false is no Boolean.
Each("NoArrayReturn let", "13|E|13|13|13|E|E|E", function (v) { h.NoArrayReturn = v; h.NoArrayReturn = false; });
Each("LockTC", "13|F|13|13|13|F|F|F", function (v) { return h.LockTC(v); });
// Variants converted by the library.
Each("Pause let", "E|E|13|13|13|E|E|E", function (v) { h.Pause = v; h.Pause = 0; });
Each("GetInfo", "=|=|=|=|=|=|=|=", function (v) { return h.GetInfo(v); });
Each("FormatAny expression", "=|=0.00|=1,two,3|13|S|=-1.00|=2147483648.00|6", function (v) { return h.FormatAny(v, "0.00"); });
Each("FormatAny format", "94|=1.5|S|13|6|=-1|=2147483648|S", function (v) { return h.FormatAny(1.5, v); });
Each("INIRead file", "94|=d|=d|13|=d|=d|=d|=d", function (v) { return h.INIRead(v, "S", "k", "d"); });
Each("INIWrite value", "94|T|T|13|T|T|T|T", function (v) { var r = h.INIWrite(iniFile, "S", "k", v); ResetIni(); return r; });
Each("INISectionExists section", "94|F|F|13|F|F|F|F", function (v) { return h.INISectionExists(iniFile, v); });
Each("SetFileDateAtr file", "F|F|F|F|F|F|F|F", function (v) { return h.SetFileDateAtr(v); });
Each("Separator let", "94|E|13|13|13|E|E|E", function (v) { h.Separator = v; });

// Too few and too many.
Try("DbgPrint()", "450", function () { return h.DbgPrint(); });
Try("Sleep()", "450", function () { return h.Sleep(); });
Try("INIWrite with three arguments", "450", function () { return h.INIWrite(iniFile, "S", "k"); });
Try("GetFilter without its argument", "d3", function () { return h.GetFilter(); });
Try("Sleep(0, 0)", "450", function () { return h.Sleep(0, 0); });
Try("FormatAny(1, \"0\", 2)", "450", function () { return h.FormatAny(1, "0", 2); });
Try("INIDelete with four arguments", "450", function () { return h.INIDelete(iniFile, "S", "k", 1); });
Try("About(1), refused before the box shows", "450", function () { return h.About(1); });
Try("GetIniFiles(1)", "450", function () { return h.GetIniFiles(1); });

h.SetTextToClip(saved);
Eq(h.GetTextFromClip(), saved, "the clipboard holds its text from before again");
Eq(h.FormatAny(0.5, "0%"), "50%", "the object still works");
var note = "";
for (var key in byKind) note += " " + key + "=" + byKind[key];
WScript.Echo("SUMMARY bad-input matrix (JScript): " + calls + " calls, " + results + " documented results, " + errors +
  " script errors (library errors with a description; dN: the dispatcher's DISP_E_ codes); by kind:" + note);
Finish();
