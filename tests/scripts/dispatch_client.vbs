' A compiled client drives the object through IDispatch and the type library; its checks are
' reported here one by one.
StopHost
RunClient "dispclient.exe", "", "client"

' With a host: SendCommand's WaitIt passed by name is taken, not the Wait property.
If StartHost("expect_cmd=4711,4712") Then
  RunClient "dispclient.exe", "host", "client with a host"
  Ok WaitLog("CMD posted 4712", 1, 5000), "the posted command arrived"
  Eq HostLogLines("CMD "), "CMD sent 4711 lparam=0" & vbCrLf & "CMD posted 4712 lparam=0", _
    "WaitIt by name: 4711 sent although Wait was False, 4712 posted although Wait was True"
  StopHost
End If
Finish
