' equalise-panels.vbs
'
' Moves the separator between the two file panels to the middle of the window, so both panels
' are equally wide. Give a number to move it elsewhere: 30 makes the left panel 30 % wide.
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\equalise-panels.vbs" /q          both panels 50 %
'                      "%LOCALAPPDATA%\Ombrisk\examples\equalise-panels.vbs" 30 /q       left panel 30 %
' The separator is dragged with the mouse, so leave the mouse alone for that moment; the mouse
' pointer goes back where it was. Without /q a message shows the old and new position.
' Exit code 0 when the separator was found and moved, 1 otherwise, 2 when Ombrisk.Helper cannot
' be created.
Option Explicit

Dim h, quiet, i, arg, percent, before, after

quiet = False
percent = 50
For i = 0 To WScript.Arguments.Count - 1
  arg = WScript.Arguments(i)
  If LCase(arg) = "/q" Then
    quiet = True
  ElseIf IsNumeric(arg) Then
    percent = CDbl(arg)
  End If
Next

Sub Say(text)
  If Not quiet Then WScript.Echo text
End Sub

On Error Resume Next
Set h = CreateObject("Ombrisk.Helper")
If Err.Number <> 0 Then
  WScript.Echo "Ombrisk.Helper cannot be created (" & Err.Description & "). Run install.cmd: the DLL " & _
    "must be registered for this script host, " & WScript.FullName
  WScript.Quit 2
End If
On Error GoTo 0

' -1 means the separator cannot be found: the file manager does not run, or was started after
' this script (the separator belongs to the window found when the object was created).
before = h.Separator
If before = -1 Then
  Say "The panel separator cannot be found; is the file manager running?"
  WScript.Quit 1
End If

h.Separator = percent      ' 0 to 100; values outside are clamped
h.Sleep 300                ' give the file manager a moment to handle the drag
after = h.Separator
Say "Separator moved from " & before & " % to " & after & " %."
WScript.Quit 0
