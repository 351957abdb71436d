' Keys and the host's modal dialogs: keys that open a dialog go on into it (a copy dialog's
' target typed after F5, longer than one batch of key events), and a dialog already open is
' what the keys reach, as Alt+Tab would reach it, not the main window it disables.
Dim h, target

ExpectFromHost "expect_keys=1"
StartHost "key_dialog_on=116"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0

' ---- a modal dialog is open before the call ----
ClearHostLog
HostPost 9004
Ok WaitLog("KEYDIALOG open by=cmd", 1, LimitMs(5000)), "the host opened its modal dialog"
Eq h.SendKeystroke("abc~"), True, "keys while the dialog is open return true"
Eq HostLogLines("KEYDIALOG ok"), "KEYDIALOG ok text=abc", "they reached the dialog and Enter closed it"
Eq HostLogCount("KEYDOWN vk=65 "), 0, "the disabled main window got none of them"

' ---- F5 opens the dialog; the path and Enter follow into it ----
target = "C:\Target\"
Do While Len(target) < 300
  target = target & "Folder " & Len(target) & "\"
Loop
target = Left(target, 300)
ClearHostLog
Eq h.SendKeystroke("{F5}" & target & "~"), True, "F5, 300 characters and Enter return true"
Eq HostLogLines("KEYDIALOG "), "KEYDIALOG open by=key" & vbCrLf & "KEYDIALOG ok text=" & target, _
  "the dialog got every character and Enter closed it, before the call returned"
Eq h.SendKeystroke("z"), True, "after the dialog the main window"
Eq HostTyped(), "z", "gets the keys again"

Set h = Nothing
StopHost
Finish
