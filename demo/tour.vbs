' A tour of Ombrisk: run by `make demo` against the stand-in host.
Option Explicit

Dim fso, here, h, r
Set fso = CreateObject("Scripting.FileSystemObject")
here = fso.GetParentFolderName(WScript.ScriptFullName)

Sub Show(label, value)
    WScript.Echo "  " & label & ": " & value
End Sub

WScript.Echo "1. Creating the helper object"
Set h = CreateObject("Ombrisk.Helper")
Show "Pause (ms after each host action)", h.Pause & " (" & TypeName(h.Pause) & ")"
Show "Wait (send instead of post)", h.Wait
Show "NoArrayReturn", h.NoArrayReturn

WScript.Echo "2. Looking for the file manager"
Show "IsRunningTC", h.IsRunningTC

WScript.Echo "3. Internal commands by number"
Show "SendCommand 540 (posted)", h.SendCommand(540)
Show "SendCommand 531, True (sent, host result)", h.SendCommand(531, True)
h.Pause = 150
Show "Pause is now", h.Pause

WScript.Echo "4. Internal commands by name, from " & fso.BuildPath(here, "totalcmd.inc")
Show "LoadIncFile", h.LoadIncFile(fso.BuildPath(here, "totalcmd.inc"))
Show "SendCommand ""refreshpanels"" (names ignore case)", h.SendCommand("refreshpanels")
h.Wait = True
Show "SendCommand ""SwapPanels"" with Wait = True", h.SendCommand("SwapPanels")
Show "SendCommand ""NotInTheFile"" (unknown names send 0)", h.SendCommand("NotInTheFile")

WScript.Echo "5. Freezing and releasing the host's drawing"
Show "LockTC", h.LockTC()
Show "LockTC False", h.LockTC(False)

WScript.Echo "6. Errors reach the script with the usual numbers"
On Error Resume Next
h.Pause = "soon"
Show "Pause = ""soon""", "error " & Err.Number & " (" & Err.Description & ")"
Err.Clear
h.SendCommand CDbl("1e12")
Show "SendCommand 1e12", "error " & Err.Number & " (" & Err.Description & ")"
Err.Clear
On Error GoTo 0

WScript.Echo "7. Panel paths through WM_COPYDATA requests"
Show "GetSrcPath", h.GetSrcPath()
Show "GetTrgPath", h.GetTrgPath()
Show "GetInfo(""a"") (active side)", h.GetInfo("a")
Show "SetSrcPath ""C:\Temp""", h.SetSrcPath("C:\Temp")
Show "SetRightPath ""D:\"" in a new tab", h.SetRightPath("D:\", True)
Show "UserCmd ""em_demo""", h.UserCmd("em_demo")

WScript.Echo "8. Chores: clipboard, INI files, formatting"
Dim ini, saved
saved = h.GetTextFromClip()
h.SetTextToClip "Ombrisk was here"
Show "clipboard round trip", h.GetTextFromClip()
h.SetTextToClip saved
ini = fso.BuildPath(fso.GetSpecialFolder(2), "ombrisk-tour.ini")
h.INIWrite ini, "Tour", "Greeting", "Hello"
h.INIWrite ini, "Tour", "Count", 3
h.INIWrite ini, "Other", "Key", "Value"
Show "INIRead value", h.INIRead(ini, "Tour", "Greeting")
h.NoArrayReturn = True
Show "INIRead section names (NoArrayReturn)", Replace(h.INIRead(ini), vbCrLf, ", ")
h.NoArrayReturn = False
Show "INIRead key names as an array, UBound", UBound(h.INIRead(ini, "Tour"))
Show "INISectionExists ""tour""", h.INISectionExists(ini, "tour")
fso.DeleteFile ini
Show "FormatAny 0.5, ""0%""", h.FormatAny(0.5, "0%")
Show "FormatAny 1234.5, ""#,##0.00""", h.FormatAny(1234.5, "#,##0.00")
Show "FormatAny ""abc"", "">""", h.FormatAny("abc", ">")

WScript.Echo "9. Debug output (seen by a debug-output viewer)"
h.DbgPrint "Ombrisk tour: this line goes to the debug output"
h.DbgPrint "[dbgoff]"
h.DbgPrint "this one is switched off"
Show "DbgPrint", "written, then switched off"

Set h = Nothing
WScript.Echo "Tour finished."
