' The DLL unloaded and loaded again in one process (tests/client/unloadclient.cpp): the reply
' window's class is registered while the DLL is loaded and goes with it, so a second load
' registers it afresh and works.
Option Explicit
StopHost
RunClient "unloadclient.exe", "", "client"
Finish
