' process-list-file.vbs
'
' Works through the list file that the file manager writes for a button: one full path per
' line of every selected file and folder (the name under the cursor when nothing is selected).
' Put %WL in the button's Parameters: the file manager writes the list in Unicode, so names in
' any language come through, and deletes it when the script ends. (%L, the same in the ANSI
' code page, is read as well, but loses characters outside it.)
'
' This one counts the files and folders and adds up the files' sizes; with /clip it also puts
' the names on the clipboard, one per line. Replace Process with your own work.
'
'   process-list-file.vbs <list file> [/clip] [/q]
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\process-list-file.vbs" %WL
' Exit code 0 when every name was found, 1 when the list is missing or names in it are not
' found, 2 when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, quiet, toClip, listFile, i, arg, stream, head, format, text, lines, line
Dim files, folders, bytes, missing, names

quiet = False
toClip = False
listFile = ""
For i = 0 To WScript.Arguments.Count - 1
  arg = WScript.Arguments(i)
  Select Case LCase(arg)
    Case "/q": quiet = True
    Case "/clip": toClip = True
    Case Else: listFile = arg
  End Select
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

If listFile = "" Or Not fso.FileExists(listFile) Then
  Say "Give the list file: put %WL in the button's Parameters."
  WScript.Quit 1
End If

' The work for one name. Here: count it, add its size, keep it for the clipboard.
Sub Process(path)
  If fso.FolderExists(path) Then
    folders = folders + 1
  ElseIf fso.FileExists(path) Then
    files = files + 1
    bytes = bytes + fso.GetFile(path).Size
  Else
    missing = missing & vbCrLf & "  not found: " & path
    Exit Sub
  End If
  names = names & path & vbCrLf
End Sub

' UTF-16 (%WL) when the second or fourth byte is 0 (a path's first letter, after a byte-order
' mark or not); otherwise the ANSI code page (%L).
format = 0
If fso.GetFile(listFile).Size >= 4 Then
  Set stream = fso.OpenTextFile(listFile, 1, False, 0)
  head = stream.Read(4)
  stream.Close
  If Mid(head, 2, 1) = vbNullChar Or Mid(head, 4, 1) = vbNullChar Then format = -1
End If
text = ""
If fso.GetFile(listFile).Size > 0 Then
  Set stream = fso.OpenTextFile(listFile, 1, False, format)
  text = stream.ReadAll
  stream.Close
End If

files = 0
folders = 0
bytes = 0
missing = ""
names = ""
lines = Split(Replace(text, vbCr, ""), vbLf)
For i = 0 To UBound(lines)
  line = lines(i)
  If Right(line, 1) = "\" Then line = Left(line, Len(line) - 1)
  If line <> "" Then Process line
Next

If toClip And names <> "" Then h.SetTextToClip Left(names, Len(names) - 2)
Say files & " file(s), " & h.FormatAny(bytes, "#,##0") & " bytes; " & folders & " folder(s)." & missing
If missing <> "" Then WScript.Quit 1
WScript.Quit 0
