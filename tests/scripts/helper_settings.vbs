' The object's settings, Sleep, and what members do when no host runs.
Option Explicit
Dim h, t0, r, n

StopHost
Set h = CreateObject("Ombrisk.Helper")

' Defaults of a new object.
Eq h.Pause, 70, "Pause starts at 70"
Eq TypeName(h.Pause), "Integer", "Pause is a 16-bit integer"
Eq h.Wait, False, "Wait starts false"
Eq h.NoArrayReturn, False, "NoArrayReturn starts false"

' Pause keeps what it is given, unconverted; negatives become the integer 0.
h.Pause = -5
Eq h.Pause, 0, "Pause -5 reads back as 0"
Eq TypeName(h.Pause), "Integer", "Pause -5 is stored as an Integer 0"
h.Pause = "150"
Eq TypeName(h.Pause), "String", "Pause keeps a numeric string as a string"
Eq h.Pause, "150", "Pause string value"
h.Pause = 2.5
Eq h.Pause, 2.5, "Pause keeps 2.5"
Eq TypeName(h.Pause), "Double", "Pause keeps the Double subtype"
h.Pause = "-1"
Eq h.Pause, 0, "Pause with the text -1 becomes 0"

h.Pause = 40
On Error Resume Next
h.Pause = "soon"
n = Err.Number
On Error GoTo 0
Eq n, 13, "Pause with non-numeric text raises type mismatch"
Eq h.Pause, 40, "a refused Pause leaves the value"

' Wait and NoArrayReturn store the Boolean.
h.Wait = True
Eq h.Wait, True, "Wait let true"
h.Wait = 0
Eq h.Wait, False, "Wait let 0 reads false"
h.NoArrayReturn = True
Eq h.NoArrayReturn, True, "NoArrayReturn let true"
h.NoArrayReturn = "False"
Eq h.NoArrayReturn, False, "NoArrayReturn converts the text False"

' Sleep waits, and never forever.
t0 = NowMs()
h.Sleep 300
Ok ElapsedMs(t0) >= 280, "Sleep 300 waits about 300 ms (" & Round(ElapsedMs(t0)) & " ms)"
t0 = NowMs()
h.Sleep 0
h.Sleep -1
h.Sleep -2147483648
Ok ElapsedMs(t0) < LimitMs(500), "Sleep 0 and negative values return at once"
On Error Resume Next
h.Sleep "x"
n = Err.Number
On Error GoTo 0
Eq n, 13, "Sleep with text raises type mismatch"

' No host: every host member answers at once with its failure value.
Eq h.IsRunningTC, False, "IsRunningTC false without a host"
h.Pause = LimitMs(2000)
t0 = NowMs()
Eq h.SendCommand(2050), False, "SendCommand false without a host"
Eq h.SendCommand("AnyName", True), False, "SendCommand by name false without a host (no error on an empty table)"
Ok ElapsedMs(t0) < LimitMs(400), "SendCommand without a host does not wait Pause"
Eq h.LockTC(), False, "LockTC false without a host"
Eq h.LockTC(False), False, "LockTC False false without a host"

' A second object has its own settings.
Dim h2
Set h2 = CreateObject("Ombrisk.Helper")
Eq h2.Pause, 70, "a second object starts with its own defaults"
Set h2 = Nothing
Eq h.Pause, LimitMs(2000), "the first object keeps its settings"

Finish
