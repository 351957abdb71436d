' copy-selected-names.vbs
'
' Copies the names selected in the active (source) panel of the file manager to the clipboard,
' one name per line. With /full every name comes with its full path.
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "C:\Scripts\copy-selected-names.vbs"          names only
'                      "C:\Scripts\copy-selected-names.vbs" /full    full paths
'          Add /q to skip the message box that says how many names were copied.
' Under cscript.exe the message is printed instead. Exit code 0 when names were copied, 1 when
' nothing was copied, 2 when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, quiet, full, i, arg, names

quiet = False
full = False
For i = 0 To WScript.Arguments.Count - 1
  arg = LCase(WScript.Arguments(i))
  If arg = "/q" Then quiet = True
  If arg = "/full" Then full = True
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

If Not h.IsRunningTC Then
  Say "The file manager is not running."
  WScript.Quit 1
End If

' One string with a CR LF between the names is just what the clipboard should get.
h.NoArrayReturn = True
names = h.GetSrcSelectedFiles(full)
If IsEmpty(names) Then
  Say "Nothing was selected; the clipboard is unchanged."
  WScript.Quit 1
End If
h.SetTextToClip names
Say CStr(UBound(Split(names, vbCrLf)) + 1) & " name(s) copied to the clipboard."
WScript.Quit 0
