' touch-selected.vbs
'
' Sets the modified and last-access dates of the files selected in the active (source) panel
' to the current date and time, as "touch" does, and has the file manager read the folder
' again so that the panel shows the new dates. Folders among the selection are left alone;
' the creation date and the attributes (read-only included) are kept.
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\touch-selected.vbs" /q
'          Without /q a message box says how many files were changed.
' Exit code 0 when every selected file was changed, 1 when nothing was selected or a file could
' not be changed, 2 when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, quiet, i, names, path, stamp, touched, skipped, failed

quiet = False
For i = 0 To WScript.Arguments.Count - 1
  If LCase(WScript.Arguments(i)) = "/q" Then quiet = True
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

names = h.GetSrcSelectedFiles(True)   ' an array of full paths, or Empty
If IsEmpty(names) Then
  Say "Nothing is selected, or the file manager is not running."
  WScript.Quit 1
End If

stamp = Now
touched = 0
skipped = 0
failed = ""
For Each path In names
  If fso.FileExists(path) Then
    ' The creation date and the attributes are left out, so they stay as they are.
    If h.SetFileDateAtr(path, , stamp, stamp) Then
      touched = touched + 1
    Else
      failed = failed & vbCrLf & "  " & path
    End If
  Else
    skipped = skipped + 1
  End If
Next

'' The file manager shows the new dates once it reads the folder again.
Const RereadSource = 540
If touched > 0 Then h.SendCommand RereadSource

Say touched & " file(s) dated " & stamp & "; " & skipped & " folder(s) or missing name(s) skipped."
If failed <> "" Then
  Say "Could not change:" & failed
  WScript.Quit 1
End If
WScript.Quit 0
