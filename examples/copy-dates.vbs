' copy-dates.vbs
'
' Copies the creation and modified dates and the attributes (read-only, hidden, archive ...) of
' one file to another. The last-access date is left alone: reading a file changes it anyway.
'
'   copy-dates.vbs                      from the first file selected in the active panel to the
'                                       file of the same name in the other panel's folder
'   copy-dates.vbs <from> <to>          between the two files given
'   /q                                  no message
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "C:\Scripts\copy-dates.vbs" /q
' Exit code 0 when the dates and attributes were copied, 1 otherwise, 2 when Ombrisk.Helper
' cannot be created.
Option Explicit

Dim h, fso, quiet, i, arg, files, source, target, names, folder, ok

quiet = False
files = Array()
For i = 0 To WScript.Arguments.Count - 1
  arg = WScript.Arguments(i)
  If LCase(arg) = "/q" Then
    quiet = True
  Else
    ReDim Preserve files(UBound(files) + 1)
    files(UBound(files)) = arg
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
Set fso = CreateObject("Scripting.FileSystemObject")

If UBound(files) = 1 Then
  source = files(0)
  target = files(1)
ElseIf UBound(files) = -1 Then
  names = h.GetSrcSelectedFiles(True)
  If IsEmpty(names) Then
    Say "Select a file in the active panel first (or give two file names)."
    WScript.Quit 1
  End If
  source = names(0)
  folder = h.GetTrgPath()
  If Right(folder, 1) <> "\" Then folder = folder & "\"
  target = folder & fso.GetFileName(source)
Else
  Say "Usage: copy-dates.vbs [<from> <to>] [/q]"
  WScript.Quit 1
End If

If Not fso.FileExists(source) Then
  Say "No such file: " & source
  WScript.Quit 1
End If
If Not fso.FileExists(target) Then
  Say "No such file: " & target
  WScript.Quit 1
End If

' A file object given in place of a date or the attributes lends its own value; the access
' date is left out, so the target keeps its own.
Dim from
Set from = fso.GetFile(source)
ok = h.SetFileDateAtr(target, from, from, , from)
If Not ok Then
  Say "Could not change " & target
  WScript.Quit 1
End If
Say "Dates and attributes of " & source & " copied to " & target
WScript.Quit 0
