' DbgPrint writes to the debug output; the control words switch it per object.
Option Explicit
Dim h, h2, lines

StopHost
Set h = CreateObject("Ombrisk.Helper")
Set h2 = CreateObject("Ombrisk.Helper")
h.DbgPrint "first line"
h.DbgPrint "[DbgOff]"
h.DbgPrint "hidden while off"
h2.DbgPrint "second object still on"
h.DbgPrint "[dbgclear]"
h.DbgPrint "[DBGON]"
h.DbgPrint " [dbgoff]"
h.DbgPrint "[dbgoff] "
h.DbgPrint "Mixed Case Kept"
h.DbgPrint ""
h.DbgPrint "after empty"
h.DbgPrint "[dbgoff]"
h.DbgPrint "[dbgclear]"

lines = DebugLines()
Eq lines, JoinLines(Array("first line", "second object still on", "DBGVIEWCLEAR", " [dbgoff]", "[dbgoff] ", _
    "Mixed Case Kept", "", "after empty", "DBGVIEWCLEAR")), "exactly the expected debug texts, in order"
Finish
