' timeout: 300
' The examples that work on files and start programs, run with cscript against the stand-in
' host whose panels show real folders of the test: batch-rename, new-folder-from-name,
' diff-panels, command-prompt-here and process-list-file.
Dim h, out, leftDir, rightDir, k, text, copyDir

leftDir = TEST_DIR & "left\"
rightDir = TEST_DIR & "right\"
g_fso.CreateFolder leftDir
g_fso.CreateFolder rightDir

ExpectFromHost "expect_cmd=540,690,2017,2018" & vbCrLf & "expect_gw=A,SP,TP" & vbCrLf & "expect_keys=1"
Function Panels(selectedLeft, selectedRight)
  Panels = "selected.L=" & selectedLeft & vbCrLf & "selected.R=" & selectedRight & vbCrLf & _
    "path.L=" & leftDir & vbCrLf & "path.R=" & rightDir
End Function

' Creates the files (names separated by "|") in the folder with a line of text each.
Sub MakeFiles(folder, names)
  Dim list, i
  list = Split(names, "|")
  For i = 0 To UBound(list)
    WriteTextFile folder & list(i), list(i)
  Next
End Sub

' The names in the folder, files and folders, sorted, separated by "|".
Function Listing(folder)
  Dim f, names, i, j, t, n
  names = Array()
  For Each f In g_fso.GetFolder(folder).Files
    ReDim Preserve names(UBound(names) + 1)
    names(UBound(names)) = f.Name
  Next
  For Each f In g_fso.GetFolder(folder).SubFolders
    ReDim Preserve names(UBound(names) + 1)
    names(UBound(names)) = f.Name & "\"
  Next
  For i = 0 To UBound(names)
    For j = i + 1 To UBound(names)
      If LCase(names(j)) < LCase(names(i)) Then
        t = names(i)
        names(i) = names(j)
        names(j) = t
      End If
    Next
  Next
  Listing = Replace(JoinLines(names), vbCrLf, "|")
End Function

' Waits up to about 10 s for a file that a started program writes, until it holds text (the
' program creates it before it writes); its text, or "".
Function AwaitFile(path)
  Dim tries, text
  AwaitFile = ""
  For tries = 1 To 100
    If g_fso.FileExists(path) Then
      text = ReadTextFile(path)
      If text <> "" Then
        AwaitFile = text
        Exit Function
      End If
    End If
    SleepMs 100
  Next
End Function

StartHost Panels("", "")
Set h = CreateObject("Ombrisk.Helper")

' ---- batch-rename: a preview, then the renaming; the panel read again ----
MakeFiles leftDir, "Photo One.JPG|photo two.jpg|keep.txt"
g_fso.CreateFolder leftDir & "sub dir"
SetHostConfig Panels("Photo One.JPG|photo two.jpg|sub dir\", "")
ClearHostLog
out = RunExample("batch-rename.vbs", "/preview /prefix:2024_ /case:lower /suffix:_ /counter:1:2")
Eq out, "Photo One.JPG  ->  2024_photo one_01.JPG" & vbCrLf & "photo two.jpg  ->  2024_photo two_02.jpg" & vbCrLf & _
  "sub dir  ->  2024_sub dir_03" & vbCrLf & "3 name(s) would change (preview only).", _
  "the preview: prefix, case, suffix and counter; extensions kept, a folder has none"
Eq g_exampleExit, 0, "ends with 0"
Eq Listing(leftDir), "keep.txt|Photo One.JPG|photo two.jpg|sub dir\", "and renames nothing"
Eq HostLogCount("CMD posted 540"), 0, "nor has the panel read again"
' (Files only: Wine's scripting runtime cannot move or rename folders.)
SetHostConfig Panels("Photo One.JPG|photo two.jpg", "")
out = RunExample("batch-rename.vbs", "/yes /find:PHOTO /replace:img /case:title")
Eq out, "Photo One.JPG  ->  Img One.JPG" & vbCrLf & "photo two.jpg  ->  Img Two.jpg" & vbCrLf & "2 renamed.", _
  "/yes: search and replace in any case, then title case"
Eq g_exampleExit, 0, "ends with 0"
Eq Listing(leftDir), "Img One.JPG|Img Two.jpg|keep.txt|sub dir\", "the files have their new names"
Eq HostLogLines("CMD "), "CMD posted 2018 lparam=0" & vbCrLf & "CMD posted 2018 lparam=0" & vbCrLf & "CMD posted 540 lparam=0", _
  "the full names asked for twice, then the panel read again"

' The new names clash: nothing at all is renamed.
MakeFiles leftDir, "xa.txt|ax.txt|a-1.txt|a_1.txt"
SetHostConfig Panels("xa.txt|ax.txt|keep.txt", "")
out = RunExample("batch-rename.vbs", "/yes /find:x")
Eq out, "xa.txt  ->  a.txt" & vbCrLf & "ax.txt  ->  a.txt   <- twice" & vbCrLf & "keep.txt  ->  keep.txt" & vbCrLf & _
  "1 new name(s) cannot be used; nothing was renamed.", "two entries that would get one name"
Eq g_exampleExit, 1, "ends with 1"
SetHostConfig Panels("a-1.txt|keep.txt", "")
out = RunExample("batch-rename.vbs", "/yes /find:- /replace:_")
Eq out, "a-1.txt  ->  a_1.txt   <- exists already" & vbCrLf & "keep.txt  ->  keep.txt" & vbCrLf & _
  "1 new name(s) cannot be used; nothing was renamed.", "a name taken by a file outside the selection"
Eq RunExample("batch-rename.vbs", "/yes /q /suffix:?"), "", "a character names cannot have, quietly"
Eq g_exampleExit, 1, "ends with 1"
Eq Listing(leftDir), "a_1.txt|a-1.txt|ax.txt|Img One.JPG|Img Two.jpg|keep.txt|sub dir\|xa.txt", "all names as they were"
Eq RunExample("batch-rename.vbs", "/case:lower"), "a-1.txt  ->  a-1.txt" & vbCrLf & "keep.txt  ->  keep.txt" & vbCrLf & _
  "The names stay as they are.", "nothing to change"
Eq g_exampleExit, 0, "ends with 0"
out = RunExample("batch-rename.vbs", "/case:camel")
Eq out, "/case takes lower, upper or title.", "a case it does not know"
Eq Left(RunExample("batch-rename.vbs", "/prefx:a"), 22), "Unknown option /prefx:", "an unknown option"
Eq g_exampleExit, 1, "ends with 1"

' Without /yes it asks; OK (pressed here by the stand-in's helper) renames, with a counter only.
SetHostConfig Panels("keep.txt", "")
g_shell.Run Quote(STANDIN_EXE) & " ctl closebox ""Batch rename"" 300", 0, False
out = RunExample("batch-rename.vbs", "/counter:7 /q")
Eq g_exampleExit, 0, "the question answered with OK: 0"
Ok g_fso.FileExists(leftDir & "keep7.txt") And Not g_fso.FileExists(leftDir & "keep.txt"), "keep.txt became keep7.txt"
SetHostConfig Panels("Img One.JPG", "")
Eq RunExample("batch-rename.vbs", "/yes /case:upper"), "Img One.JPG  ->  IMG ONE.JPG" & vbCrLf & "1 renamed.", _
  "a change of case only"
Eq Listing(leftDir), "a_1.txt|a-1.txt|ax.txt|IMG ONE.JPG|Img Two.jpg|keep7.txt|sub dir\|xa.txt", "is made"

SetHostConfig Panels("", "") & vbCrLf & "clip_none=1"
Eq RunExample("batch-rename.vbs", "/yes"), "Select the files to rename in the active panel first.", "nothing selected"
Eq g_exampleExit, 1, "ends with 1"

' ---- new-folder-from-name: the name under the cursor, or the one given ----
MakeFiles leftDir, "report.final.pdf|movie.avi"
SetHostConfig Panels("report.final.pdf", "")
ClearHostLog
Eq RunExample("new-folder-from-name.vbs", ""), "Created " & leftDir & "report.final", _
  "new-folder-from-name: the name from the host without its last extension"
Eq g_exampleExit, 0, "ends with 0"
Ok g_fso.FolderExists(leftDir & "report.final"), "the folder is there"
Eq HostLogLines("CMD "), "CMD posted 2017 lparam=0" & vbCrLf & "CMD posted 540 lparam=0", _
  "the name asked for without its path, then the panel read again"
Eq RunExample("new-folder-from-name.vbs", ""), leftDir & "report.final exists already.", "a second time"
Eq g_exampleExit, 1, "ends with 1"
Eq RunExample("new-folder-from-name.vbs", """movie.avi"" /move"), "Created " & leftDir & "movie and moved movie.avi into it.", _
  "a name given (as %N gives it), /move"
Ok g_fso.FileExists(leftDir & "movie\movie.avi") And Not g_fso.FileExists(leftDir & "movie.avi"), "the file is in its folder"
Eq RunExample("new-folder-from-name.vbs", "notes.txt /keepext /q"), "", "/keepext /q"
Ok g_fso.FolderExists(leftDir & "notes.txt"), "a folder notes.txt"
Eq RunExample("new-folder-from-name.vbs", ".."), "Put the cursor on a file first.", "the cursor on .."
Eq g_exampleExit, 1, "ends with 1"

' ---- diff-panels: the compare program gets the current file of each panel ----
MakeFiles leftDir, "a.txt|c.txt"
MakeFiles rightDir, "b.txt"
WriteTextFile TEST_DIR & "compare.cmd", "@echo %~1^|%~2>" & Quote(TEST_DIR & "compared.txt") & vbCrLf
SetHostConfig Panels("a.txt", "b.txt")
ClearHostLog
out = RunExample("diff-panels.vbs", "/tool:" & Quote(TEST_DIR & "compare.cmd"))
Eq g_exampleExit, 0, "diff-panels starts the program given with /tool: 0"
Eq AwaitFile(TEST_DIR & "compared.txt"), leftDir & "a.txt|" & rightDir & "b.txt" & vbCrLf, _
  "which gets the active panel's file, then the other panel's"
Eq HostKeyDowns(), "9 9", "the other panel's name was asked for between two Tabs"
g_fso.DeleteFile TEST_DIR & "compared.txt"
SetHostConfig Panels("a.txt|c.txt", "b.txt")
ClearHostLog
RunExample "diff-panels.vbs", "/tool:" & Quote(TEST_DIR & "compare.cmd")
Eq AwaitFile(TEST_DIR & "compared.txt"), leftDir & "a.txt|" & leftDir & "c.txt" & vbCrLf, _
  "two files selected in the active panel: those two"
Eq HostKeyDowns(), "", "and the other panel is left alone"
' The program named in diff-panels.ini beside the script (here a copy of it), %1 and %2 swapped.
g_fso.DeleteFile TEST_DIR & "compared.txt"
copyDir = TEST_DIR & "copy\"
g_fso.CreateFolder copyDir
g_fso.CopyFile ExamplesDir() & "diff-panels.vbs", copyDir
WriteTextFile copyDir & "diff-panels.ini", "[Diff]" & vbCrLf & "Command=""" & TEST_DIR & "compare.cmd"" ""%2"" ""%1""" & vbCrLf
RunWait "cscript //nologo " & Quote(copyDir & "diff-panels.vbs")
Eq AwaitFile(TEST_DIR & "compared.txt"), leftDir & "c.txt|" & leftDir & "a.txt" & vbCrLf, "the command of diff-panels.ini"
SetHostConfig Panels("a.txt", "missing.txt")
out = RunExample("diff-panels.vbs", "/tool:x")
Eq out, "Two files are needed:" & vbCrLf & "  " & leftDir & "a.txt" & vbCrLf & "  " & rightDir & "missing.txt", _
  "a name that is no file"
Eq g_exampleExit, 1, "ends with 1"
Eq Left(RunExample("diff-panels.vbs", "one"), 7), "Usage: ", "one name only: the usage"

'' ---- command-prompt-here: the program starts in the panel's folder ----
' The program given with /run: here a script that writes down its current folder.
WriteTextFile TEST_DIR & "cwd.vbs", "Set f = CreateObject(""Scripting.FileSystemObject"").CreateTextFile(""" & _
  TEST_DIR & "prompt-cwd.txt"")" & vbCrLf & "f.Write CreateObject(""WScript.Shell"").CurrentDirectory" & vbCrLf & "f.Close" & vbCrLf
SetHostConfig Panels("", "")
Eq RunExample("command-prompt-here.vbs", Quote("/run:cscript //nologo " & TEST_DIR & "cwd.vbs")), "", "command-prompt-here says nothing"
Eq g_exampleExit, 0, "ends with 0"
Eq AwaitFile(TEST_DIR & "prompt-cwd.txt"), Left(leftDir, Len(leftDir) - 1), "the program starts in the active panel's folder"
g_fso.DeleteFile TEST_DIR & "prompt-cwd.txt"
RunExample "command-prompt-here.vbs", "/target " & Quote("/run:cscript //nologo " & TEST_DIR & "cwd.vbs")
Eq AwaitFile(TEST_DIR & "prompt-cwd.txt"), Left(rightDir, Len(rightDir) - 1), "/target: in the other panel's"
SetHostConfig "path.L=" & leftDir & "archive.zip\" & vbCrLf & "path.R=" & rightDir
Eq RunExample("command-prompt-here.vbs", ""), leftDir & "archive.zip\ is not a folder on disk (an archive or a connection?).", _
  "a panel inside an archive"
Eq g_exampleExit, 1, "ends with 1"

' ---- process-list-file: the list file of %WL (UTF-16) or %L (ANSI) ----
WriteTextFile leftDir & "big.bin", String(1234, "x")
text = leftDir & "big.bin" & vbCrLf & leftDir & "a.txt" & vbCrLf & leftDir & "Sub Dir\" & vbCrLf & leftDir & "gone.txt" & vbCrLf
WriteUnicodeFile TEST_DIR & "list-w.tmp", text
h.SetTextToClip "before"
out = RunExample("process-list-file.vbs", Quote(TEST_DIR & "list-w.tmp") & " /clip")
Eq out, "2 file(s), 1,239 bytes; 1 folder(s)." & vbCrLf & "  not found: " & leftDir & "gone.txt", _
  "a Unicode list: files counted and sized, the folder counted, the missing name listed"
Eq g_exampleExit, 1, "ends with 1 for the missing name"
Eq h.GetTextFromClip(), leftDir & "big.bin" & vbCrLf & leftDir & "a.txt" & vbCrLf & leftDir & "Sub Dir", "/clip: the names found"
WriteTextFile TEST_DIR & "list-a.tmp", leftDir & "big.bin" & vbCrLf & leftDir & "Sub Dir"
Eq RunExample("process-list-file.vbs", Quote(TEST_DIR & "list-a.tmp")), "1 file(s), 1,234 bytes; 1 folder(s).", "an ANSI list"
Eq g_exampleExit, 0, "ends with 0"
Eq RunExample("process-list-file.vbs", ""), "Give the list file: put %WL in the button's Parameters.", "no list file"
Eq g_exampleExit, 1, "ends with 1"

' ---- no host ----
StopHost
Eq RunExample("batch-rename.vbs", "/yes"), "Select the files to rename in the active panel first.", "batch-rename without a host"
Eq RunExample("new-folder-from-name.vbs", ""), "The file manager is not running or did not tell its folder.", _
  "new-folder-from-name without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq Left(RunExample("diff-panels.vbs", ""), 45), "Put the cursor on a file in each panel (or se", "diff-panels without a host"
Eq g_exampleExit, 1, "ends with 1"
Eq RunExample("command-prompt-here.vbs", ""), "The file manager is not running or did not tell its folder.", _
  "command-prompt-here without a host"
Eq g_exampleExit, 1, "ends with 1"

Finish
