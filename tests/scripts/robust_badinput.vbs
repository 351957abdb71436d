' Wrong arguments as only VBScript passes them and shows their errors (every member with every
' kind of wrong argument is tests/client/badinputclient.cpp): a variable, which goes by reference,
' the marker of an argument left out between others, an index on a property, and the number,
' description and source in Err.
Option Explicit
Dim h, r, v

' The last call's error as "number description (source)", or "none"; clears it.
Function Outcome()
  Outcome = "none"
  If Err.Number <> 0 Then Outcome = Err.Number & " " & Err.Description & " (" & Err.Source & ")"
  Err.Clear
End Function

Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
On Error Resume Next
h.Sleep "soon"
Eq Outcome(), "13 Type mismatch (Ombrisk.Helper)", "a text for a Long"
r = h.INIRead(Null)
Eq Outcome(), "94 Invalid use of Null (Ombrisk.Helper)", "Null for a file name"
v = Null
r = h.INIRead(v)
Eq Outcome(), "94 Invalid use of Null (Ombrisk.Helper)", "a variable holding Null"
h.Sleep 2147483648
Eq Outcome(), "6 Overflow (Ombrisk.Helper)", "2^31 for a Long"
h.Sleep 1, 2
Eq Outcome(), "450 Wrong number of arguments or invalid property assignment (Ombrisk.Helper)", "one argument too many"
h.Pause(1) = 2
Eq Outcome(), "450 Wrong number of arguments or invalid property assignment (Ombrisk.Helper)", "an index on a property let"
r = h.SetSrcPath(, True)
Eq Outcome(), "13 Type mismatch (Ombrisk.Helper)", "a required text left out before an argument"
r = h.FormatAny(, "0")
Eq Outcome(), "13 Type mismatch (Ombrisk.Helper)", "a required Variant left out before an argument"
r = h.SetFileDateAtr(, Now)
Eq Outcome(), "none", "SetFileDateAtr with its file left out raises nothing"
EqType r, False, "and gives False"
On Error GoTo 0
Eq h.FormatAny(0.5, "0%"), "50%", "the object still works"
Finish
