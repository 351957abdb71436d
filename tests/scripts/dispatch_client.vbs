' A compiled client drives the object through IDispatch and the type library; its checks are
' reported here one by one.
StopHost
RunClient "dispclient.exe", "", "client"

Dim cmds
' With a host: SendCommand's WaitIt passed by name is taken, not the Wait property; left out,
' Wait decides. A command sent after a posted one may be handled first.
If StartHost("expect_cmd=4711,4712,4713,4714,4715") Then
  RunClient "dispclient.exe", "host", "client with a host"
  Ok WaitLog("CMD ", 5, 5000), "the posted commands arrived"
  cmds = HostLogLines("CMD ") & vbCrLf
  Ok InStr(cmds, "CMD sent 4711 ") > 0 And InStr(cmds, "CMD posted 4712 ") > 0, _
    "WaitIt by name: 4711 sent although Wait was False, 4712 posted although Wait was True"
  Ok InStr(cmds, "CMD sent 4713 ") > 0 And InStr(cmds, "CMD posted 4714 ") > 0 And _
    InStr(cmds, "CMD sent 4715 ") > 0 And HostLogCount("CMD ") = 5, "without WaitIt: 4713, 4715 sent, 4714 posted"
  StopHost
End If
Finish
