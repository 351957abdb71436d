' The space tokens of SendKeystroke as the host receives them: every space is the space bar
' (virtual key 32), typed where the token stood; everything else passes through unchanged.
Dim h, cases, i, typed

ExpectFromHost "expect_keys=1"
StartHost ""
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0

' Each case: key string, the text the host must receive.
cases = Array( _
  "a{space 2}b", "a  b", _
  "{space}", " ", _
  "{SP}", " ", _
  "{Space 3}", "   ", _
  "{sp 12}", String(12, " "), _
  "{sp 05}", String(5, " "), _
  "{space 12}{space 3}", String(15, " "), _
  "{space x}{space 5}", String(5, " "), _
  "x{sp}y{SPACE}z{sP 2}!", "x y z  !", _
  "{sp 3}{space 1}{sp 10}", String(14, " "))
For i = 0 To UBound(cases) Step 2
  ClearHostLog
  Eq h.SendKeystroke(cases(i)), True, cases(i) & " returns true"
  typed = HostTyped()
  Eq typed, cases(i + 1), cases(i) & " arrives as " & Len(cases(i + 1)) & " characters"
Next

' The spaces are the space bar, in place, and nothing but the sentinel follows the keys.
ClearHostLog
h.SendKeystroke "a{space 2}b"
Eq HostKeyDowns(), "65 32 32 66", "a{space 2}b is the keys A, space, space, B"
Eq HostLogCount("KEYDOWN vk=232 "), 1, "one sentinel key after the keys"

' Tokens that expand to nothing type nothing, and the call still succeeds.
ClearHostLog
Eq h.SendKeystroke("{sp 0}"), True, "{sp 0} returns true"
Eq h.SendKeystroke("{space 00}"), True, "{space 00} returns true"
Eq HostLogCount("KEYDOWN "), 0, "{sp 0} and {space 00} type nothing (no sentinel either)"

' The caller's string is a copy: the variable keeps its tokens.
Dim k
k = "{sp 2}"
h.SendKeystroke k
Eq k, "{sp 2}", "the argument is not changed"

' Other key names pass through the expansion untouched.
ClearHostLog
Eq h.SendKeystroke("{sp 2}{TAB}{space}"), True, "space tokens mixed with a key name"
Eq HostKeyDowns(), "32 32 9 32", "the key name stays where it was"

Finish
