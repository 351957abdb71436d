' Modifiers, groups, key names and repeats as the host receives them. Each token of
' HostKeyDowns is a virtual-key code with "+", "^", "%" for Shift, Ctrl, Alt held.
Dim h, cases, i

ExpectFromHost "expect_keys=1" & vbCrLf & "expect_gw=A"
StartHost ""
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0

' Each case: key string, key downs ("*": not checked; "e": the extended-key flag, which keeps
' Shift+End the navigation key when NumLock is on), typed text. Wine's keyboard layout has
' no key for some characters ("(" and ")" among them); those are typed as Unicode input.
cases = Array( _
  "^a", "^17 ^65", Chr(1), _
  "+(ab)", "+16 +65 +66", "AB", _
  "+ab", "+16 +65 66", "Ab", _
  "A", "+16 +65", "A", _
  "^+{END}", "^17 +^16 +^35e", "", _
  "~", "13", vbCr, _
  "{ENTER}{ESC}{F1}{F12}{BS}{DEL}{HOME}", "13 27 112 123 8 46e 36e", vbCr & Chr(27) & Chr(8), _
  "{INS}{PGUP}{PGDN}{LEFT}{UP}{RIGHT}{DOWN}{DIVIDE}{MULTIPLY}", "45e 33e 34e 37e 38e 39e 40e 111e 106", "/*", _
  "{{}{}}{+}{^}{%}{~}{(}{)}", "*", "{}+^%~()", _
  "{a 3}", "65 65 65", "aaa", _
  "+{TAB}", "+16 +9", vbTab)
For i = 0 To UBound(cases) Step 3
  ClearHostLog
  Eq h.SendKeystroke(cases(i)), True, cases(i) & " returns true"
  If cases(i + 1) <> "*" Then Eq HostKeyDowns(), cases(i + 1), cases(i) & ": key downs"
  Eq HostTyped(), cases(i + 2), cases(i) & ": characters"
Next

' Modifiers are let go at the end of a call: the next key arrives plain.
ClearHostLog
h.SendKeystroke "+(x"
Eq HostLogCount("KEYDOWN "), 0, "an unclosed group types nothing"
h.SendKeystroke "^(%(x))"
h.SendKeystroke "y"
Eq HostKeyDowns(), "^17 ^%18 ^%88 89", "after a nested group nothing stays held"

' Modifiers the user still holds (those of the hotkey that started the script) are let go
' before the keys and not pressed again; letting go of a lone Alt opens no menu.
Function KeyState(vk)
  KeyState = RunWait(Quote(STANDIN_EXE) & " ctl keystate " & vk)
End Function
Dim g_keyUp  ' lets go of the held key however the script ends
Sub HoldCase(vk, seenAs, keys, downs, label)
  ClearHostLog
  Set g_keyUp = PutBackLater(Quote(STANDIN_EXE) & " ctl keyrelease " & vk)
  Eq RunWait(Quote(STANDIN_EXE) & " ctl keyhold " & vk), 0, label & " held down"
  Ok WaitLog("KEYDOWN vk=" & seenAs & " ", 1, LimitMs(5000)), label & ": the host saw it go down"
  SleepMs 60  ' Wine reports a key up from a copy of the key state up to 50 ms old
  ClearHostLog
  Eq h.SendKeystroke(keys), True, label & ": " & keys & " returns true"
  Eq HostKeyDowns(), downs, label & ": the keys arrive without it"
  Eq HostLogCount("SYSCOMMAND keymenu"), 0, label & ": no menu opened"
  Eq KeyState(vk) & KeyState(seenAs), "00", label & ": up after the call"
  g_keyUp.Run
End Sub
HoldCase 17, 17, "a", "65", "Ctrl"
HoldCase 165, 18, "+b", "+16 +66", "the right Alt"

' Tab and its repeat: the host switches panels once per Tab.
Dim side, other
side = h.GetInfo("A")
If side = "L" Then other = "R" Else other = "L"
ClearHostLog
Eq h.SendKeystroke("{TAB}"), True, "{TAB} returns true"
Eq h.SendKeystroke("{TAB 3}"), True, "{TAB 3} returns true"
Eq HostKeyDowns(), "9 9 9 9", "four Tab key downs"
Eq HostLogLines("PANEL "), "PANEL " & other & vbCrLf & "PANEL " & side & vbCrLf & "PANEL " & other & vbCrLf & _
  "PANEL " & side, "the active panel switched four times"
Eq h.GetInfo("A"), side, "and the host reports the first panel active again"

' Alt+F4 reaches the host as a close request, which this host logs and refuses.
ClearHostLog
Eq h.SendKeystroke("%{F4}"), True, "%{F4} returns true"
Eq HostKeyDowns(), "%18 %115", "Alt held over F4"
Eq HostLogCount("SYSCOMMAND close refused"), 1, "the host got the close request"
Ok h.IsRunningTC, "and is still running"
Eq h.SendKeystroke("z"), True, "keys still go to it afterwards"
Eq HostTyped(), "z", "z arrived"

Finish
