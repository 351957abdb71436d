' open-in-other-panel.vbs
'
' Opens the folder of the active (source) panel in the other (target) panel as well, so both
' panels show the same folder. With /tab the folder opens in a new tab of the other panel.
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "C:\Scripts\open-in-other-panel.vbs" /q          same folder on both sides
'                      "C:\Scripts\open-in-other-panel.vbs" /tab /q     in a new tab
'          Without /q a message box names the folder.
' Exit code 0 when the file manager accepted the change, 1 otherwise, 2 when Ombrisk.Helper
' cannot be created.
Option Explicit

Dim h, quiet, newTab, i, arg, folder, done

quiet = False
newTab = False
For i = 0 To WScript.Arguments.Count - 1
  arg = LCase(WScript.Arguments(i))
  If arg = "/q" Then quiet = True
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

folder = h.GetSrcPath()
If folder = "" Then
  Say "The file manager is not running or did not tell its source folder."
  WScript.Quit 1
End If

done = h.SetTrgPath(folder, newTab)
If Not done Then
  Say "The file manager refused to open " & folder & " in the other panel."
  WScript.Quit 1
End If
If newTab Then
  Say "Opened " & folder & " in a new tab of the other panel."
Else
  Say "Opened " & folder & " in the other panel."
End If
WScript.Quit 0
