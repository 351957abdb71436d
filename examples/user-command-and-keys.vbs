' user-command-and-keys.vbs
'
' Runs a user-defined command of the file manager by its name, then types keys into the file
' manager. The keys use the SendKeys syntax: letters stand for themselves, {ENTER}, {TAB},
' {DOWN 3}, ^ for Ctrl, + for Shift, % for Alt, and {space N} for N spaces.
'
'   user-command-and-keys.vbs <command> [<keys>] [/q]
'   user-command-and-keys.vbs "" <keys>              keys only
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\user-command-and-keys.vbs" MyCommand "{DOWN 2}{ENTER}" /q
' The keys go to the file manager's main window, which is brought to the front first.
' Exit code 0 when the command and the keys were accepted, 1 otherwise, 2 when Ombrisk.Helper
' cannot be created.
Option Explicit

Dim h, quiet, i, arg, words, result

quiet = False
words = Array()
For i = 0 To WScript.Arguments.Count - 1
  arg = WScript.Arguments(i)
  If LCase(arg) = "/q" Then
    quiet = True
  Else
    ReDim Preserve words(UBound(words) + 1)
    words(UBound(words)) = arg
  End If
Next

Sub Say(text)
  If Not quiet Then WScript.Echo text
End Sub

If UBound(words) < 0 Or UBound(words) > 1 Then
  Say "Usage: user-command-and-keys.vbs <command> [<keys>] [/q]"
  WScript.Quit 1
End If

On Error Resume Next
Set h = CreateObject("Ombrisk.Helper")
If Err.Number <> 0 Then
  WScript.Echo "Ombrisk.Helper cannot be created (" & Err.Description & "). Run install.cmd: the DLL " & _
    "must be registered for this script host, " & WScript.FullName
  WScript.Quit 2
End If
On Error GoTo 0

If Not h.IsRunningTC Then
  Say "The file manager is not running."
  WScript.Quit 1
End If

result = 0
If words(0) <> "" Then
  If h.UserCmd(words(0)) Then
    Say "Ran " & words(0)
  Else
    Say "The file manager did not run " & words(0)
    result = 1
  End If
End If
If UBound(words) = 1 Then
  Dim typed
  ' A negative count such as {space -1} is refused with an error.
  On Error Resume Next
  typed = h.SendKeystroke(words(1))
  If Err.Number <> 0 Then
    Say "Could not type " & words(1) & ": " & Err.Description
    typed = Empty
    result = 1
  End If
  On Error GoTo 0
  If IsEmpty(typed) Then
    ' reported above
  ElseIf typed Then
    Say "Typed " & words(1)
  Else
    Say "Could not type " & words(1)
    result = 1
  End If
End If
WScript.Quit result
