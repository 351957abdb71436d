' timeout: 180
' Separator let drags the bar with the primary mouse button: down at the bar, down again at the
' end point, up there; the host is topmost for the drag only, the cursor goes back where it
' was, and a percentage tooltip left over is closed. The log's button events tell where the
' drag ended (pointer moves are not checked: the X server echoes warps late).
'
' The library maps screen pixels to mouse_event's 0..65535 range by rounding; Wine maps back by
' truncating, which loses a pixel for many x (for every x beyond half of a 1280-pixel screen).
' Each host is placed so that its drag's end point comes back exactly where that is possible;
' the expected points are where the library's own points land after that mapping. The cursor
' is put on the start point first: Wine echoes every warp of the X pointer back to the window
' under it, and an echo of the move to the start arriving late would carry the button-up along.
Dim h, r, cursor0, screenW, screenH, g_origin, g_startX, g_endX
Const kClientY = 40
Const kClientH = 560

screenW = RunWait(Quote(STANDIN_EXE) & " ctl metrics")
screenH = screenW Mod 65536
screenW = screenW \ 65536

' Starts a host whose bar is at sepX in a client area clientW wide, placed for a drag that
' ends at client x endX; binds a new object to it and puts the cursor on the drag's start.
Dim g_forceOrigin
g_forceOrigin = -1
Sub StartLayout(clientW, sepX, endX, extra)
  Dim sx, sy
  StopHost
  g_origin = PickOrigin(endX, screenW)
  If g_forceOrigin >= 0 Then g_origin = g_forceOrigin
  StartHost "client_width=" & clientW & vbCrLf & "sep_x=" & sepX & vbCrLf & "client_x=" & g_origin & vbCrLf & _
    "client_y=" & kClientY & vbCrLf & "client_height=" & kClientH & vbCrLf & extra
  Set h = CreateObject("Ombrisk.Helper")
  sx = MapBack(g_origin + sepX + 2, screenW)
  sy = MapBack(kClientY + kClientH \ 15, screenH)
  g_startX = sx - g_origin
  g_endX = MapBack(g_origin + endX, screenW) - g_origin
  RunWait Quote(STANDIN_EXE) & " ctl setcursor " & sx & " " & sy
  SleepMs 200
  ClearHostLog
End Sub

Function Expected()
  Expected = "down x=" & g_startX & " L | down x=" & g_endX & " L | up x=" & g_endX & " L"
End Function

' The SEPARATOR down/up lines without the down's y, joined by " | ".
Function Drag()
  Dim a, k, s, line
  a = HostLogArray("SEPARATOR ")
  s = ""
  For k = 0 To UBound(a)
    line = a(k)
    If Left(line, 15) = "SEPARATOR down " Then line = "down x=" & LogField(line, "x") & " " & LogField(line, "button")
    If Left(line, 13) = "SEPARATOR up " Then line = "up x=" & LogField(line, "x") & " " & LogField(line, "button")
    If Left(line, 16) = "SEPARATOR moved " Then line = ""
    If line <> "" Then
      If s <> "" Then s = s & " | "
      s = s & line
    End If
  Next
  Drag = s
End Function

' The client x of the logged button-up: where the product's drag really ended (-9999 when the
' log has no button-up).
Function UpX()
  Dim a
  UpX = -9999
  a = HostLogArray("SEPARATOR up ")
  If UBound(a) >= 0 Then UpX = CLng(LogField(a(0), "x"))
End Function

' Where screen x v ends up if the absolute coordinate is truncated instead of rounded on its way
' to the 0..65535 range (and truncated back, as Wine does).
Function MapBackTruncated(v, size)
  MapBackTruncated = Int(Int(v * (65535 / size)) * size / 65536)
End Function

Function Cursor()
  Cursor = RunWait(Quote(STANDIN_EXE) & " ctl cursor")
End Function

RunWait Quote(STANDIN_EXE) & " ctl swapbuttons 0"

' ---- clamped values: the drag ends at client x 999 and -1 ----
StartLayout 1000, 498, 999, ""
h.Separator = 150
Ok WaitLog("SEPARATOR up", 1, 5000), "let 150: the drag arrives"
Eq Drag(), Expected(), "let 150 drags from the bar to x 999 (" & g_endX & " here) with the left button"
Ok UpX() = 999 Or (UpX() = 998 And g_endX = 998), "which is 999 or, where Wine's mapping loses a pixel, 998 (" & UpX() & ")"
Eq HostLogLines("TOPMOST"), "TOPMOST 1" & vbCrLf & "TOPMOST 0", "the host was topmost for the drag only"
EqType h.Separator, CSng(g_endX / 10), "the bar moved there: get reads the new place"

StartLayout 1000, 498, -1, ""
h.Separator = -5
Ok WaitLog("SEPARATOR up", 1, 5000), "let -5: the drag arrives"
Eq Drag(), Expected(), "let -5 drags to x -1"
Eq UpX(), -1, "the button went up at x -1"

' ---- halves go to the even neighbour: 50% of 801 is 399.5, the drag ends at 400 ----
StartLayout 801, 298, 400, ""
h.Separator = 50
Ok WaitLog("SEPARATOR up", 1, 5000), "let 50 of 801: the drag arrives"
Eq Drag(), Expected(), "ends at x 400"
Eq UpX(), 400, "the button went up at x 400"
EqType h.Separator, CSng(49.9), "get reads 400 of 801: 49.9"

' ---- a numeric text, and the second TPanel as the bar ----
StartLayout 1000, 600, 249, "tpanels=5,3"
h.Separator = "25"
Ok WaitLog("SEPARATOR up", 1, 5000), "let ""25"": the drag arrives"
Eq Drag(), Expected(), "the 3-pixel bar behind a 5-pixel panel is dragged to 249"
Eq UpX(), 249, "the button went up at x 249"
Ok g_startX = 601 Or g_startX = 602, "from the 3-pixel bar at 600 (" & g_startX & ")"
EqType h.Separator, CSng(24.9), "and reads 24.9 afterwards"

' ---- an end point where rounding and truncating to the 0..65535 range land on different
' pixels (on a 1280-pixel screen only x below about 640 have such points): the button-up shows
' which of the two the library sent ----
Dim o, v, found
found = False
For o = 30 To 250
  v = o + 199
  If Not found And MapBack(v, screenW) <> MapBackTruncated(v, screenW) Then
    g_forceOrigin = o
    found = True
  End If
Next
' Let 20 of a client area 1000 wide ends at client x 199.
Ok found, "a client origin where rounding and truncating differ on this screen (" & screenW & " wide)"
If found Then
  StartLayout 1000, 498, 199, ""
  g_forceOrigin = -1
  h.Separator = 20
  Ok WaitLog("SEPARATOR up", 1, 5000), "let 20 at origin " & g_origin & ": the drag arrives"
  v = g_origin + 199
  Eq UpX(), MapBack(v, screenW) - g_origin, "the button went up where the rounded coordinate lands (" & _
    "truncated it would be " & (MapBackTruncated(v, screenW) - g_origin) & ")"
End If

' ---- a drag that ends where it began, and a second drag pressing where the first one ended,
' both within the double-click time, on a host whose client area starts at the top of the
' screen: neither press is taken as a double-click on the bar ----
StartLayout 1000, 498, 499, "client_y=0"
h.Separator = 50
Ok WaitLog("SEPARATOR up", 1, 5000), "let 50 onto the bar's own place: the drag arrives"
h.Separator = 30
Ok WaitLog("SEPARATOR up", 2, 5000), "let 30 straight after: the drag arrives"
Eq HostLogCount("SEPARATOR dblclk"), 0, "no double-click: " & Drag()

' ---- the cursor goes back (where the button-up lands is not checked here: the move from
' 1100,950 to the bar is echoed back at some time) ----
StartLayout 1000, 498, 299, ""
RunWait Quote(STANDIN_EXE) & " ctl setcursor 1100 950"
cursor0 = Cursor()
Eq cursor0, 1100 * 65536 + 950, "the cursor is at 1100,950 before"
h.Separator = 30
Ok WaitLog("SEPARATOR up", 1, 5000), "let 30: the drag arrives"
Ok InStr(Drag(), "down x=299 L") > 0, "the drag went to 299: " & Drag()
SleepMs 300
Eq Cursor(), cursor0, "the cursor is back at 1100,950"

' ---- percentage tooltips: closed when 5 to 7 characters end in " %" and the class is a TToolTip ----
SetHostConfig "tooltip_text=50.0 %|50 %|100.00 %|7.5 %|100.0 %|50.0%|x 50.0 %"
HostSend 9002
SetHostConfig "tooltip_text=12.5 %" & vbCrLf & "tooltip_class=OtherTip"
HostSend 9002
SetHostConfig "tooltip_text=33.3 %" & vbCrLf & "tooltip_class=MyTToolTipEx"
HostSend 9002
Eq HostLogCount("TOOLTIP open"), 9, "nine tooltips are open"
h.Separator = 60
Ok WaitLog("TOOLTIP closed", 4, 5000), "tooltips are closed"
SleepMs 500
Eq HostLogCount("TOOLTIP closed"), 4, "four were closed: " & Replace(HostLogLines("TOOLTIP closed"), vbCrLf, " | ")
Dim closedText
For Each closedText In Array("50.0 %", "7.5 %", "100.0 %", "33.3 %")
  Eq HostLogCount("TOOLTIP closed text=" & closedText), 1, closedText & " was closed"
Next

' ---- Null and text: refused before anything happens ----
Function RaisedBy(value)
  On Error Resume Next
  h.Separator = value
  RaisedBy = Err.Number
  Err.Clear
  On Error GoTo 0
End Function
StartLayout 1000, 498, 299, ""
RunWait Quote(STANDIN_EXE) & " ctl setcursor 1100 950"
Eq RaisedBy(Null), 94, "Null raises 94"
Eq RaisedBy("half"), 13, "text raises 13"
Eq RaisedBy(Array(1)), 13, "an array raises 13"
SleepMs 300
Eq HostLogCount("TOPMOST"), 0, "the host was never made topmost"
Eq HostLogCount("SEPARATOR"), 0, "no button went down on the bar"
Eq HostLogCount("CLICK"), 0, "nor anywhere else on the host"
Eq Cursor(), 1100 * 65536 + 950, "the cursor did not move"
EqType h.Separator, CSng(50), "the bar is where it was"

' ---- no bar: no drag, the cursor is left alone, the host lowered again ----
StartLayout 1000, 498, 299, "tpanels=600,400"
h.Separator = 30
SleepMs 300
Eq HostLogLines("TOPMOST"), "TOPMOST 1" & vbCrLf & "TOPMOST 0", "without a bar the host is still raised and lowered"
Eq HostLogCount("SEPARATOR"), 0, "but nothing is dragged"
Eq HostLogCount("CLICK"), 0, "nor clicked"

' ---- a host that is not the bound one: nothing at all ----
StopHost
StartHost "client_width=1000" & vbCrLf & "sep_x=498" & vbCrLf & "tooltip_text=50.0 %"
HostSend 9002
ClearHostLog
h.Separator = 30
SleepMs 300
Eq HostLogCount("TOPMOST"), 0, "a restarted host is not raised"
Eq HostLogCount("SEPARATOR"), 0, "nor dragged"
Eq HostLogCount("TOOLTIP closed"), 0, "and its tooltips are not swept"

' Releasing the object sweeps the percentage tooltips, bound host or not.
Set h = Nothing
Ok WaitLog("TOOLTIP closed text=50.0 %", 1, 5000), "the release closed the 50.0 % tooltip"

Finish
