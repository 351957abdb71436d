' How long SendKeystroke takes: Pause \ 2 before and after the keys, and until the host has
' processed every key (the host here needs key_delay_ms for each key down), 10 s at most;
' no wait at all without a host; a Pause no wait can be computed from makes the result false,
' the keys go.
Dim h, t0, ms, n

ExpectFromHost "expect_keys=1"
StartHost ""
Set h = CreateObject("Ombrisk.Helper")

' An empty string: activation and both waits, nothing typed.
h.Pause = 400
ClearHostLog
t0 = NowMs()
Eq h.SendKeystroke(""), True, "an empty string returns true"
ms = ElapsedMs(t0)
Ok ms >= 380, "and takes two waits of Pause \ 2 (" & Round(ms) & " ms)"
Eq HostLogCount("KEYDOWN "), 0, "nothing is typed"

' The call returns only when the host has processed the keys.
h.Pause = 0
SetHostConfig "key_delay_ms=250"
ClearHostLog
t0 = NowMs()
Eq h.SendKeystroke("abcd"), True, "four slow keys return true"
ms = ElapsedMs(t0)
Eq HostKeyDowns(), "65 66 67 68", "all four key downs are logged when the call returns"
Eq HostTyped(), "abcd", "and their characters too"
Ok ms >= 950, "the call took the host's four key delays (" & Round(ms) & " ms)"

' Twice in a row: each call waits for its own keys, not for the earlier sentinel.
ClearHostLog
h.SendKeystroke "e"
t0 = NowMs()
h.SendKeystroke "fg"
ms = ElapsedMs(t0)
Eq HostKeyDowns(), "69 70 71", "the second call's keys are logged when it returns"
Ok ms >= 450, "the second call waited for its two keys (" & Round(ms) & " ms)"
SetHostConfig ""

'' A host that stops reading keys past the call's limit of 10 s: the call gives up with false
' and lets go of the Shift its first batch of keys pressed, before it returns.
Dim shiftUp : Set shiftUp = PutBackLater(Quote(STANDIN_EXE) & " ctl keyrelease 16")
SetHostConfig "key_stall_ms=12000"
ClearHostLog
Eq h.SendKeystroke("+{DOWN 300}"), False, "a host that stops reading keys: false"
Eq RunWait(Quote(STANDIN_EXE) & " ctl keystate 16"), 0, "Shift is up for every program when the call returns"
Ok WaitLog("KEYDOWN vk=232 shift=1 ", 1, LimitMs(15000)), "the host goes on with the keys of the first batch"
Ok HostLogCount("KEYDOWN vk=40 ") < 300, "the keys after the limit were not sent"
shiftUp.Run
SetHostConfig ""

' A Pause that gives no wait length: false, no waits, the keys still typed.
Sub PauseCase(value, label)
  h.Pause = value
  ClearHostLog
  t0 = NowMs()
  Eq h.SendKeystroke("xy"), False, label & ": false"
  Eq HostTyped(), "xy", label & ": the keys are still typed"
  Ok ElapsedMs(t0) < LimitMs(300), label & ": without waiting (" & Round(ElapsedMs(t0)) & " ms)"
End Sub
PauseCase Null, "Pause Null"
PauseCase 1E+20, "Pause beyond a Long"
PauseCase "1E+20", "Pause as a text beyond a Long"

' No host: false at once, whatever Pause says.
h.Pause = LimitMs(3000)
StopHost
t0 = NowMs()
Eq h.SendKeystroke("abc"), False, "no host gives false"
Ok ElapsedMs(t0) < LimitMs(500), "without waiting (" & Round(ElapsedMs(t0)) & " ms)"
Eq h.SendKeystroke(""), False, "an empty string without a host is false too"

Finish
