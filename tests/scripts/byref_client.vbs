' Arguments passed by reference, as VBA and VB6 pass a variable (tests/client/byrefclient.cpp):
' a number held in a String variable is a command number, not a command name.
Option Explicit
Dim inc, ini

inc = TEST_DIR & "byref.inc"
WriteTextFile inc, "[Section]" & vbCrLf & "OpenFoo=301;Some comment" & vbCrLf
ini = TEST_DIR & "byref.ini"
WriteTextFile ini, "[5.0]" & vbCrLf & "wrong=1" & vbCrLf & "[5]" & vbCrLf & "alpha=1" & vbCrLf & "beta=2" & vbCrLf

ExpectFromHost "expect_cmd=2050,2052,2053,2054,2055,301"
StartHost ""
ClearHostLog
RunClient "byrefclient.exe", Quote(inc) & " " & Quote(ini), "client"
Ok WaitLog("CMD ", 6, 5000), "six commands reached the host"
' A sent command may overtake the posted one still waiting in the host's queue (Pause is 0):
' the sent ones are compared in their order, the posted one on its own.
Eq HostLogLines("CMD sent "), JoinLines(Array("CMD sent 2050 lparam=0", "CMD sent 2052 lparam=0", _
    "CMD sent 2053 lparam=0", "CMD sent 301 lparam=0", "CMD sent 2055 lparam=0")), _
    "numbers in String variables are sent as numbers, halves to even; names still resolve"
Eq HostLogLines("CMD posted "), "CMD posted 2054 lparam=0", "WaitIt False by reference posts the number"
StopHost
Finish
