' SendKeystroke where Windows refuses the foreground, and with a restarted host whose thread has
' the id of its predecessor's, shown by tests/client/keysclient.cpp, which redirects the library's
' SetForegroundWindow, GetWindowThreadProcessId and AttachThreadInput in its own process.
Dim second

ExpectFromHost "expect_keys=1"
StartHost ""
StartNamedHost "other", "window_class=TOther" & vbCrLf & "caption=Other window"
second = TEST_DIR & "second.cfg"
WriteUnicodeFile second, "log=" & TEST_DIR & "second.log" & vbCrLf & "strict=1" & vbCrLf & "expect_keys=1" & vbCrLf
RunClient "keysclient.exe", Quote(STANDIN_EXE) & " " & Quote(second), "client"
Eq KeyDownsOf(NamedHostLog("other")), "", "the window in front got nothing when the foreground was refused"
Eq KeyDownsOf(HostLog()), "", "nor did the host"
Eq KeyDownsOf(NamedHostLog("second")), "88 89 90", "the restarted host got its keys"
StopHost
Finish
