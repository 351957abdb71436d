' command-prompt-here.vbs
'
' Opens a command prompt in the folder of the active panel of the file manager.
'
'   /target                  in the other panel's folder instead
'   /ps                      PowerShell instead of the command prompt
'   /run:<program>           another program (a terminal of your choice), started in the folder
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\command-prompt-here.vbs"
' The command prompt is the program named by the ComSpec variable (normally cmd.exe). A panel
' that shows an archive, an FTP connection or another place that is not a folder on disk has no
' folder to open: a message says so. Exit code 0 when the prompt was started, 1 otherwise, 2
' when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, sh, useTarget, usePs, i, arg, folder, program

useTarget = False
usePs = False
program = ""
For i = 0 To WScript.Arguments.Count - 1
  arg = LCase(WScript.Arguments(i))
  If arg = "/target" Then useTarget = True
  If arg = "/ps" Then usePs = True
  If Left(arg, 5) = "/run:" Then program = Mid(WScript.Arguments(i), 6)
Next

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

If useTarget Then folder = h.GetTrgPath() Else folder = h.GetSrcPath()
If folder = "" Then
  WScript.Echo "The file manager is not running or did not tell its folder."
  WScript.Quit 1
End If
If Not fso.FolderExists(folder) Then
  WScript.Echo folder & " is not a folder on disk (an archive or a connection?)."
  WScript.Quit 1
End If

If program <> "" Then
  ' as given
ElseIf usePs Then
  program = "powershell.exe -NoExit"
Else
  program = sh.Environment("Process")("ComSpec")
  If program = "" Then program = "cmd.exe"
  program = """" & program & """"
End If
' The prompt starts in the folder: the script's current folder is what a new program inherits.
sh.CurrentDirectory = folder
sh.Run program, 1, False
WScript.Quit 0
