' batch-rename.vbs
'
' Renames the files and folders selected in the active panel of the file manager: a prefix, a
' suffix, upper/lower/title case, search and replace, and a counter, in any combination. It
' shows the new names first and renames only when you agree; it never overwrites anything.
'
'   /prefix:<text>           put text before each name
'   /suffix:<text>           put text after each name, before the extension
'   /case:lower|upper|title  change the case of the name (the extension is left as it is)
'   /find:<text>             replace this text (any case) in the name ...
'   /replace:<text>          ... with this one (empty when left out)
'   /counter[:<start>[:<digits>]]   number the names, after the suffix: 1, 2 ... or 001, 002 ...
'   /preview                 only show the new names
'   /yes                     rename without asking
'   /q                       no message at the end
'
' Button:  Command     %windir%\System32\wscript.exe
'          Parameters  "%LOCALAPPDATA%\Ombrisk\examples\batch-rename.vbs" /prefix:2024-06_ /case:lower
' When a new name is taken already (by a file that is not being renamed, or by two of the new
' names), or holds a character that names cannot have, nothing at all is renamed. Afterwards the
' file manager reads the folder again. Exit code 0 when everything was renamed (or, with
' /preview, could be), 1 when nothing was selected, the names clash or you said no, 2 when
' Ombrisk.Helper cannot be created.
Option Explicit

Dim h, fso, sh, quiet, preview, yes, i, arg, key, value
Dim parts, prefix, suffix, caseMode, findText, replaceText, counting, counterStart, counterDigits

quiet = False
preview = False
yes = False
prefix = ""
suffix = ""
caseMode = ""
findText = ""
replaceText = ""
counting = False
counterStart = 1
counterDigits = 1
For i = 0 To WScript.Arguments.Count - 1
  arg = WScript.Arguments(i)
  key = LCase(arg)
  value = ""
  If InStr(arg, ":") > 0 Then
    key = LCase(Left(arg, InStr(arg, ":") - 1))
    value = Mid(arg, InStr(arg, ":") + 1)
  End If
  Select Case key
    Case "/q": quiet = True
    Case "/preview": preview = True
    Case "/yes": yes = True
    Case "/prefix": prefix = value
    Case "/suffix": suffix = value
    Case "/case": caseMode = LCase(value)
    Case "/find": findText = value
    Case "/replace": replaceText = value
    Case "/counter"
      counting = True
      If value <> "" Then
        parts = Split(value, ":")
        If IsNumeric(parts(0)) Then counterStart = CLng(parts(0))
        If UBound(parts) >= 1 Then
          If IsNumeric(parts(1)) Then counterDigits = CLng(parts(1))
        End If
      End If
    Case Else
      WScript.Echo "Unknown option " & arg & ". See the top of " & WScript.ScriptName & "."
      WScript.Quit 1
  End Select
Next
If caseMode <> "" And caseMode <> "lower" And caseMode <> "upper" And caseMode <> "title" Then
  WScript.Echo "/case takes lower, upper or title."
  WScript.Quit 1
End If

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

' Every word (after a blank, "-", "_" or ".") with a capital first letter, the rest small.
Function TitleCase(text)
  Dim k, c, startOfWord, result
  result = ""
  startOfWord = True
  For k = 1 To Len(text)
    c = Mid(text, k, 1)
    If startOfWord Then result = result & UCase(c) Else result = result & LCase(c)
    startOfWord = (InStr(" -_.", c) > 0)
  Next
  TitleCase = result
End Function

' The new name of one entry: base and extension apart, the extension kept (folders have none).
Function NewName(oldName, isFolder, number)
  Dim base, ext, dot, digits
  base = oldName
  ext = ""
  dot = InStrRev(oldName, ".")
  If Not isFolder And dot > 1 Then
    base = Left(oldName, dot - 1)
    ext = Mid(oldName, dot)
  End If
  If findText <> "" Then base = Replace(base, findText, replaceText, 1, -1, vbTextCompare)
  Select Case caseMode
    Case "lower": base = LCase(base)
    Case "upper": base = UCase(base)
    Case "title": base = TitleCase(base)
  End Select
  base = prefix & base & suffix
  If counting Then
    digits = CStr(number)
    If Len(digits) < counterDigits Then digits = String(counterDigits - Len(digits), "0") & digits
    base = base & digits
  End If
  NewName = base & ext
End Function

Function Exists(path)
  Exists = fso.FileExists(path) Or fso.FolderExists(path)
End Function

Dim names, n, olds, news, folders, notes, k, j, clashes, changes, text, folder, name
names = h.GetSrcSelectedFiles(True)
If IsEmpty(names) Then
  Say "Select the files to rename in the active panel first."
  WScript.Quit 1
End If
n = UBound(names)
ReDim olds(n), news(n), folders(n), notes(n)
clashes = 0
changes = 0
For k = 0 To n
  olds(k) = names(k)
  If Right(olds(k), 1) = "\" Then olds(k) = Left(olds(k), Len(olds(k)) - 1)
  folders(k) = fso.FolderExists(olds(k))
  news(k) = NewName(fso.GetFileName(olds(k)), folders(k), counterStart + k)
  notes(k) = ""
  If news(k) <> fso.GetFileName(olds(k)) Then changes = changes + 1
Next
' The checks: characters, empty names, names taken on disk or twice in the batch.
For k = 0 To n
  folder = fso.GetParentFolderName(olds(k)) & "\"
  name = news(k)
  For j = 1 To Len(name)
    If InStr("\/:*?""<>|", Mid(name, j, 1)) > 0 Then notes(k) = "   <- not allowed in a name"
  Next
  If Trim(name) = "" Or Replace(name, ".", "") = "" Then notes(k) = "   <- empty name"
  If notes(k) = "" And LCase(name) <> LCase(fso.GetFileName(olds(k))) Then
    If Exists(folder & name) Then notes(k) = "   <- exists already"
  End If
  For j = 0 To k - 1
    If LCase(folder & name) = LCase(fso.GetParentFolderName(olds(j)) & "\" & news(j)) Then
      notes(k) = "   <- twice"
    End If
  Next
  If notes(k) <> "" Then clashes = clashes + 1
Next

text = ""
For k = 0 To n
  text = text & fso.GetFileName(olds(k)) & "  ->  " & news(k) & notes(k) & vbCrLf
Next

If clashes > 0 Then
  Say text & clashes & " new name(s) cannot be used; nothing was renamed."
  WScript.Quit 1
End If
If changes = 0 Then
  Say text & "The names stay as they are."
  WScript.Quit 0
End If
If preview Then
  Say text & changes & " name(s) would change (preview only)."
  WScript.Quit 0
End If
If Not yes Then
  ' 1 = OK and Cancel buttons, 32 = question mark; the answer OK is 1.
  If sh.Popup(text & vbCrLf & "Rename " & changes & " entries?", 0, "Batch rename", 1 + 32) <> 1 Then
    Say "Nothing was renamed."
    WScript.Quit 1
  End If
End If

Dim renamed, failed, finalPath
renamed = 0
failed = ""
' Renames one entry; a change of case only goes through a passing name, since a name that
' differs only in case counts as taken.
Sub MoveEntry(path, isFolder, newPath)
  If isFolder Then fso.MoveFolder path, newPath Else fso.MoveFile path, newPath
End Sub
For k = 0 To n
  If news(k) <> fso.GetFileName(olds(k)) Then
    finalPath = fso.GetParentFolderName(olds(k)) & "\" & news(k)
    On Error Resume Next
    If LCase(news(k)) = LCase(fso.GetFileName(olds(k))) Then
      MoveEntry olds(k), folders(k), olds(k) & ".renaming"
      If Err.Number = 0 Then MoveEntry olds(k) & ".renaming", folders(k), finalPath
    Else
      MoveEntry olds(k), folders(k), finalPath
    End If
    If Err.Number = 0 Then
      renamed = renamed + 1
    Else
      failed = failed & vbCrLf & "  " & olds(k) & ": " & Err.Description
    End If
    Err.Clear
    On Error GoTo 0
  End If
Next

' The panel shows the new names once the file manager reads the folder again.
Const RereadSource = 540
h.SendCommand RereadSource

If failed <> "" Then
  Say text & renamed & " renamed; could not rename:" & failed
  WScript.Quit 1
End If
Say text & renamed & " renamed."
WScript.Quit 0
