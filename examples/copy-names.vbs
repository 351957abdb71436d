' copy-names.vbs
'
' Copies the names selected in the active panel of the file manager to the clipboard in the
' form you choose (when nothing is selected, the file manager gives the name under the cursor):
'
'   /full                    with the full path
'   /noext                   without the extension (folders keep their whole name)
'   /slash                   forward slashes instead of backslashes (for URLs, Unix tools)
'   /quoted                  each name in double quotes
'   /sep:line|space|comma|semicolon   what goes between the names (default: a line break)
'   /q                       no message
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\copy-names.vbs" /full /quoted /sep:space /q
' Exit code 0 when names were copied, 1 when nothing was copied, 2 when Ombrisk.Helper cannot
' be created.
Option Explicit

Dim h, fso, quiet, full, noExt, slash, quoted, sep, i, arg, names, name, text, dot, isFolder

quiet = False
full = False
noExt = False
slash = False
quoted = False
sep = vbCrLf
For i = 0 To WScript.Arguments.Count - 1
  arg = LCase(WScript.Arguments(i))
  Select Case arg
    Case "/q": quiet = True
    Case "/full": full = True
    Case "/noext": noExt = True
    Case "/slash": slash = True
    Case "/quoted": quoted = True
    Case "/sep:line": sep = vbCrLf
    Case "/sep:space": sep = " "
    Case "/sep:comma": sep = ","
    Case "/sep:semicolon": sep = ";"
    Case Else
      WScript.Echo "Unknown option " & WScript.Arguments(i) & ". See the top of " & WScript.ScriptName & "."
      WScript.Quit 1
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

If Not h.IsRunningTC Then
  Say "The file manager is not running."
  WScript.Quit 1
End If

' Full paths always, so that folders can be told from files; the path goes again without /full.
names = h.GetSrcSelectedFiles(True)
If IsEmpty(names) Then
  Say "Nothing was selected; the clipboard is unchanged."
  WScript.Quit 1
End If

text = ""
For i = 0 To UBound(names)
  name = names(i)
  isFolder = (Right(name, 1) = "\")
  If isFolder Then name = Left(name, Len(name) - 1)
  If noExt And Not isFolder And Not fso.FolderExists(name) Then
    dot = InStrRev(name, ".")
    If dot > InStrRev(name, "\") + 1 Then name = Left(name, dot - 1)
  End If
  If Not full Then name = Mid(name, InStrRev(name, "\") + 1)
  If slash Then name = Replace(name, "\", "/")
  If quoted Then name = """" & name & """"
  If i > 0 Then text = text & sep
  text = text & name
Next
h.SetTextToClip text
Say CStr(UBound(names) + 1) & " name(s) copied to the clipboard."
WScript.Quit 0
