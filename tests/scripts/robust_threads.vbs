' Two single-threaded apartments in one process (tests/client/threadclient.cpp): each thread
' makes its own GetInfo requests at the same time as the other and must get only its own
' answers, through a reply window of its own. The host's log then tells which window every
' request named as its reply window.
Option Explicit
Const REQUESTS = 400
Dim others, i, line, windows, copydata, request, from, wrongFrom, counts, switches, previous

StartHost "answer.ALPHA=alpha answer" & vbCrLf & "answer.BETA=beta answer"
ClearHostLog
others = RunClient("threadclient.exe", CStr(REQUESTS), "client")
Set windows = CreateObject("Scripting.Dictionary")
For i = 0 To UBound(others)
  line = others(i)
  If Left(line, 5) = "INFO " Then
    ' "INFO thread A request=ALPHA window=<hwnd> window2=<hwnd>": the windows that may ask for it.
    windows(LogField(line, "request") & " " & LogField(line, "window")) = True
    windows(LogField(line, "request") & " " & LogField(line, "window2")) = True
  End If
Next

' The request text is in the bytes of each COPYDATA line: ALPHA or BETA, then a NUL.
Set counts = CreateObject("Scripting.Dictionary")
copydata = HostLogArray("COPYDATA code=GW")
wrongFrom = 0
switches = 0
previous = ""
For i = 0 To UBound(copydata)
  line = copydata(i)
  request = ""
  If InStr(line, "bytes=41 4C 50 48 41 00") > 0 Then request = "ALPHA"
  If InStr(line, "bytes=42 45 54 41 00") > 0 Then request = "BETA"
  from = LogField(line, "from")
  If request = "" Or Not windows.Exists(request & " " & from) Then
    wrongFrom = wrongFrom + 1
    If wrongFrom = 1 Then WScript.Echo "# first request from an unexpected window: " & line
  End If
  counts(request) = counts(request) + 1
  If previous <> "" And request <> previous Then switches = switches + 1
  previous = request
Next
Eq counts("ALPHA"), REQUESTS + 1, "the host received every ALPHA request"
Eq counts("BETA"), REQUESTS + 1, "the host received every BETA request"
Ok switches >= REQUESTS \ 4, "the two threads' requests reached the host interleaved (" & switches & " changes)"
Eq wrongFrom, 0, "every request named its own thread's reply window (the host's from= field)"
Finish
