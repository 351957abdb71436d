' show-filters.vbs
'
' Shows the file filter of both panels of the file manager (what the path bar shows after the
' folder, such as *.txt), and which panel is the active one.
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\show-filters.vbs" /q
' Under wscript.exe the result comes in a message box, under cscript.exe on the console.
' With /q nothing is shown when the file manager is not running (the exit code says it).
' Exit code 0, 1 when the file manager is not running, 2 when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, active, text, quiet, i

quiet = False
For i = 0 To WScript.Arguments.Count - 1
  If LCase(WScript.Arguments(i)) = "/q" Then quiet = True
Next

On Error Resume Next
Set h = CreateObject("Ombrisk.Helper")
If Err.Number <> 0 Then
  WScript.Echo "Ombrisk.Helper cannot be created (" & Err.Description & "). Run install.cmd: the DLL " & _
    "must be registered for this script host, " & WScript.FullName
  WScript.Quit 2
End If
On Error GoTo 0

Function Shown(filter)
  If filter = "" Then
    Shown = "(no filter)"
  Else
    Shown = filter
  End If
End Function

' GetFilter gives Empty when the file manager does not run, a text (maybe empty) otherwise.
If IsEmpty(h.GetFilter("L")) Then
  If Not quiet Then WScript.Echo "The file manager is not running."
  WScript.Quit 1
End If

active = h.GetInfo("A")     ' L or R: the active (source) panel
text = "Left panel:  " & Shown(h.GetFilter("L"))
If active = "L" Then text = text & "   (active)"
text = text & vbCrLf & "Right panel: " & Shown(h.GetFilter("R"))
If active = "R" Then text = text & "   (active)"
WScript.Echo text
WScript.Quit 0
