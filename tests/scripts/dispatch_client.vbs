' A compiled client drives the object through IDispatch and the type library; its checks are
' reported here one by one.
StopHost
RunClient "dispclient.exe", "", "client"
Finish
