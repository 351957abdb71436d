' timeout: 300
' A file manager that takes too long over a request, or stops pumping its messages, does not
' hold the script forever: WM_COPYDATA requests give up after 10 s (or at once when the host is
' hung) and count as unanswered; a sent command waits for as long as the host works on it.
' Every check reads the order of events from the host's log at the moment the call returned.
Option Explicit
Dim h, r, logText, t0, answers

Function Has(text, part)
    Has = InStr(text, part) > 0
End Function

answers = "answer.SP=C:\Windows\"
StartHost answers & vbCrLf & "copydata_sleep_ms.GW=12000"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0

' The host sleeps 12 s inside its WM_COPYDATA handler. The GW request gives up while it sleeps;
' the CD and EM requests that follow find it still asleep (queued behind the first, or refused
' because the host has stopped pumping messages) and give up too.
ClearHostLog
t0 = NowMs()
r = h.GetInfo("SP")
logText = HostLog()
WScript.Echo "INFO GetInfo gave up after " & Round(ElapsedMs(t0)) & " ms"
EqType r, "", "GetInfo gives the empty text when the host does not finish the request"
Ok Has(logText, "SLEEP begin code=GW"), "the host had entered its sleep in the GW request"
Ok Not Has(logText, "SLEEP end"), "and had not left it when GetInfo returned"
SetHostConfig answers
t0 = NowMs()
r = h.SetSrcPath("C:\")
logText = HostLog()
WScript.Echo "INFO SetSrcPath gave up after " & Round(ElapsedMs(t0)) & " ms"
EqType r, False, "SetSrcPath gives False when the host does not handle the request"
Ok Not Has(logText, "SLEEP end"), "SetSrcPath returned while the host still slept"
t0 = NowMs()
r = h.UserCmd("em_test")
logText = HostLog()
WScript.Echo "INFO UserCmd gave up after " & Round(ElapsedMs(t0)) & " ms"
EqType r, False, "UserCmd gives False when the host does not handle the request"
Ok Not Has(logText, "SLEEP end"), "UserCmd returned while the host still slept"

' Once awake the host answers again, and a request gets its own answer, not the late one.
Ok WaitLog("SLEEP end", 1, 30000), "the host left its sleep"
SetHostConfig "answer.SP=C:\Fresh\"
Eq h.GetInfo("SP"), "C:\Fresh\", "the next request gets its own answer, not the late one"
SetHostConfig answers

' A host that answers and then stays in its handler past the limit: the request counts as
' unanswered, and the answer that came is not kept for it or the next one.
SetHostConfig answers & vbCrLf & "answer_hold_ms.SP=12000"
ClearHostLog
r = h.GetInfo("SP")
logText = HostLog()
Ok Has(logText, "ANSWER SP code=RW") And Not Has(logText, "HOLD end"), "the host had answered and was still in its handler"
EqType r, "", "GetInfo gives the empty text when the answered request is not finished in time"
Ok WaitLog("HOLD end", 1, 30000), "the host left its handler"
SetHostConfig "answer.SP=C:\Next\"
Eq h.GetInfo("SP"), "C:\Next\", "the next request gets its own answer"
SetHostConfig answers

' A command the host works on for 11 s, its window responsive (as with a dialog open): the
' sent command is waited for past the 10 s of a request, and its result is the host's.
SetHostConfig answers & vbCrLf & "cmd_modal_ms.4001=11000" & vbCrLf & "cmd_result.4001=7" & vbCrLf & "cmd_result.4002=0"
ClearHostLog
r = h.SendCommand(4001, True)
logText = HostLog()
EqType r, True, "SendCommand with WaitIt returns the host's result after 11 s of work"
Eq HostLogLines("CMD ") & "|" & HostLogLines("MODAL "), "CMD sent 4001 lparam=0|MODAL begin cmd=4001 ms=11000" & _
    vbCrLf & "MODAL end cmd=4001", "it returned after the host had finished the command"
EqType h.SendCommand(4002, True), False, "a host result of 0 is still False"

' A host that stops pumping its messages for 9 s: after 6 s the system counts it as hung.
ClearHostLog
Eq RunWait(Quote(STANDIN_EXE) & " ctl hang 9000"), 0, "the hang request was posted"
Ok WaitLog("HANG begin", 1, 5000), "the host stopped pumping messages"
SleepMs 6000
t0 = NowMs()
r = h.GetInfo("SP")
logText = HostLog()
WScript.Echo "INFO GetInfo to a hung host returned after " & Round(ElapsedMs(t0)) & " ms"
EqType r, "", "GetInfo to a hung host gives the empty text"
Ok Not Has(logText, "HANG end"), "GetInfo returned while the host was hung"
t0 = NowMs()
r = h.SendCommand(4003, True)
logText = HostLog()
WScript.Echo "INFO SendCommand to a hung host returned after " & Round(ElapsedMs(t0)) & " ms"
EqType r, False, "SendCommand with WaitIt to a hung host gives False"
Ok Not Has(logText, "HANG end"), "SendCommand returned while the host was hung"
Ok Not Has(logText, "CMD "), "the command had not reached the host"
' A command reported as failed must not run later either.
Ok WaitLog("HANG end", 1, 20000), "the host pumps its messages again"
Eq h.GetInfo("SP"), "C:\Windows\", "and answers again"
Eq HostLogCount("CMD "), 0, "the refused command never reached the host"

Set h = Nothing
StopHost

' A host that ends while it handles a request or a sent command: the member gives its
' no-answer result (the process is gone, so nothing can answer), never success. (Windows needs
' SMTO_ERRORONEXIT for that: the client tests *_HostEnds_AsWindows.)
Dim exits, k
exits = Array("GetSrcPath", "copydata_exit.GW=1", "SetSrcPath", "copydata_exit.CD=1", _
              "UserCmd", "copydata_exit.EM=1", "SendCommand", "cmd_exit.4010=1")
For k = 0 To UBound(exits) Step 2
    StartHost answers & vbCrLf & exits(k + 1) & vbCrLf & "expect_copydata=CD,EM" & vbCrLf & "expect_cmd=4010"
    Set h = CreateObject("Ombrisk.Helper")
    h.Pause = 0
    Select Case exits(k)
        Case "GetSrcPath": EqType h.GetSrcPath(), "", "GetSrcPath from a host that ends in the request"
        Case "SetSrcPath": EqType h.SetSrcPath("C:\"), False, "SetSrcPath to a host that ends in the request"
        Case "UserCmd": EqType h.UserCmd("em_exit"), False, "UserCmd to a host that ends in the request"
        Case "SendCommand": EqType h.SendCommand(4010, True), False, "SendCommand with WaitIt to a host that ends in it"
    End Select
    Eq HostLogCount("EXIT during"), 1, "the host had ended in the middle of it"
    Set h = Nothing
    StopHost
Next

' A hidden host that hangs: SendKeystroke first asks it to show its window again (command
' 2016), and that request gives up at once instead of waiting for the host to pump again.
StartHost answers & vbCrLf & "hidden=1"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
ClearHostLog
Eq RunWait(Quote(STANDIN_EXE) & " ctl hang 9000"), 0, "the hang request was posted to the hidden host"
Ok WaitLog("HANG begin", 1, 5000), "the hidden host stopped pumping messages"
SleepMs 6000
r = h.SendKeystroke("a")
logText = HostLog()
EqType r, False, "SendKeystroke to a hidden, hung host gives False"
Ok Not Has(logText, "HANG end"), "SendKeystroke returned while the host was hung"
Ok WaitLog("HANG end", 1, 20000), "the hidden host pumps its messages again"
Set h = Nothing
StopHost
Finish
