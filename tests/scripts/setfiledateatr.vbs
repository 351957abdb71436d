' timeout: 180
' SetFileDateAtr: each argument alone, as text and as number, file objects (type name "File")
' as the file and as the source of every value, read-only files, and the failures. Dates are
' read back by a separate helper program, to the second.
Dim h, p, src, before, after, r, dm, dc, da, obj, other, rc, tool
Set h = CreateObject("Ombrisk.Helper")
tool = Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "utiltool.exe"

Function NewFile(name)
  NewFile = TEST_DIR & name
  WriteTextFile NewFile, "content of " & name
End Function

' "created|modified|accessed|attributes" of path, local times to the second; "" when unreadable.
' Wine on Linux cannot store a creation time (it reports the last-write time instead): there the
' creation time shows as "*" and only the other two dates are checked here; the client test SetFileDateAtr_FileTimes
' checks the creation time the library hands to the platform.
Dim g_creationKept
g_creationKept = (RunWait(Quote(tool) & " creationkept " & Quote(NewFile("probe.txt"))) = 0)
If Not g_creationKept Then WScript.Echo "# skip: this platform does not keep creation times; they are not checked"

Function Times(path)
  Dim out
  out = TEST_DIR & "times.txt"
  If g_fso.FileExists(out) Then g_fso.DeleteFile out, True
  If RunWait(Quote(tool) & " filetimes " & Quote(path) & " " & Quote(out)) = 0 Then
    Times = MaskCreated(ReadTextFile(out))
  Else
    Times = ""
  End If
End Function

' Field k (0 created, 1 modified, 2 accessed, 3 attributes) of a Times text.
Function Field(t, k)
  Dim parts
  parts = Split(t, "|")
  Field = ""
  If UBound(parts) >= k Then Field = parts(k)
End Function

Function MaskCreated(t)
  MaskCreated = t
  If Not g_creationKept And InStr(t, "|") > 0 Then MaskCreated = "*" & Mid(t, InStr(t, "|"))
End Function

' The expected creation time as Times shows it.
Function Created(stampText)
  Created = stampText
  If Not g_creationKept Then Created = "*"
End Function

Function Stamp(d)
  Stamp = Year(d) & "-" & Right("0" & Month(d), 2) & "-" & Right("0" & Day(d), 2) & " " & _
          Right("0" & Hour(d), 2) & ":" & Right("0" & Minute(d), 2) & ":" & Right("0" & Second(d), 2)
End Function

Function IsReadOnly(path)
  IsReadOnly = (g_fso.GetFile(path).Attributes And 1) = 1
End Function

p = NewFile("target.txt")
dm = DateSerial(2020, 5, 17) + TimeSerial(10, 20, 30)
dc = DateSerial(2018, 2, 3) + TimeSerial(4, 5, 6)
da = DateSerial(2019, 11, 12) + TimeSerial(13, 14, 15)

' ---- each argument alone ----
before = Times(p)
Ok before <> "", "the helper reads the file's times"
Ok h.SetFileDateAtr(p) = True, "only File: true"
Eq Times(p), before, "only File: times (to the second) and attributes stay"

before = Times(p)
Ok h.SetFileDateAtr(p, , dm) = True, "only DateLastModified"
after = Times(p)
Eq Field(after, 1), Stamp(dm), "the last-write time is the new date"
Eq Field(after, 0), Field(before, 0), "the creation time stays"
Eq Field(after, 2), Field(before, 2), "the access time stays"

Ok h.SetFileDateAtr(p, CStr(dc)) = True, "only DateCreated, as a date string in the user's format"
after = Times(p)
Eq Field(after, 0), Created(Stamp(dc)), "the creation time is the new date"
Eq Field(after, 1), Stamp(dm), "the last-write time stays"

Ok h.SetFileDateAtr(p, , , CDbl(da)) = True, "only DateLastAccessed, as a number"
after = Times(p)
Eq Field(after, 2), Stamp(da), "the access time is the new date"
Eq Field(after, 0) & "|" & Field(after, 1), Created(Stamp(dc)) & "|" & Stamp(dm), "the other two stay"

Ok h.SetFileDateAtr(p, , , , 1) = True, "only Attributes: 1"
Ok IsReadOnly(p), "the file is read-only"
Eq Field(Times(p), 1), Stamp(dm), "and its dates stay"

' ---- a read-only file ----
Ok h.SetFileDateAtr(p, , DateSerial(2021, 1, 1) + TimeSerial(0, 0, 1)) = True, "a read-only file's date changes"
Eq Field(Times(p), 1), "2021-01-01 00:00:01", "to the new date"
Ok IsReadOnly(p), "and it is read-only again afterwards"
Ok h.SetFileDateAtr(p, , , , "0") = True, "Attributes ""0"" as text"
Ok Not IsReadOnly(p), "ends without the read-only bit"

' ---- all four as values, the arguments left as they were ----
r = h.SetFileDateAtr(p, dc, dm, da, 33)
Ok r = True, "all four as values"
after = Times(p)
Eq Field(after, 0) & "|" & Field(after, 1) & "|" & Field(after, 2), Created(Stamp(dc)) & "|" & Stamp(dm) & "|" & Stamp(da), _
   "all three dates set"
Ok IsReadOnly(p), "attributes 33 include read-only"
Ok VarType(dm) = vbDate And Stamp(dm) = "2020-05-17 10:20:30", "the arguments are not written to"
h.SetFileDateAtr p, , , , 32

' ---- failures ----
before = Times(p)
Ok h.SetFileDateAtr(TEST_DIR & "missing.txt", dc) = False, "a file that does not exist"
Ok h.SetFileDateAtr("") = False, "an empty path"
Ok h.SetFileDateAtr(Left(TEST_DIR, Len(TEST_DIR) - 1), dc) = False, "a folder"
Ok h.SetFileDateAtr(p, 0) = False, "DateCreated 0, the zero date, is refused"
Ok h.SetFileDateAtr(p, , DateSerial(1600, 12, 31)) = False, "nor can a date before 1601"
Ok h.SetFileDateAtr(p, dc, dm, "not a date") = False, _
   "an unconvertible date with all three given leaves the zero date: false"
Eq Times(p), before, "none of them changed the file"
Ok h.SetFileDateAtr(p, , "not a date") = True, "an unconvertible date is skipped when the times were read"
Eq Times(p), before, "and the file keeps its dates"
Ok h.SetFileDateAtr(p, , , , "many") = True, "unconvertible attributes are skipped"
Eq Field(Times(p), 3), Field(before, 3), "and the attributes are put back as they were"

h.SetFileDateAtr p, , , , 33
before = Times(p)
Ok h.SetFileDateAtr(p, 0) = False, "a failing call on a read-only file"
Ok IsReadOnly(p), "leaves it read-only"
Eq Times(p), before, "and unchanged"
h.SetFileDateAtr p, , , , 32

' ---- file objects of our own (type name "File") ----
rc = RunWait("regsvr32 /s " & Quote(Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "OmbriskTestFile.dll"))
Set obj = Nothing
On Error Resume Next
Set obj = CreateObject("OmbriskTest.File")
On Error GoTo 0
Ok Not obj Is Nothing, "the test file object is registered (regsvr32 exit code " & rc & ")"
If Not obj Is Nothing Then
  src = NewFile("source.txt")
  obj.Path = src
  obj.DateCreated = DateSerial(2001, 2, 3) + TimeSerial(4, 5, 6)
  obj.DateLastModified = DateSerial(2002, 3, 4) + TimeSerial(5, 6, 7)
  obj.DateLastAccessed = DateSerial(2003, 4, 5) + TimeSerial(6, 7, 8)
  obj.Attributes = 33
  Eq TypeName(obj), "File", "the test object's type name is File"

  ' One object as every value: its three dates and its attributes are copied to the file.
  Ok h.SetFileDateAtr(p, obj, obj, obj, obj) = True, "one file object as all four values"
  Eq Times(p), Created("2001-02-03 04:05:06") & "|2002-03-04 05:06:07|2003-04-05 06:07:08|33", _
     "its dates and attributes were copied"
  h.SetFileDateAtr p, , , , 32

  ' As File, its Path names the file to change.
  Ok h.SetFileDateAtr(obj, , dm) = True, "a file object as File"
  Eq Field(Times(src), 1), Stamp(dm), "changes the file at its Path"

  ' Mixed: an object for one date, values for the others.
  Ok h.SetFileDateAtr(p, dc, obj, CStr(da)) = True, "an object for one date, values for the others"
  Eq Field(Times(p), 1), "2002-03-04 05:06:07", "the object's DateLastModified was used"
  Eq Field(Times(p), 0) & "|" & Field(Times(p), 2), Created(Stamp(dc)) & "|" & Stamp(da), "and the values for the others"

  ' An object without the property asked for: that step is skipped.
  before = Times(p)
  obj.Missing = "DateCreated"
  Ok h.SetFileDateAtr(p, obj) = True, "a file object without DateCreated"
  Eq Times(p), before, "leaves the creation time as it was"
  obj.Missing = "DateLastAccessed"
  Ok h.SetFileDateAtr(p, obj, obj, obj) = False, _
     "without DateLastAccessed and all three given, the zero date remains: false"
  Eq Times(p), before, "and nothing changed"
  obj.Missing = ""

  ' The type name decides: the class's type information first, then IDispatch's.
  Set other = CreateObject("OmbriskTest.File")
  other.Path = p
  other.DateLastModified = DateSerial(2010, 10, 10)
  other.DispatchTypeName = "Folder"
  Ok h.SetFileDateAtr(other) = False, "an object of another type name as File: no path, false"
  before = Times(p)
  Ok h.SetFileDateAtr(p, , other) = True, "an object of another type name as a date cannot be converted: skipped"
  Eq Times(p), before, "and the file keeps its dates"
  other.DispatchTypeName = "IFile"
  other.ClassTypeName = "File"
  Ok h.SetFileDateAtr(other, , other) = True, "a class type name File counts before IDispatch's IFile"
  Eq Field(Times(p), 1), "2010-10-10 00:00:00", "and its values are read"
  other.DispatchTypeName = "File"
  other.ClassTypeName = "Folder"
  Ok h.SetFileDateAtr(other) = False, "a class type name Folder counts before IDispatch's File"
  other.ClassTypeName = ""
  other.DispatchTypeName = ""
  Ok h.SetFileDateAtr(other) = False, "an object without type information is no file object"
  Set other = Nothing
  Set obj = Nothing
End If
RunWait "regsvr32 /u /s " & Quote(Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "OmbriskTestFile.dll")

' ---- the scripting runtime's own file object ----
' Windows' and Wine's runtimes both name its class File through IProvideClassInfo, which counts
' first (Wine's TypeName shows IFile, the name of IDispatch's type information). Wine's object
' has no DateLastAccessed: that value is skipped and the file's own is kept.
Dim fsoSource, fsoTarget, fsoSrcPath
fsoSrcPath = NewFile("fso-source.txt")
h.SetFileDateAtr fsoSrcPath, , dc, da
Set fsoSource = g_fso.GetFile(fsoSrcPath)
Set fsoTarget = g_fso.GetFile(p)
Ok h.SetFileDateAtr(fsoTarget, , dm) = True, "the runtime's file object (TypeName " & TypeName(fsoTarget) & ") as File"
Eq Field(Times(p), 1), Stamp(dm), "changes the file at its Path"
Ok h.SetFileDateAtr(p, , fsoSource) = True, "the runtime's file object as DateLastModified"
Eq Field(Times(p), 1), Stamp(dc), "gives its DateLastModified"
Eq Stamp(fsoSource.DateLastModified), Stamp(dc), "as the runtime reads it too"
Ok h.SetFileDateAtr(p, , , , fsoSource) = True, "the runtime's file object as Attributes"
Eq CLng(Field(Times(p), 3)), CLng(fsoSource.Attributes), "gives its attributes"

' A file's own object as the attributes of that read-only file gives the attributes it had
' before the call: every value is read before the read-only bit is cleared for the change.
Ok h.SetFileDateAtr(p, , , , 1) = True, "the file is made read-only"
Set fsoTarget = g_fso.GetFile(p)
Ok h.SetFileDateAtr(fsoTarget, , dm, , fsoTarget) = True, "its own file object as File and Attributes"
Ok IsReadOnly(p), "keeps its read-only bit"
Eq Field(Times(p), 1), Stamp(dm), "and gets the new date"
Ok h.SetFileDateAtr(p, , , , 0) = True, "made writable again"

Finish
