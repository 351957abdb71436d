' timeout: 180
' The selected-files members lend the clipboard to the host: every format on it before the call
' (text, copied files, images, metafiles, private and delayed-rendered formats) is back
' afterwards, in the same order with the same content, on every path once the host has copied.

' The names of a result, one per line; a result that is no array shows as its type name.
ExpectFromHost "expect_cmd=2017,2018" & vbCrLf & "expect_gw=A" & vbCrLf & "expect_keys=1"
Function NamesOf(v)
  If IsArray(v) Then NamesOf = JoinLines(v) Else NamesOf = "<" & TypeName(v) & ">"
End Function
Dim h, r, before, after, names

Function UtilTool()
  UtilTool = Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "utiltool.exe"
End Function

' The clipboard's formats, one line each: "<number> <name> <size and hash of the content>".
Function ClipDump()
  Dim out
  out = TEST_DIR & "clipdump.txt"
  If g_fso.FileExists(out) Then g_fso.DeleteFile out, True
  If RunWait(Quote(UtilTool()) & " clipdump " & Quote(out)) <> 0 Then Report False, "clipdump failed"
  ClipDump = ReadTextFile(out)
End Function

' Replaces the clipboard's content with the items of utiltool clipput (already quoted).
Sub ClipPut(items)
  If RunWait(Quote(UtilTool()) & " clipput " & items) <> 0 Then Report False, "clipput " & items & " failed"
End Sub

' The dump's line of the format called name ("" when it is not there).
Function DumpLine(dump, name)
  Dim lines, k
  DumpLine = ""
  lines = Split(Replace(dump, vbCr, ""), vbLf)
  For k = 0 To UBound(lines)
    If InStr(lines(k), " " & name & " ") > 0 Then DumpLine = lines(k)
  Next
End Function

Sub ExpectFormats(dump, list, what)
  Dim k, all
  all = Split(list, ",")
  For k = 0 To UBound(all)
    Ok DumpLine(dump, all(k)) <> "", what & ": " & all(k) & " is on the clipboard"
  Next
End Sub

names = "a.txt" & vbCrLf & "b.txt"
StartHost "selected.L=a.txt|b.txt" & vbCrLf & "selected.R=x.doc" & vbCrLf & "path.R=D:\Right\"
Set h = CreateObject("Ombrisk.Helper")

' ---- text, copied files, an image and a private format ----
ClipPut "text=from-before ""hdrop=C:\Data\one.txt|C:\Data\two words.txt"" dib=31x17 ""private=OmbriskTestPrivate:5000"""
before = ClipDump()
ExpectFormats before, "CF_UNICODETEXT,CF_HDROP,CF_DIB,'OmbriskTestPrivate'", "before the call"
r = h.GetSrcSelectedFiles()
Eq NamesOf(r), names, "the source panel's names"
after = ClipDump()
Eq after, before, "afterwards every format is back, in the same order with the same content"
h.Wait = True
r = h.GetTrgSelectedFiles(True)
Eq NamesOf(r), "D:\Right\x.doc", "the target panel's names with a sent command"
Eq ClipDump(), before, "and everything is back again"
h.Wait = False

' ---- an image alone: it comes back, and no text is left beside it ----
ClipPut "dib=64x48"
before = ClipDump()
ExpectFormats before, "CF_DIB", "image only"
r = h.GetSrcSelectedFiles()
Eq NamesOf(r), names, "names read while only an image was on the clipboard"
after = ClipDump()
Eq after, before, "the image is back and nothing else"
Eq DumpLine(after, "CF_UNICODETEXT"), "", "no text is left on the clipboard"

' ---- a device bitmap alone ----
ClipPut "bitmap=40x30"
before = ClipDump()
ExpectFormats before, "CF_BITMAP", "bitmap only"
r = h.GetSrcSelectedFiles()
Eq NamesOf(r), names, "names read while a bitmap was on the clipboard"
Eq ClipDump(), before, "the bitmap is back with the same pixels"

' ---- an enhanced metafile beside 8-bit text ----
ClipPut "emf=6 ansi=metafile-text"
before = ClipDump()
ExpectFormats before, "CF_ENHMETAFILE,CF_TEXT", "metafile"
r = h.GetSrcSelectedFiles()
Eq NamesOf(r), names, "names read while a metafile was on the clipboard"
Eq ClipDump(), before, "the metafile and the text are back"

' ---- the host copies an empty list: Empty, and the clipboard is put back all the same ----
ClipPut "text=kept ""private=OmbriskTestPrivate:64"""
before = ClipDump()
SetHostConfig "selected.L="
ClearHostLog
r = h.GetSrcSelectedFiles()
Ok IsEmpty(r), "an empty copy gives Empty (" & TypeName(r) & ")"
Eq HostLogLines("CLIP "), "CLIP L count=0 cmd=2017", "after the host copied an empty list"
Eq ClipDump(), before, "which did not cost the clipboard's content"
SetHostConfig "selected.L=a.txt|b.txt"

' ---- a delayed-rendered format is rendered for the copy and kept after its owner ends ----
Dim ready, go, served
ready = TEST_DIR & "serve.ready"
go = TEST_DIR & "serve.go"
g_shell.Run Quote(UtilTool()) & " clipserve " & Quote(ready) & " " & Quote(go) & _
  " text=served ""delayed=OmbriskTestDelayed:3000""", 0, False
Dim t0
t0 = NowMs()
Do While Not g_fso.FileExists(ready) And ElapsedMs(t0) < 10000
Loop
Ok g_fso.FileExists(ready), "the clipboard server started"
r = h.GetSrcSelectedFiles()
Eq NamesOf(r), names, "names read while a format waited to be rendered"
' The server writes its count a moment after it rendered.
t0 = NowMs()
Do While ReadTextFile(ready & ".rendered") = "rendered=0" And ElapsedMs(t0) < 3000
Loop
Eq ReadTextFile(ready & ".rendered"), "rendered=1", "the owner was asked to render it once"
g_fso.CreateTextFile(go, True).Close
t0 = NowMs()
Do While g_fso.FileExists(ready) And ElapsedMs(t0) < 10000
Loop
Ok Not g_fso.FileExists(ready), "the clipboard server ended"
served = ClipDump()
Eq h.GetTextFromClip(), "served", "its text is back"
' The same bytes as when put on the clipboard directly.
ClipPut """private=OmbriskTestDelayed:3000"""
Ok DumpLine(served, "'OmbriskTestDelayed'") <> "", "the rendered format is on the clipboard after its owner ended"
Eq DumpLine(served, "'OmbriskTestDelayed'"), DumpLine(ClipDump(), "'OmbriskTestDelayed'"), "with the content it was rendered with"

' ---- an empty clipboard keeps the names ----
h.ClearClip
r = h.GetSrcSelectedFiles()
Eq NamesOf(r), names, "names from an empty clipboard"
Eq h.GetTextFromClip(), names, "stay on the clipboard"

Finish
