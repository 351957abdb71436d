' go-to-clipboard-folder.vbs
'
' Opens the folder whose path is on the clipboard in the active panel of the file manager. A
' file's path opens the folder that holds it. The first line of the clipboard counts; quotes
' around it, blanks, forward slashes and %VARIABLES% are taken care of.
'
'   /target                  in the other panel instead
'   /tab                     in a new tab
'   /q                       no message
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\go-to-clipboard-folder.vbs" /q
' Exit code 0 when the file manager accepted the folder, 1 when the clipboard holds no existing
' folder or file or the file manager did not take it, 2 when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, sh, quiet, toTarget, newTab, i, arg, text, path, lines, done

quiet = False
toTarget = False
newTab = False
For i = 0 To WScript.Arguments.Count - 1
  arg = LCase(WScript.Arguments(i))
  If arg = "/q" Then quiet = True
  If arg = "/target" Then toTarget = True
  If arg = "/tab" Then newTab = True
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
Set sh = CreateObject("WScript.Shell")

If Not h.IsRunningTC Then
  Say "The file manager is not running."
  WScript.Quit 1
End If

' The clipboard as Unicode text: paths in any language come through.
text = Replace(h.GetTextFromClip(), vbCr, vbLf)
path = ""
lines = Split(text, vbLf)
For i = 0 To UBound(lines)
  If Trim(lines(i)) <> "" Then
    path = Trim(Replace(lines(i), vbTab, " "))
    Exit For
  End If
Next
If Len(path) >= 2 And Left(path, 1) = """" And Right(path, 1) = """" Then path = Mid(path, 2, Len(path) - 2)
path = Replace(sh.ExpandEnvironmentStrings(path), "/", "\")
' Some hosts leave the terminating NUL in the expanded text.
If InStr(path, vbNullChar) > 0 Then path = Left(path, InStr(path, vbNullChar) - 1)

If path = "" Then
  Say "The clipboard holds no path."
  WScript.Quit 1
End If
If fso.FileExists(path) Then
  path = fso.GetParentFolderName(fso.GetAbsolutePathName(path))
ElseIf Not fso.FolderExists(path) Then
  Say "No such folder or file: " & path
  WScript.Quit 1
End If
path = fso.GetAbsolutePathName(path)
If Right(path, 1) <> "\" Then path = path & "\"

If toTarget Then
  done = h.SetTrgPath(path, newTab)
Else
  done = h.SetSrcPath(path, newTab)
End If
If Not done Then
  Say "The file manager did not open " & path
  WScript.Quit 1
End If
Say "Opened " & path
WScript.Quit 0
