' A host that misbehaves: odd answers, answers at the wrong time, a window that goes away in
' the middle of a request, two host windows, and a host that will not keep the foreground.
Dim h, s, n, cfg

ExpectFromHost "expect_cmd=3001,3002,3003"
cfg = "answer.SP=C:\Windows\" & vbCrLf & _
    "answer.E0=never seen" & vbCrLf & "answer_shape.E0=empty" & vbCrLf & _
    "answer.EN=never seen" & vbCrLf & "answer_shape.EN=null" & vbCrLf & _
    "answer.OD=abc" & vbCrLf & "answer_shape.OD=odd" & vbCrLf & _
    "answer.NT=no terminator" & vbCrLf & "answer_shape.NT=noterm" & vbCrLf & _
    "answer.BIG=start" & vbCrLf & "answer_shape.BIG=big" & vbCrLf & _
    "answer.WC=wrong code" & vbCrLf & "answer_code.WC=XY" & vbCrLf & _
    "answer.TW=first" & vbCrLf & "answer2.TW=second" & vbCrLf & "answer_shape.TW=twice" & vbCrLf & _
    "answer.LT=late answer" & vbCrLf & "answer_shape.LT=later" & vbCrLf & _
    "answer_shape.DY=destroy"
StartHost cfg
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0

' Answers of odd shapes are taken up to their cbData and their first U+0000.
Eq h.GetInfo("SP"), "C:\Windows\", "a well-formed answer"
Eq h.GetInfo("E0"), "", "an answer with cbData 0 is the empty text"
Eq h.GetInfo("EN"), "", "an answer with cbData 0 and no data is the empty text"
Eq h.GetInfo("OD"), "abc", "an odd trailing byte is ignored"
Eq h.GetInfo("NT"), "no terminator", "an answer without a terminator is taken whole"
s = h.GetInfo("BIG")
Eq Len(s), 524288, "1 MiB of answer text is taken whole"
Eq Left(s, 6), "startx", "from its first character"
Eq h.GetInfo("WC"), "", "an answer in a code other than RW is not taken"
Eq h.GetInfo("TW"), "second", "of two answers to one request the last one counts"

' An answer that comes after its request returned belongs to no request: the request gets
' the empty text. It is delivered the next time the script's thread waits for the host, and
' the next request's own answer, which arrives after it, is the one that request returns.
Eq h.GetInfo("LT"), "", "a late answer is not there when its request returns"
SleepMs 300
Eq h.GetInfo("SP"), "C:\Windows\", "the next request still gets its own answer"
Ok WaitLog("ANSWER LT", 1, 3000), "the late answer was delivered"

' The host window destroyed while it handles a request.
Eq h.GetInfo("DY"), "", "a request whose host window is destroyed meanwhile gives the empty text"
Ok WaitLog("DESTROY during DY", 1, 3000), "the host destroyed its window during the request"
SleepMs 300
Eq h.IsRunningTC, False, "the host is gone"
Eq h.SetSrcPath("C:\"), False, "requests after that find no host"
Eq h.SendCommand(2050), False, "commands after that find no host"
Set h = Nothing
StopHost

' Two windows of the host's class: every fresh look-up takes the one the system reports first,
' consistently.
StartHost ""
Ok StartNamedHost("second", ""), "a second host window"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0
h.SendCommand 3001, True
h.SendCommand 3002, True
h.SendCommand 3003
' The posted command arrives some time after the call returned: wait for all three lines.
Dim inFirst, inSecond, t0
t0 = NowMs()
Do
  inFirst = LogCountIn(HostLog())
  inSecond = LogCountIn(NamedHostLog("second"))
  If inFirst + inSecond >= 3 Or ElapsedMs(t0) > LimitMs(5000) Then Exit Do
  SleepMs 50
Loop
Dim oneWindow
oneWindow = (inFirst = 3 And inSecond = 0) Or (inFirst = 0 And inSecond = 3)
Ok oneWindow, "all commands went to one of the two windows (" & inFirst & " and " & inSecond & ")"
Set h = Nothing
StopHost

' A host whose window hands the foreground on to another window whenever it gets it: the keys
' are typed nowhere, and the result is false.
StartHost "refuse_foreground=1"
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 200
Ok WaitLog("FOREGROUND to decoy", 1, 3000), "the host gives the foreground away"
ClearHostLog
Eq h.SendKeystroke("abc"), False, "SendKeystroke returns false when the host gives the foreground away"
SleepMs 300
Eq HostLogCount("KEYDOWN "), 0, "no key reached the host"
Eq HostLogCount("DECOY KEYDOWN "), 0, "and no key reached the window that took the foreground"
Set h = Nothing
StopHost

Finish

Function LogCountIn(text)
    Dim a, i, c
    a = LinesWithPrefix(text, "CMD ")
    c = 0
    For i = 0 To UBound(a)
        If InStr(a(i), " 300") > 0 Then c = c + 1
    Next
    LogCountIn = c
End Function
