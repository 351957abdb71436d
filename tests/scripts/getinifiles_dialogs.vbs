' timeout: 150
' Which dialog GetIniFiles takes: only one of the host's thread that opened after command 690,
' within 1.5 s. A later one stays on screen, one the user already had open is left alone, and
' a host other than the one bound at creation is not asked at all.
Dim h, t0, ms, r, log

ExpectFromHost "expect_cmd=690"
Function DialogSteps()
  DialogSteps = Replace(HostLogLines("DIALOG "), vbCrLf, " | ")
End Function

Function OpenDialogs()
  OpenDialogs = RunWait(Quote(STANDIN_EXE) & " ctl countwindows #32770")
End Function

' ---- the dialog comes after the time-out ----
StartHost "dialog_text=INI-Files: C:\late.ini<CR>C:\late_ftp.ini" & vbCrLf & "dialog_delay_ms=2500"
Set h = CreateObject("Ombrisk.Helper")
t0 = NowMs()
r = h.GetIniFiles()
ms = ElapsedMs(t0)
EqType r, False, "a dialog after 1.5 s: false"
Ok ms >= 1450 And ms < LimitMs(2400), "after waiting about 1.5 s (" & Round(ms) & " ms)"
Ok h.MainINI <> "C:\late.ini", "MainINI unchanged"
Ok WaitLog("DIALOG open", 1, 5000), "the dialog opens later"
SleepMs 500
Eq DialogSteps(), "DIALOG open id=1 kind=ini statics=2", "and is neither hidden nor closed"
Eq OpenDialogs(), 1, "it is still there"
StopHost

' ---- a dialog the user already had open ----
StartHost "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini"
Set h = CreateObject("Ombrisk.Helper")
Eq HostSend(9001), 1, "the user opens a dialog of the host"
ClearHostLog
r = h.GetIniFiles()
EqType r, True, "the settings dialog is found next to it"
Eq h.MainINI, "C:\m.ini", "and read"
Eq DialogSteps(), "DIALOG open id=2 kind=ini statics=2 | DIALOG hidden id=2 | DIALOG closed id=2", _
  "only the new dialog was hidden and closed"
Eq OpenDialogs(), 1, "the user's dialog is still open"
SetHostConfig "dialog_text=INI-Files: C:\m3.ini<CR>C:\f3.ini" & vbCrLf & "dialog_delay_ms=3000"
ClearHostLog
r = h.GetIniFiles()
EqType r, False, "the user's dialog is not taken for the settings dialog that does not come"
Eq h.MainINI, "C:\m.ini", "MainINI unchanged"
Eq HostLogCount("DIALOG hidden"), 0, "the user's dialog was not hidden"
Eq HostLogCount("DIALOG closed"), 0, "nor closed"
Ok WaitLog("DIALOG open id=3", 1, 5000), "the late one opens afterwards"
StopHost

' ---- no host at creation: nothing is asked ----
Set h = CreateObject("Ombrisk.Helper")
StartHost "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini" & vbCrLf & "log_sound=1"
t0 = NowMs()
EqType h.GetIniFiles(), False, "an object created without a host: false"
Ok ElapsedMs(t0) < LimitMs(500), "at once (" & Round(ElapsedMs(t0)) & " ms)"
SleepMs 300
Eq HostLogCount("CMD "), 0, "the host got no command"
Eq OpenDialogs(), 0, "no dialog opened"

' ---- the host restarted after creation: nothing is asked ----
Set h = CreateObject("Ombrisk.Helper")
EqType h.GetIniFiles(), True, "the host bound at creation answers"
StopHost
StartHost "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini" & vbCrLf & "log_sound=1"
EqType h.GetIniFiles(), False, "after a restart the new host is not the bound one: false"
SleepMs 300
Eq HostLogCount("CMD "), 0, "the new host got no command"
Eq h.IsRunningTC, True, "though a host runs"

Finish
