' timeout: 240
' INI files: values, section and key lists (also where a list must grow past its first buffer),
' whole sections, deletions, refused writes, and the files' encodings, through the real script
' client.
Dim h, f, fa, fro, big, r, i, s, bad, text, expected
Set h = CreateObject("Ombrisk.Helper")

' A list result as text: "array:" and the items joined with "|", else "scalar:" and the value.
Function ListText(v)
  Dim k, t
  If IsArray(v) Then
    t = "array:"
    For k = 0 To UBound(v)
      If k > 0 Then t = t & "|"
      t = t & v(k)
    Next
  ElseIf IsEmpty(v) Then
    t = "Empty"
  Else
    t = "scalar:" & v
  End If
  ListText = t
End Function

' UTF-16 with byte order mark, as the scripting runtime writes a Unicode file.
Sub WriteUnicode(path, content)
  Dim file
  Set file = g_fso.CreateTextFile(path, True, True)
  file.Write content
  file.Close
End Sub

Function ReadUnicode(path)
  Dim file
  Set file = g_fso.OpenTextFile(path, 1, False, -1)
  ReadUnicode = file.ReadAll
  file.Close
End Function

Function UtilTool()
  UtilTool = Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "utiltool.exe"
End Function

' Polls (without a process start in between) until path exists; False after timeoutMs.
Function WaitForFile(path, timeoutMs)
  Dim t0
  t0 = NowMs()
  Do
    If g_fso.FileExists(path) Then
      WaitForFile = True
      Exit Function
    End If
  Loop While ElapsedMs(t0) < timeoutMs
  WaitForFile = False
End Function

' True when the scripting runtime cannot open path for appending.
Function WriteRefused(path)
  Dim file
  WriteRefused = True
  On Error Resume Next
  Set file = g_fso.OpenTextFile(path, 8)
  If Err.Number = 0 Then
    file.Close
    WriteRefused = False
  End If
  Err.Clear
  On Error GoTo 0
End Function

' Waits until path can be opened for appending again (the helper let it go).
Sub WaitForFileFree(path, timeoutMs)
  Dim t0
  t0 = NowMs()
  Do While WriteRefused(path) And ElapsedMs(t0) < timeoutMs
    SleepMs 50
  Loop
End Sub

f = TEST_DIR & "unicode.ini"
WriteUnicode f, "[Alpha]" & vbCrLf & "one=1" & vbCrLf & "two=zwei" & vbCrLf & _
                "[Beta]" & vbCrLf & "x=" & Chr(228) & Chr(246) & vbCrLf & _
                "[5]" & vbCrLf & "7=seven" & vbCrLf

' ---- INIRead: values and lists ----
Eq ListText(h.INIRead(f)), "array:Alpha|Beta|5", "only the file: the section names"
Eq ListText(h.INIRead(f, "", "one")), "array:Alpha|Beta|5", "an empty section with a key: the section names"
Eq ListText(h.INIRead(f, "  ")), "array:Alpha|Beta|5", "a section of two spaces trims to nothing: the section names"
Eq ListText(h.INIRead(f, "Alpha")), "array:one|two", "a section: its key names"
Eq ListText(h.INIRead(f, " Alpha ")), "array:one|two", "list mode trims the section"
r = h.INIRead(f, "Alpha", "two")
EqType r, "zwei", "section and key: the value"
Eq h.INIRead(f, "Beta", "x"), Chr(228) & Chr(246), "a value outside ASCII from a UTF-16 file"
EqType h.INIRead(f, "Alpha", "nope", "dflt"), "dflt", "a missing key gives the default"
EqType h.INIRead(f, "Alpha", "nope"), "", "a missing key without default gives the empty string, not Empty"
Ok IsEmpty(h.INIRead(f, "Gone")), "a missing section lists as Empty"
Ok IsEmpty(h.INIRead(TEST_DIR & "nofile.ini")), "a missing file lists as Empty"
EqType h.INIRead(TEST_DIR & "nofile.ini", "A", "b", "d"), "d", "a missing file gives the default"

' Numbers as section and key: the number's digits name them.
Eq ListText(h.INIRead(f, 5)), "array:7", "a numeric section lists its keys"
Eq ListText(h.INIRead(f, 5.0)), "array:7", "a numeric section of type Double too"
Eq h.INIRead(f, 5, 7), "seven", "numeric section and key read the value"

' NoArrayReturn: one string with CR LF between the names and none after the last.
h.NoArrayReturn = True
EqType h.INIRead(f), "Alpha" & vbCrLf & "Beta" & vbCrLf & "5", "NoArrayReturn: section names as one string"
EqType h.INIRead(f, "Alpha"), "one" & vbCrLf & "two", "NoArrayReturn: key names as one string"
Ok IsEmpty(h.INIRead(f, "Gone")), "NoArrayReturn: a missing section is still Empty"
h.NoArrayReturn = False
Ok IsArray(h.INIRead(f)), "NoArrayReturn back to False: an array again"

' ---- INIWrite ----
Ok h.INIWrite(" " & f & " ", " Gamma ", " k ", " v ") = True, "INIWrite trims every argument"
Eq h.INIRead(f, "Gamma", "k"), "v", "the trimmed value was written"
Ok h.INIWrite(f, "Gamma", "empty", "") = True, "INIWrite of an empty value"
Eq ListText(h.INIRead(f, "Gamma")), "array:k|empty", "the empty value leaves its key present"
EqType h.INIRead(f, "Gamma", "empty", "dflt"), "", "and reads as empty, not as the default"
Ok h.INIWrite(f, "Beta", "y", Chr(223) & "z") = True, "INIWrite of text outside ASCII"
text = ReadUnicode(f)
Ok InStr(text, "y=" & Chr(223) & "z") > 0, "the UTF-16 file holds the new value (got " & Len(text) & " chars)"
Eq g_fso.GetFile(f).Size, 2 * Len(text) + 2, "the file is still UTF-16 with a byte order mark"

' A 1500-character value comes back whole, and so does a longer one.
Ok h.INIWrite(f, "Long", "v", String(1497, "x") & "END") = True, "INIWrite of 1500 characters"
r = h.INIRead(f, "Long", "v")
Eq Len(r), 1500, "INIRead returns all 1500 characters"
Eq Right(r, 3), "END", "the end of the long value is there"
Ok h.INIWrite(f, "Long", "w", String(5000, "y") & "Z") = True, "INIWrite of 5001 characters"
r = h.INIRead(f, "Long", "w")
Ok Len(r) = 5001 And Right(r, 1) = "Z", "INIRead returns all 5001 characters (got " & Len(r) & ")"

' ---- INIReadSection and INIWriteSection ----
text = h.INIReadSection(f, "Alpha")
EqType text, "one=1" & vbCrLf & "two=zwei" & vbCrLf, "INIReadSection: key=value lines, each ended by CR LF"
Ok IsEmpty(h.INIReadSection(f, "Gone")), "INIReadSection of a missing section is Empty"
Ok IsEmpty(h.INIReadSection("", "Alpha")), "INIReadSection without a file name is Empty"
Ok IsEmpty(h.INIReadSection(f, "")), "INIReadSection without a section is Empty"
h.NoArrayReturn = True
EqType h.INIReadSection(f, "Alpha"), text, "NoArrayReturn does not change INIReadSection"
h.NoArrayReturn = False
Ok h.INIWriteSection(f, "Copy", text) = True, "INIWriteSection takes INIReadSection's text"
Eq h.INIReadSection(f, "Copy"), text, "and writes the same entries back"
Ok h.INIWriteSection(f, "Copy", "a=1" & vbCrLf & "b=2") = True, "INIWriteSection without a final CR LF"
Eq h.INIReadSection(f, "Copy"), "a=1" & vbCrLf & "b=2" & vbCrLf, "the section was replaced as a whole"
Ok h.INIWriteSection(f, "Copy", "a=1" & vbCrLf & vbCrLf & "b=2") = True, "INIWriteSection with an empty line"
Eq h.INIReadSection(f, "Copy"), "a=1" & vbCrLf, "an empty line ends the data"
Ok h.INIWriteSection(f, "Copy", "c=1" & vbLf & "d=2") = True, "INIWriteSection with a lone LF"
text = ReadUnicode(f)
Ok InStr(text, "c=1" & vbLf & "d=2") > 0 And InStr(text, "c=1" & vbCr) = 0, "a lone LF is passed on inside the line"

' ---- INISectionExists ----
Ok h.INISectionExists(f, "alpha") = True, "INISectionExists ignores case"
Ok h.INISectionExists(f, "Alph") = False, "a part of a name is not a section"
Ok h.INISectionExists(f, "one") = False, "a key name is not a section"
Ok h.INISectionExists(f, "") = False, "an empty section name is not found"
Ok h.INISectionExists(TEST_DIR & "nofile.ini", "Alpha") = False, "nothing exists in a missing file"
Ok h.INISectionExists(f, 5) = True, "a numeric section name"

' ---- INIDelete ----
Ok h.INIDelete(f, "Alpha", "one") = True, "INIDelete of a key"
Eq ListText(h.INIRead(f, "Alpha")), "array:two", "only that key is gone"
Ok h.INIDelete(f, "Beta") = True, "INIDelete of a section"
Ok h.INISectionExists(f, "Beta") = False, "the section is gone"
Ok IsEmpty(h.INIReadSection(f, "Beta")), "with all its keys"
Ok h.INIDelete(f, "Gamma", "  ") = True, "INIDelete with a key of spaces"
Ok h.INISectionExists(f, "Gamma") = False, "a key of spaces deletes the whole section"
Ok h.INISectionExists(f, "Alpha") = True, "other sections stay"

' ---- a plain ANSI file ----
fa = TEST_DIR & "ansi.ini"
WriteTextFile fa, "[Plain]" & vbCrLf & "a=1" & vbCrLf
Ok h.INIWrite(fa, "Plain", "b", "two") = True, "INIWrite to an ANSI file"
Eq ListText(h.INIRead(fa, "Plain")), "array:a|b", "the ANSI file lists both keys"
text = ReadTextFile(fa)
Ok InStr(text, "b=two") > 0, "the ANSI file holds the new key"
Eq g_fso.GetFile(fa).Size, Len(text), "the file stays ANSI, one byte a character"
Ok h.INIWrite(TEST_DIR & "new.ini", "N", "k", "v") = True, "INIWrite creates a new file"
Eq h.INIRead(TEST_DIR & "new.ini", "N", "k"), "v", "and reads it back"

' ---- refused writes give false and change nothing ----
' Wine run by the superuser writes read-only files like any other; the checks need a platform
' that refuses the scripting runtime's own write first.
fro = TEST_DIR & "readonly.ini"
WriteTextFile fro, "[S]" & vbCrLf & "k=v" & vbCrLf
g_fso.GetFile(fro).Attributes = 1
If WriteRefused(fro) Then
  Ok h.INIWrite(fro, "S", "k", "changed") = False, "INIWrite to a read-only file is refused"
  Ok h.INIWriteSection(fro, "S", "x=1") = False, "INIWriteSection to a read-only file is refused"
  Ok h.INIDelete(fro, "S", "k") = False, "INIDelete in a read-only file is refused"
  Eq h.INIReadSection(fro, "S"), "k=v" & vbCrLf, "the read-only file is unchanged"
Else
  Skip "this platform lets the read-only file be written (Wine run as root)"
End If
g_fso.GetFile(fro).Attributes = 0

' A folder where the file should be refuses every write, also for the superuser.
Dim fdir
fdir = TEST_DIR & "folder.ini"
g_fso.CreateFolder fdir
EqType h.INIWrite(fdir, "S", "k", "v"), False, "INIWrite to a folder's name is refused"
EqType h.INIWriteSection(fdir, "S", "x=1"), False, "INIWriteSection to a folder's name is refused"
EqType h.INIDelete(fdir, "S", "k"), False, "INIDelete in a folder's name is refused"
Ok g_fso.FolderExists(fdir) And Not g_fso.FileExists(fdir), "the folder is still a folder"
Eq g_fso.GetFolder(fdir).Files.Count, 0, "and nothing was written into it"

' A file another program holds open without sharing refuses writes everywhere.
Dim fl, ready, go
fl = TEST_DIR & "locked.ini"
ready = TEST_DIR & "lock.ready"
go = TEST_DIR & "lock.go"
WriteTextFile fl, "[S]" & vbCrLf & "k=v" & vbCrLf
g_shell.Run Quote(UtilTool()) & " lock " & Quote(fl) & " " & Quote(ready) & " " & Quote(go), 0, False
If WaitForFile(ready, 10000) Then
  Ok h.INIWrite(fl, "S", "k", "changed") = False, "INIWrite to a locked file is refused"
  Ok h.INIWriteSection(fl, "S", "x=1") = False, "INIWriteSection to a locked file is refused"
  Ok h.INIDelete(fl, "S", "k") = False, "INIDelete in a locked file is refused"
  Ok h.INIWrite(TEST_DIR & "no\such\folder.ini", "S", "k", "v") = False, "INIWrite to a missing folder is refused"
Else
  Report False, "the locking helper did not start"
End If
WriteTextFile go, ""
WaitForFileFree fl, 10000
Eq h.INIReadSection(fl, "S"), "k=v" & vbCrLf, "the locked file is unchanged"

' ---- lists past the first buffer ----
big = TEST_DIR & "big.ini"
s = ""
For i = 1 To 3000
  s = s & "[Sec" & Right("000000" & i, 7) & "]" & vbCrLf
Next
s = s & "[Many]" & vbCrLf
For i = 1 To 1000
  s = s & "key" & Right("0000" & i, 4) & "=value" & Right("0000" & i, 4) & vbCrLf
Next
WriteTextFile big, s
r = h.INIRead(big)
Ok IsArray(r), "3000 sections come as an array"
If IsArray(r) Then
  Eq UBound(r), 3000, "all 3001 section names are listed"
  bad = 0
  For i = 1 To 3000
    If r(i - 1) <> "Sec" & Right("000000" & i, 7) Then bad = bad + 1
  Next
  Eq bad, 0, "every 10-character section name in order"
  Eq r(3000), "Many", "the last section"
End If
h.NoArrayReturn = True
Eq Len(h.INIRead(big)), 3000 * 10 + 4 + 3000 * 2, "the one-string list of 3001 names"
h.NoArrayReturn = False
r = h.INIRead(big, "Many")
Ok IsArray(r), "1000 keys come as an array"
If IsArray(r) Then Ok UBound(r) = 999 And r(999) = "key1000", "all 1000 key names (ubound " & UBound(r) & ")"
text = h.INIReadSection(big, "Many")
Eq Len(text), 1000 * (17 + 2), "INIReadSection grows past 8192 characters"
Eq Right(text, 19), "key1000=value1000" & vbCrLf, "and ends with the last entry"
Ok h.INISectionExists(big, "sec0002999") = True, "INISectionExists past its first buffer"
Ok h.INISectionExists(big, "many") = True, "INISectionExists finds the last section"
' A bare file name is looked for in the Windows folder, so its size is not known beforehand: the
' list starts in a small buffer and has to grow to hold all names.
Dim winIni, bareName
bareName = "ombrisk-list-" & Int(Timer) & ".ini"
winIni = g_fso.GetSpecialFolder(0).Path & "\" & bareName
If WriteTextFile(winIni, s) Then
  r = h.INIRead(bareName)
  Ok IsArray(r), "the sections of a bare name in the Windows folder come as an array"
  If IsArray(r) Then
    Eq UBound(r), 3000, "all 3001 names, past the first buffer"
    If UBound(r) = 3000 Then Ok r(2999) = "Sec0003000" And r(3000) = "Many", "the last two in place"
  End If
  r = h.INIRead(bareName, "Many")
  Ok IsArray(r), "the keys of a section of a bare name come as an array"
  If IsArray(r) Then
    Eq UBound(r), 999, "and all 1000 key names of its section"
    If UBound(r) = 999 Then Eq r(999), "key1000", "the last one in place"
  End If
  g_fso.DeleteFile winIni, True
End If

' ---- Null cannot become text: error 94, nothing written ----
On Error Resume Next
r = h.INIRead(Null)
Eq Err.Number, 94, "INIRead of Null raises 94"
Err.Clear
r = h.INIWrite(f, "NullSec", "k", Null)
Eq Err.Number, 94, "INIWrite of a Null value raises 94"
Err.Clear
On Error GoTo 0
Ok h.INISectionExists(f, "NullSec") = False, "nothing was written"

Finish
