' Separator get: the bar's client x + 2 as a percentage of the host's client width, a Single
' with one decimal; the Integer -1 when it cannot be told. The host's "TPanel" children are
' laid out again (command 9003) for each case.
Dim h, r

Sub Layout(lines)
  SetHostConfig lines
  HostSend 9003
End Sub

Sub Expect(lines, expected, label)
  Layout lines
  r = h.Separator
  EqType r, expected, label & " (" & HostLogLines("LAYOUT") & ")"
  ClearHostLog
End Sub

StartHost "client_width=1000" & vbCrLf & "sep_x=498"
Set h = CreateObject("Ombrisk.Helper")
ClearHostLog

Expect "client_width=1000" & vbCrLf & "sep_x=498", CSng(50), "client width 1000, bar at 498: 50"
Eq TypeName(r), "Single", "a Single"
Expect "client_width=1000" & vbCrLf & "sep_x=298", CSng(30), "bar at 298: 30"
Expect "client_width=801" & vbCrLf & "sep_x=398", CSng(49.9), "400 of 801: 49.9"
Expect "client_width=1000" & vbCrLf & "sep_x=-2" & vbCrLf & "tpanels=3,997", CSng(0), "bar at -2: 0"
Expect "client_width=1000" & vbCrLf & "sep_x=998", CSng(100), "bar at 998: 100"
Expect "client_width=600" & vbCrLf & "sep_x=1" & vbCrLf & "tpanels=4,595", CSng(0.5), "a bar 4 pixels wide: 3 of 600 is 0.5"
Expect "client_width=600" & vbCrLf & "sep_x=1" & vbCrLf & "sep_width=4", CSng(0.3), _
  "a left panel narrowed to 1 pixel comes first and is taken for the bar: 2 of 600"

' Which TPanel child is the bar: the first at most 4 pixels wide of the first two.
Expect "client_width=1000" & vbCrLf & "sep_x=600" & vbCrLf & "tpanels=5,3", CSng(60.2), _
  "first TPanel 5 wide, second 3 wide: the second is the bar"
Expect "client_width=1000" & vbCrLf & "sep_x=600" & vbCrLf & "tpanels=4,500", CSng(60.2), _
  "first TPanel 4 wide: it is the bar"
Expect "client_width=1000" & vbCrLf & "sep_x=600" & vbCrLf & "tpanels=600,400", -1, "two wide TPanels: -1"
Eq TypeName(r), "Integer", "an Integer"
Expect "client_width=1000" & vbCrLf & "sep_x=600" & vbCrLf & "tpanels=600,300,3", -1, _
  "a bar that is only the third TPanel is not looked at"
Expect "client_width=1000" & vbCrLf & "tpanels=700", CSng(0.2), "a single wide TPanel is taken as it is"
Expect "client_width=1000" & vbCrLf & "tpanels=", -1, "no TPanel child: -1"

' A client area of width 0.
Expect "client_width=0" & vbCrLf & "sep_x=0", -1, "client width 0: -1"

' The value is kept: reading twice gives the same.
Expect "client_width=1000" & vbCrLf & "sep_x=748", CSng(75), "bar at 748: 75"
EqType h.Separator, CSng(75), "read again"

' No host at creation, or a host restarted since: -1.
StopHost
EqType h.Separator, -1, "the host gone: -1"
StartHost "client_width=1000" & vbCrLf & "sep_x=498"
EqType h.Separator, -1, "a restarted host is not the bound one: -1"
Dim h2
Set h2 = CreateObject("Ombrisk.Helper")
EqType h2.Separator, CSng(50), "a new object reads it"
StopHost
Set h2 = CreateObject("Ombrisk.Helper")
EqType h2.Separator, -1, "an object created without a host: -1"

Finish
