' Key strings SendKeystroke refuses: malformed ones and space tokens no rule can expand give
' false and type nothing at all; a count that reads negative raises error 5 before the host is
' even looked up.
Dim h, bad, i, n, t0

StartHost ""
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0

bad = Array("{NOSUCHKEY}", "{TAB", "a}", "(ab", "ab)", "{TAB x}", "{TAB 100001}", "+", "^(a+)", "ab{NOPE}", _
  "{space 100}", "{SPACE 100}", "{spare}", "x{sp}{spa}", "{space xy}{space 5}")
For i = 0 To UBound(bad)
  ClearHostLog
  Eq h.SendKeystroke(bad(i)), False, bad(i) & " returns false"
  Eq HostLogCount("KEYDOWN "), 0, bad(i) & " types nothing, not even the keys before the fault"
Next

' The waits still happen around a refused string.
h.Pause = 400
t0 = NowMs()
Eq h.SendKeystroke("{NOPE}"), False, "{NOPE} with Pause 400"
Ok ElapsedMs(t0) >= 380, "still waits twice Pause \ 2 (" & Round(ElapsedMs(t0)) & " ms)"

' A negative count: error 5, nothing typed, no wait.
Function RaisedBy(keys)
  On Error Resume Next
  h.SendKeystroke keys
  RaisedBy = Err.Number
  Err.Clear
  On Error GoTo 0
End Function

h.Pause = LimitMs(1000)
ClearHostLog
t0 = NowMs()
Eq RaisedBy("{space -5}{space 12}"), 5, "{space -5}{space 12} raises 5"
Eq RaisedBy("{sp -1}{sp 12}"), 5, "{sp -1}{sp 12} raises 5"
Eq RaisedBy("ab{SP -9}x{Sp 10}"), 5, "in any letter case, after other keys"
Ok ElapsedMs(t0) < LimitMs(1000), "without waiting (" & Round(ElapsedMs(t0)) & " ms for three calls)"
Eq HostLogCount("KEYDOWN "), 0, "and without typing"
Eq h.SendKeystroke("{sp -5}"), False, "a minus sign with no two-digit token after it is only a bad key string"

StopHost
Eq RaisedBy("{space -5}{space 12}"), 5, "without a host the error comes all the same"
Eq h.SendKeystroke("{NOPE}"), False, "while a bad string without a host is just false"

Finish
