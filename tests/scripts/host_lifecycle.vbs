' Creation binds the host; release unloads the shared reply window; LockTC; About.
Option Explicit
Dim h, h2, sh, n, t0, hwnd

ExpectFromHost "expect_cmd=690,2050"
Set sh = CreateObject("WScript.Shell")

Function Ctl(args)
    Ctl = sh.Run("""" & STANDIN_EXE & """ ctl " & args, 0, True)
End Function

' Created with no host: creation succeeds; a host started later is found by fresh look-ups.
StopHost
Set h = CreateObject("Ombrisk.Helper")
Eq h.IsRunningTC, False, "no host yet"
StartHost ""
Eq h.IsRunningTC, True, "a host started after creation is found"
Eq Ctl("getprop"), -1, "an object created before the host leaves no mark"
Set h = Nothing

' Created with the host running: the host window carries the mark, its own handle.
hwnd = HostHwnd()
Set h = CreateObject("Ombrisk.Helper")
Eq Ctl("getprop"), hwnd, "the host window is marked with its own handle"
Eq Ctl("countwindows OmbriskReplyWindow"), 1, "one reply window for the thread"

' A second object on the same thread shares the reply window.
Set h2 = CreateObject("Ombrisk.Helper")
Eq Ctl("countwindows OmbriskReplyWindow"), 1, "two objects share one reply window"

' Releasing either object unloads the shared window; the other object still works.
t0 = NowMs()
Set h2 = Nothing
Ok ElapsedMs(t0) >= 90, "release waits 100 ms"
Eq Ctl("countwindows OmbriskReplyWindow"), 0, "release of one object destroys the shared reply window"
h.Pause = 0
ClearHostLog
Eq h.SendCommand(2050, True), True, "the surviving object still sends commands"
Ok WaitLog("CMD sent 2050", 1, 3000), "and the host receives them"

' The mark stays after release.
Set h = Nothing
Eq Ctl("getprop"), hwnd, "the mark stays on the host window after release"

' LockTC: lock, a second lock fails, unlock redraws and succeeds.
Set h = CreateObject("Ombrisk.Helper")
Eq h.LockTC(), True, "LockTC locks by default"
Eq h.LockTC(True), False, "a second lock fails while a window is locked"
Eq h.LockTC(False), True, "LockTC False unlocks"
Eq h.LockTC(True), True, "locking works again after the unlock"
' Releasing the object releases a lock left in place.
Set h = Nothing
Set h = CreateObject("Ombrisk.Helper")
Eq h.LockTC(True), True, "release freed the lock"
Eq h.LockTC(False), True, "unlock"

' The binding made at creation: GetIniFiles acts only on the bound, still marked host window.
' Before the restart it asks the host (command 690); after it, it returns at once.
Dim h3
Set h3 = CreateObject("Ombrisk.Helper")
ClearHostLog
Eq h3.GetIniFiles(), False, "no settings dialog from this host"
Ok WaitLog("CMD posted 690", 1, 2000), "the bound host was asked for its settings files"

' After the host restarts, fresh look-ups find the new window.
StopHost
Eq h.IsRunningTC, False, "host gone"
Eq h.LockTC(False), False, "LockTC False without a host"
StartHost ""
Eq h.IsRunningTC, True, "restarted host found"
Ok HostHwnd() <> hwnd, "the restarted host has a new window"
ClearHostLog
t0 = NowMs()
Eq h3.GetIniFiles(), False, "the restarted host is no longer the bound one"
Ok ElapsedMs(t0) < LimitMs(500), "and nothing is waited for"
Eq HostLogCount("CMD "), 0, "nothing was sent to the new host"
Set h3 = Nothing

' About shows a system-modal box and returns only when it is closed.
sh.Run """" & STANDIN_EXE & """ ctl closebox ""About Ombrisk"" 700", 0, False
t0 = NowMs()
h.About
Ok ElapsedMs(t0) >= 600, "About returns after the box is closed (" & Round(ElapsedMs(t0)) & " ms)"

Finish
