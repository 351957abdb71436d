' Separator let with swapped mouse buttons: the drag uses the right-button events throughout.
' Wine keeps the swap setting per process once read, so it is stored (ctl swapbuttons) before
' this script's process or the host first asks for it, and put back at the end. Wine hands the
' events to the host as right-button messages; a host dragging with the primary button (the
' right one now) moves the bar.
Dim h, rc, lines, buttonsBack

Set buttonsBack = PutBackLater(Quote(STANDIN_EXE) & " ctl swapbuttons 0")
rc = RunWait(Quote(STANDIN_EXE) & " ctl swapbuttons 1")
Eq rc, 1, "the buttons are swapped for processes that read the setting from now on"

StartHost "client_width=1000" & vbCrLf & "sep_x=498"
Set h = CreateObject("Ombrisk.Helper")
RunWait Quote(STANDIN_EXE) & " ctl setcursor 540 80"
SleepMs 200
ClearHostLog
h.Separator = 30
Ok WaitLog("SEPARATOR up", 1, 5000), "the drag arrives"
lines = HostLogArray("SEPARATOR ")
Ok UBound(lines) >= 2, "down, down, up: " & Replace(HostLogLines("SEPARATOR "), vbCrLf, " | ")
If UBound(lines) >= 2 Then
  Eq LogField(lines(0), "button") & LogField(lines(1), "button") & LogField(lines(2), "button"), "RRR", _
    "every button event is the right button's"
  Eq LogField(lines(2), "x"), "299", "the drag ends at 299"
End If
Ok WaitLog("SEPARATOR moved", 1, 3000), "the bar moved"
EqType h.Separator, CSng(29.9), "get reads the new place"
Eq HostLogCount("CLICK"), 0, "no other click"

Eq buttonsBack.Run, 0, "the buttons are back for later processes"
Finish
