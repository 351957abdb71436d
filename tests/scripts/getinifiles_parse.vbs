' GetIniFiles reads the two paths from the dialog that the host's command 690 opens: hidden at
' once, read, closed. What the dialog's second Static control says decides the result; a text
' the method cannot use gives false and leaves MainINI and FTPINI as they were.
Dim h, r, main0, ftp0

ExpectFromHost "expect_cmd=690"
Function DialogSteps()
  DialogSteps = Replace(HostLogLines("DIALOG "), vbCrLf, " | ")
End Function

' Configures the dialog text (<CR> is a carriage return) and runs GetIniFiles.
Function Query(text, extra)
  SetHostConfig "dialog_text=" & text & vbCrLf & extra
  ClearHostLog
  Query = h.GetIniFiles()
End Function

StartHost "dialog_text=INI-Files: C:\Tools\wincmd.ini<CR>C:\Tools\wcx_ftp.ini"
Set h = CreateObject("Ombrisk.Helper")
main0 = h.MainINI
ftp0 = h.FTPINI

' ---- the usual text ----
ClearHostLog
r = h.GetIniFiles()
EqType r, True, "the host's settings files were read"
Eq h.MainINI, "C:\Tools\wincmd.ini", "MainINI"
Eq h.FTPINI, "C:\Tools\wcx_ftp.ini", "FTPINI"
Eq HostLogLines("CMD "), "CMD posted 690 lparam=0", "command 690 was posted"
Eq DialogSteps(), "DIALOG open id=1 kind=ini statics=2 | DIALOG hidden id=1 | DIALOG closed id=1", _
  "the dialog was hidden, then closed"

' ---- variants the method reads ----
Eq Query("ini-files: C:\a\main.ini<CR>C:\a\ftp.ini", ""), True, "the label in lower case"
Eq h.MainINI & "|" & h.FTPINI, "C:\a\main.ini|C:\a\ftp.ini", "is found all the same"
Eq Query("This program uses these INI-Files:<CR>D:\m.ini<CR>D:\f.ini", ""), True, "text before the label, CR after it"
Eq h.MainINI & "|" & h.FTPINI, "D:\m.ini|D:\f.ini", "the one character after the label is skipped, whatever it is"
Eq Query("INI-Files: C:\m.ini<CR>C:\f.ini<CR>second line<LF>third", ""), True, "more lines"
Eq h.FTPINI, "C:\f.ini" & vbCr & "second line" & vbLf & "third", "everything after the first CR goes to FTPINI"
Eq h.MainINI, "C:\m.ini", "MainINI ends at the first CR"
Eq Query("INI-Files: C:\" & Chr(220) & "ber\wincmd.ini<CR>C:\" & Chr(220) & "ber\wcx_ftp.ini", ""), True, "a path outside ASCII"
Eq h.MainINI, "C:\" & Chr(220) & "ber\wincmd.ini", "comes back through the ANSI text"
Eq Query("INI-Files: C:\x.ini<CR>", ""), True, "nothing after the CR"
Eq h.MainINI & "|" & h.FTPINI, "C:\x.ini|", "gives an empty FTPINI"
Eq Query("INI-Files: C:\m.ini<CR>C:\f.ini", ""), True, "back to known values"

' ---- a dialog the host takes a while to build: it exists, hidden and empty, before it is shown ----
Eq Query("INI-Files: C:\slow\m.ini<CR>C:\slow\f.ini", "dialog_build_ms=300"), True, "a dialog built in 300 ms is read"
Eq h.MainINI & "|" & h.FTPINI, "C:\slow\m.ini|C:\slow\f.ini", "once its texts are there"
Ok InStr(DialogSteps(), "DIALOG hidden id=") > 0 And InStr(DialogSteps(), "DIALOG closed id=") > 0, _
  "and hidden as soon as it was shown, then closed (" & DialogSteps() & ")"
Eq Query("INI-Files: C:\m.ini<CR>C:\f.ini", ""), True, "back to known values"

' ---- texts and dialogs the method cannot use ----
Dim bad, i
bad = Array("Settings: C:\m2.ini<CR>C:\f2.ini", "no label at all", _
  "INI-Files:", "nothing after the label", _
  "INI-Files: ", "only the separator after the label", _
  "INI-Files: C:\only.ini", "no carriage return", _
  "INI-Files C:\m2.ini<CR>C:\f2.ini", "a label without its colon")
For i = 0 To UBound(bad) Step 2
  EqType Query(bad(i), ""), False, bad(i + 1) & ": false"
  Eq h.MainINI & "|" & h.FTPINI, "C:\m.ini|C:\f.ini", bad(i + 1) & ": the settings are unchanged"
  Ok InStr(DialogSteps(), "DIALOG hidden id=") > 0 And InStr(DialogSteps(), "DIALOG closed id=") > 0, _
    bad(i + 1) & ": the dialog was hidden and closed all the same (" & DialogSteps() & ")"
Next
EqType Query("INI-Files: C:\m2.ini<CR>C:\f2.ini", "dialog_statics=1"), False, "a dialog with one Static control"
Eq h.MainINI, "C:\m.ini", "leaves MainINI"
Ok InStr(DialogSteps(), "closed") > 0, "and is closed: " & DialogSteps()
EqType Query("INI-Files: C:\m2.ini<CR>C:\f2.ini", "dialog_statics=0"), False, "a dialog without Static controls"
Ok InStr(DialogSteps(), "closed") > 0, "is closed too: " & DialogSteps()
Eq RunWait(Quote(STANDIN_EXE) & " ctl countwindows #32770"), 0, "no dialog is left open"

' The object keeps what it read: a new object discovers the defaults again.
Dim h2
Set h2 = CreateObject("Ombrisk.Helper")
Eq h2.MainINI & "|" & h2.FTPINI, main0 & "|" & ftp0, "another object starts from the discovered files"

Finish
