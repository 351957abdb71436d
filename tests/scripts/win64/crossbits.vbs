' A host of the other bitness: the x64 DLL in the 64-bit cscript drives the 32-bit stand-in host
' (a 32-bit file manager on 64-bit Windows), and the x86 DLL in the 32-bit cscript drives the
' 64-bit one. WM_COPYDATA requests and answers, commands, keys and selected names cross between
' a 64-bit and a 32-bit process either way.
Dim h, host32, rc, out, child

host32 = Left(DLL32_PATH, InStrRev(DLL32_PATH, "\")) & "standin.exe"
Const kConfig = "answer.SP=C:\Windows\|answer.A=L|selected.L=a.txt|selected.R=b.txt|path.L=C:\Windows\|path.R=D:\"

ExpectFromHost "expect_cmd=540,-2147483648,2017,2018" & vbCrLf & "expect_copydata=CD" & vbCrLf & "expect_keys=1"

' ---- the 64-bit script against the 32-bit host ----
WriteUnicodeFile HostConfigPath(), HostConfigText(Replace(kConfig, "|", vbCrLf))
rc = RunWait(Quote(host32) & " ctl start " & Quote(HostConfigPath()))
Eq rc, 0, "the 32-bit stand-in host started"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
h.Wait = True  ' the host's commands are sent and waited for: no Pause is needed
ClearHostLog
Eq h.GetInfo("SP"), "C:\Windows\", "GetInfo: the 32-bit host's answer reached the 64-bit reply window"
Eq LogField(HostLogLines("COPYDATA "), "cb"), "3", "the request arrived whole"
ClearHostLog
EqType h.SetSrcPath("C:\"), True, "SetSrcPath"
Eq LogField(HostLogLines("COPYDATA "), "cb"), "2048", "the CD payload arrived whole"
ClearHostLog
EqType h.SendCommand(540, True), True, "SendCommand, waiting"
Eq HostLogLines("CMD "), "CMD sent 540 lparam=0", "the 32-bit host got the command"
ClearHostLog
h.SendCommand CDbl("-2147483648")
Ok WaitLog("CMD sent -2147483648", 1, 3000), "a negative command number keeps its 32 bits"
ClearHostLog
EqType h.SendKeystroke("xy"), True, "SendKeystroke"
Eq HostTyped(), "xy", "the 32-bit host got the keys"
Eq JoinLines(h.GetSrcSelectedFiles(True)), "C:\Windows\a.txt", "selected names from the 32-bit host"
Set h = Nothing
StopHost

' ---- the 32-bit script against the 64-bit host ----
Ok StartHost(Replace(kConfig, "|", vbCrLf)), "the 64-bit stand-in host started"
out = TEST_DIR & "child.txt"
child = TEST_DIR & "child.vbs"
WriteTextFile child, "Set h = CreateObject(""Ombrisk.Helper"")" & vbCrLf & "h.Pause = 0" & vbCrLf & "h.Wait = True" & vbCrLf & _
    "s = CreateObject(""WScript.Shell"").Environment(""PROCESS"")(""PROCESSOR_ARCHITECTURE"")" & vbCrLf & _
    "s = s & ""|"" & h.GetInfo(""SP"") & ""|"" & h.SetSrcPath(""C:\"") & ""|"" & h.SendCommand(540, True)" & vbCrLf & _
    "a = h.GetTrgSelectedFiles()" & vbCrLf & "s = s & ""|"" & a(0)" & vbCrLf & _
    "Set f = CreateObject(""Scripting.FileSystemObject"").CreateTextFile(""" & out & """, True)" & vbCrLf & _
    "f.Write s" & vbCrLf & "f.Close" & vbCrLf
ClearHostLog
RunWait "C:\windows\syswow64\cscript.exe //nologo " & Quote(child)
Eq ReadTextFile(out), "x86|C:\Windows\|True|True|b.txt", "the 32-bit cscript: answer, path, command and names from the 64-bit host"
Eq HostLogCount("COPYDATA code=GW"), 1, "the 64-bit host got the GW request"
Eq HostLogCount("CMD sent 540 "), 1, "and the command"
StopHost
Finish
