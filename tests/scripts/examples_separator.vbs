' timeout: 180
' equalise-panels.vbs against the stand-in host: the bar is dragged to 50 % or to the percentage
' given, the script reports where it was and where it is, and refuses when there is no bar.
'
' As in separator_set.vbs the host is placed so that the drag's end comes back exactly through
' Wine's mouse mapping, and the cursor is put on the drag's start first (Wine echoes pointer
' warps back late, and an echo of the move to the start would carry the button-up along).
Dim h, out, screenW, screenH, origin
Const kClientY = 40
Const kClientH = 560

screenW = RunWait(Quote(STANDIN_EXE) & " ctl metrics")
screenH = screenW Mod 65536
screenW = screenW \ 65536

' A host 1000 pixels wide with its bar at sepX, placed for a drag that ends at client x endX.
Sub StartLayout(sepX, endX, extra)
  StopHost
  origin = PickOrigin(endX, screenW)
  StartHost "client_width=1000" & vbCrLf & "sep_x=" & sepX & vbCrLf & "client_x=" & origin & vbCrLf & _
    "client_y=" & kClientY & vbCrLf & "client_height=" & kClientH & vbCrLf & extra
  RunWait Quote(STANDIN_EXE) & " ctl setcursor " & MapBack(origin + sepX + 2, screenW) & " " & _
    MapBack(kClientY + kClientH \ 15, screenH)
  SleepMs 200
  ClearHostLog
End Sub

RunWait Quote(STANDIN_EXE) & " ctl swapbuttons 0"

' ---- no argument: to the middle ----
StartLayout 298, 499, ""
out = RunExample("equalise-panels.vbs", "")
' The drag ends one pixel left of 50 % of the client width, where the bar then reads 49.9 %.
Eq out, "Separator moved from 30 % to 49.9 %.", "equalise-panels reports the old and the new place"
Eq g_exampleExit, 0, "ends with 0"
Eq HostLogCount("SEPARATOR up"), 1, "the bar was dragged once"
Set h = CreateObject("Ombrisk.Helper")
EqType h.Separator, CSng(49.9), "and the host's bar is in the middle now"
Set h = Nothing

' ---- a percentage given, quietly ----
StartLayout 498, 249, ""
out = RunExample("equalise-panels.vbs", "25 /q")
Eq out, "", "/q prints nothing"
Eq g_exampleExit, 0, "ends with 0"
Set h = CreateObject("Ombrisk.Helper")
EqType h.Separator, CSng(24.9), "the bar is at 25 % (less the one pixel)"
Set h = Nothing

' ---- the JScript twin, to 25 % ----
StartLayout 498, 249, ""
out = RunExample("equalise-panels.js", "25")
Eq out, "Separator moved from 50 % to 24.9 %.", "equalise-panels.js reports the old and the new place"
Eq g_exampleExit, 0, "ends with 0"
Eq HostLogCount("SEPARATOR up"), 1, "the bar was dragged once"
Set h = CreateObject("Ombrisk.Helper")
EqType h.Separator, CSng(24.9), "the bar is at 25 % (less the one pixel)"
Set h = Nothing

' ---- no bar to be found, and no host: nothing is dragged ----
StartLayout 498, 499, "tpanels=600,400"
out = RunExample("equalise-panels.vbs", "")
Eq out, "The panel separator cannot be found; is the file manager running?", "a host without a bar"
Eq g_exampleExit, 1, "ends with 1"
Eq HostLogCount("TOPMOST"), 0, "the host was not even raised"
StopHost
Eq RunExample("equalise-panels.vbs", ""), "The panel separator cannot be found; is the file manager running?", _
  "no host"
Eq g_exampleExit, 1, "ends with 1"
Eq RunExample("equalise-panels.js", "/q"), "", "equalise-panels.js without a host, quietly"
Eq g_exampleExit, 1, "ends with 1"

Finish
