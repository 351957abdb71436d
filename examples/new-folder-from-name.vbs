' new-folder-from-name.vbs
'
' Creates a folder named after the file under the cursor, without its extension, in the folder
' of the active panel: for photo.jpg the folder photo. The file manager gives the name under the
' cursor when nothing is selected, else the first selected name; a name given on the command
' line (the button's %N) is used instead.
'
'   new-folder-from-name.vbs [<name>] [/keepext] [/move] [/q]
'   /keepext                 keep the extension in the folder's name
'   /move                    move the file into the new folder as well
'   /q                       no message
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\new-folder-from-name.vbs" "%N" /q
' Afterwards the file manager reads the folder again. Exit code 0 when the folder was created
' (and the file moved), 1 otherwise, 2 when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, quiet, keepExt, moveIt, i, arg, name, names, folder, target, dot

quiet = False
keepExt = False
moveIt = False
name = ""
For i = 0 To WScript.Arguments.Count - 1
  arg = WScript.Arguments(i)
  Select Case LCase(arg)
    Case "/q": quiet = True
    Case "/keepext": keepExt = True
    Case "/move": moveIt = True
    Case Else: name = arg
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

folder = h.GetSrcPath()
If folder = "" Then
  Say "The file manager is not running or did not tell its folder."
  WScript.Quit 1
End If
If Right(folder, 1) <> "\" Then folder = folder & "\"
If name = "" Then
  names = h.GetSrcSelectedFiles(False)
  If Not IsEmpty(names) Then name = names(0)
End If
If Right(name, 1) = "\" Then name = Left(name, Len(name) - 1)
name = Mid(name, InStrRev(name, "\") + 1)
If name = "" Or name = ".." Then
  Say "Put the cursor on a file first."
  WScript.Quit 1
End If

target = name
dot = InStrRev(name, ".")
If Not keepExt And dot > 1 Then target = Left(name, dot - 1)
If fso.FolderExists(folder & target) Or fso.FileExists(folder & target) Then
  Say folder & target & " exists already."
  WScript.Quit 1
End If
On Error Resume Next
fso.CreateFolder folder & target
If Err.Number <> 0 Then
  Say "Could not create " & folder & target & ": " & Err.Description
  WScript.Quit 1
End If
If moveIt Then
  If fso.FolderExists(folder & name) Then
    fso.MoveFolder folder & name, folder & target & "\" & name
  Else
    fso.MoveFile folder & name, folder & target & "\" & name
  End If
  If Err.Number <> 0 Then
    Say "Created " & folder & target & ", but could not move " & name & " into it: " & Err.Description
    WScript.Quit 1
  End If
End If
On Error GoTo 0

' The panel shows the new folder once the file manager reads the folder again.
Const RereadSource = 540
h.SendCommand RereadSource
If moveIt Then
  Say "Created " & folder & target & " and moved " & name & " into it."
Else
  Say "Created " & folder & target
End If
WScript.Quit 0
