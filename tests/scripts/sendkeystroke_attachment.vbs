' Objects on one thread share the attachment of the script thread's input to the host thread:
' it lasts while any object bound to that host lives, so the release of one object leaves the
' others attached, and their keystroke waits keep working; the last one detaches.
' The stand-in tells whether the thread owning the library's reply window (the script thread)
' shares the host thread's input state (`ctl sharesinput`); the reply window exists again after
' any request that answers through it.
Dim h, h2, h3

Function SharesInput()
  SharesInput = RunWait(Quote(STANDIN_EXE) & " ctl sharesinput OmbriskReplyWindow")
End Function

ExpectFromHost "expect_gw=LP" & vbCrLf & "expect_keys=1"
StartHost "path.L=C:\Left\"

' ---- one object, then two: attached ----
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
Eq h.GetInfo("LP"), "C:\Left\", "the host answers"
Eq SharesInput(), 1, "one object: the script thread shares the host thread's input"
Set h2 = CreateObject("Ombrisk.Helper")
Eq SharesInput(), 1, "two objects: shared"

' ---- the first object goes: the survivor stays attached ----
Set h2 = Nothing
Eq h.GetInfo("LP"), "C:\Left\", "the survivor's request (a new reply window)"
Eq SharesInput(), 1, "after one of two objects is released the survivor's thread still shares it"
ClearHostLog
Eq h.SendKeystroke("k"), True, "the survivor's keystroke succeeds"
' The call returns only once the host has taken the keys, so they are in the log already.
Eq KeyDownsOf(HostLog()), "75", "the key reached the host before the call returned"

' ---- the other order: the object created second survives ----
Set h2 = CreateObject("Ombrisk.Helper")
h2.Pause = 0
Set h = Nothing
Eq h2.GetInfo("LP"), "C:\Left\", "the second object's request"
Eq SharesInput(), 1, "the object created second stays attached when the first goes"
ClearHostLog
Eq h2.SendKeystroke("m"), True, "its keystroke succeeds"
Eq KeyDownsOf(HostLog()), "77", "and the key arrived before it returned"
Set h2 = Nothing
StopHost

' ---- attachments are counted per host thread ----
' An object bound to a host that has ended does not stand for the attachment to its successor.
StartHost "path.L=C:\Left\"
Set h = CreateObject("Ombrisk.Helper")
StopHost
StartHost "path.L=C:\Left\"
Set h2 = CreateObject("Ombrisk.Helper")
Eq h2.GetInfo("LP"), "C:\Left\", "an object bound to the restarted host"
Eq SharesInput(), 1, "is attached to the new host thread while the old host's object lives"
Set h = Nothing
Eq h2.GetInfo("LP"), "C:\Left\", "a request after the old host's object went"
Eq SharesInput(), 1, "the attachment to the new host thread stays"
Set h2 = Nothing
StopHost

' ---- the last object bound to the host detaches ----
' An object created before the host runs holds no attachment; one created with the host does.
Set h3 = CreateObject("Ombrisk.Helper")
StartHost "path.L=C:\Left\"
Set h = CreateObject("Ombrisk.Helper")
Eq h3.GetInfo("LP"), "C:\Left\", "a request of the unbound object"
Eq SharesInput(), 1, "attached while the bound object lives"
Set h = Nothing
Eq h3.GetInfo("LP"), "C:\Left\", "a request after the bound object went"
Eq SharesInput(), 0, "its release detached the thread: no object of it is bound any more"
h3.Pause = 0
ClearHostLog
Eq h3.SendKeystroke("n"), True, "the unbound object attaches for the call"
Eq KeyDownsOf(HostLog()), "78", "and its key arrived before it returned"
Eq SharesInput(), 0, "and detaches again"
Set h3 = Nothing
StopHost

Finish
