' main-ini-setting.vbs
'
' Reads or writes one setting in the file manager's main settings file (MainINI).
'
'   main-ini-setting.vbs                            lists the file's sections
'   main-ini-setting.vbs <section> <key>            shows the value
'   main-ini-setting.vbs <section> <key> <value>    writes the value
'   /q                                              no message (for writing from a button)
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\main-ini-setting.vbs" Configuration SortOrder
' When the file manager runs, the script asks it which settings file it uses; otherwise the
' file is found from the installation (environment, registry). The file manager keeps most
' settings in memory and writes them back when it closes: a value written while it runs may be
' overwritten then, and is read by it only after a restart.
' Exit code 0 on success, 1 when the value is missing or cannot be written, 2 when
' Ombrisk.Helper cannot be created.
Option Explicit

Dim h, quiet, i, arg, words, ini, sections, value, marker

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

On Error Resume Next
Set h = CreateObject("Ombrisk.Helper")
If Err.Number <> 0 Then
  WScript.Echo "Ombrisk.Helper cannot be created (" & Err.Description & "). Run install.cmd: the DLL " & _
    "must be registered for this script host, " & WScript.FullName
  WScript.Quit 2
End If
On Error GoTo 0

If h.IsRunningTC Then h.GetIniFiles   ' the files the running file manager really uses
ini = h.MainINI

Select Case UBound(words)
  Case -1
    h.NoArrayReturn = True
    sections = h.INIRead(ini)
    If IsEmpty(sections) Then
      Say ini & " has no sections (or does not exist)."
      WScript.Quit 1
    End If
    Say ini & vbCrLf & sections
  Case 1
    ' A marker as default tells a missing key from an empty value.
    marker = "<missing " & Timer & ">"
    value = h.INIRead(ini, words(0), words(1), marker)
    If value = marker Then
      Say "[" & words(0) & "] " & words(1) & " is not set in " & ini
      WScript.Quit 1
    End If
    Say "[" & words(0) & "] " & words(1) & "=" & value
  Case 2
    If Not h.INIWrite(ini, words(0), words(1), words(2)) Then
      Say "Could not write to " & ini
      WScript.Quit 1
    End If
    Say "[" & words(0) & "] " & words(1) & "=" & words(2) & " written to " & ini
  Case Else
    Say "Usage: main-ini-setting.vbs [<section> <key> [<value>]] [/q]"
    WScript.Quit 1
End Select
WScript.Quit 0
