' copy-dates.vbs
'
' Copies the creation and modified dates and the attributes (read-only, hidden, archive ...) of
' files to others. The last-access date is left alone: reading a file changes it anyway.
'
'   copy-dates.vbs                      from every file selected in the active panel to the
'                                       file of the same name in the other panel's folder
'   copy-dates.vbs <from> <to>          between the two files given
'   /q                                  no message
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\copy-dates.vbs" /q
' Folders among the selection and names without a namesake in the other panel are skipped and
' listed. Exit code 0 when the dates and attributes of every file were copied, 1 otherwise, 2
' when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, quiet, i, arg, files, names, folder, name, copied, missed, pairs

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

' Copies from source to target; False (and the reason in missed) when one of them is missing
' or the target cannot be changed.
Function CopyDates(source, target)
  Dim from
  CopyDates = False
  If Not fso.FileExists(source) Then
    missed = missed & vbCrLf & "  no such file: " & source
  ElseIf Not fso.FileExists(target) Then
    missed = missed & vbCrLf & "  no such file: " & target
  Else
    ' A file object given in place of a date or the attributes lends its own value; the
    ' access date is left out, so the target keeps its own.
    Set from = fso.GetFile(source)
    If h.SetFileDateAtr(target, from, from, , from) Then
      CopyDates = True
    Else
      missed = missed & vbCrLf & "  could not change " & target
    End If
  End If
End Function

copied = 0
missed = ""
If UBound(files) = 1 Then
  If CopyDates(files(0), files(1)) Then copied = 1
  pairs = 1
ElseIf UBound(files) = -1 Then
  names = h.GetSrcSelectedFiles(True)
  If IsEmpty(names) Then
    Say "Select files in the active panel first (or give two file names)."
    WScript.Quit 1
  End If
  folder = h.GetTrgPath()
  If Right(folder, 1) <> "\" Then folder = folder & "\"
  pairs = UBound(names) + 1
  For Each name In names
    If CopyDates(name, folder & fso.GetFileName(name)) Then copied = copied + 1
  Next
Else
  Say "Usage: copy-dates.vbs [<from> <to>] [/q]"
  WScript.Quit 1
End If

Say copied & " of " & pairs & " file(s): dates and attributes copied." & missed
If copied < pairs Then WScript.Quit 1
WScript.Quit 0
