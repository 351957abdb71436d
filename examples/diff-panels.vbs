' diff-panels.vbs
'
' Compares the current file of the active panel with the current file of the other panel in
' the compare program you choose. The current file is the one under the cursor when nothing is
' selected, else the first selected one; with two files selected in the active panel, those two
' are compared. Two names given on the command line (the button's %P%N %T%M) are used instead.
'
'   diff-panels.vbs [<file1> <file2>] [/tool:<program>]
'
' The compare program: /tool:<program> gets the two names as its two arguments. Without /tool,
' the line Command= in the section [Diff] of diff-panels.ini beside this script is run, with %1
' and %2 standing for the two names (quote them there); without that file, the command prompt's
' fc compares the files in a console window.
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\diff-panels.vbs" /tool:"C:\Tools\compare.exe"
' Exit code 0 when the compare program was started, 1 when there are no two files to compare, 2
' when Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, sh, i, arg, tool, files, names, first, second, ini, command

tool = ""
files = Array()
For i = 0 To WScript.Arguments.Count - 1
  arg = WScript.Arguments(i)
  If LCase(Left(arg, 6)) = "/tool:" Then
    tool = Mid(arg, 7)
  Else
    ReDim Preserve files(UBound(files) + 1)
    files(UBound(files)) = arg
  End If
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

' The command with %1 and %2 replaced at once, so that a name holding "%2" stays as it is.
Function Filled(text, one, two)
  Dim parts, k, result
  parts = Split(text, "%1")
  result = ""
  For k = 0 To UBound(parts)
    If k > 0 Then result = result & one
    result = result & Replace(parts(k), "%2", two)
  Next
  Filled = result
End Function

first = ""
second = ""
If UBound(files) = 1 Then
  first = files(0)
  second = files(1)
ElseIf UBound(files) = -1 Then
  names = h.GetSrcSelectedFiles(True)
  If Not IsEmpty(names) Then
    first = names(0)
    If UBound(names) >= 1 Then
      second = names(1)
    Else
      names = h.GetTrgSelectedFiles(True)
      If Not IsEmpty(names) Then second = names(0)
    End If
  End If
Else
  WScript.Echo "Usage: diff-panels.vbs [<file1> <file2>] [/tool:<program>]"
  WScript.Quit 1
End If

If first = "" Or second = "" Then
  WScript.Echo "Put the cursor on a file in each panel (or select two files) first; is the file manager running?"
  WScript.Quit 1
End If
If Not fso.FileExists(first) Or Not fso.FileExists(second) Then
  WScript.Echo "Two files are needed:" & vbCrLf & "  " & first & vbCrLf & "  " & second
  WScript.Quit 1
End If

If tool <> "" Then
  command = """" & tool & """ """ & first & """ """ & second & """"
Else
  ' The settings file beside the script; INIRead reads it in any language's characters.
  ini = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "diff-panels.ini")
  command = h.INIRead(ini, "Diff", "Command", "")
  If command = "" Then command = """%ComSpec%"" /k fc /n ""%1"" ""%2"""
  command = Filled(command, first, second)
End If
sh.Run command, 1, False
WScript.Quit 0
