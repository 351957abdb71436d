' The asterisk sound while GetIniFiles waits for the host's dialog: replaced by a single space
' for the duration (the host logs the value when command 690 arrives), restored afterwards on
' every path, and not touched at all when it is empty or when the host is not asked.
Dim h, key, original, hadOriginal, r

ExpectFromHost "expect_cmd=690"
key = "HKCU\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Current"

Function ReadSound()
  Dim v
  v = Null
  On Error Resume Next
  v = g_shell.RegRead(key & "\")
  On Error GoTo 0
  ReadSound = v
End Function

Function SoundCommand(value)
  If IsNull(value) Then
    SoundCommand = "reg delete " & Quote(key) & " /f"
  Else
    SoundCommand = "reg add " & Quote(key) & " /ve /d " & Quote(value) & " /f"
  End If
End Function

Sub WriteSound(value)
  RunWait SoundCommand(value)
End Sub

original = ReadSound()
Dim soundBack
Set soundBack = PutBackLater(SoundCommand(original))

Sub SoundCase(value, config, expectResult, expectDuring, label)
  WriteSound value
  SetHostConfig "log_sound=1" & vbCrLf & config
  ClearHostLog
  EqType h.GetIniFiles(), expectResult, label & ": result"
  Eq HostLogLines("SOUND "), expectDuring, label & ": the value while the host was asked"
  If IsNull(value) Then
    Ok IsNull(ReadSound()), label & ": the value is still missing afterwards"
  Else
    Eq ReadSound(), value, label & ": the value afterwards"
  End If
End Sub

StartHost "log_sound=1"
Set h = CreateObject("Ombrisk.Helper")

SoundCase "C:\Sounds\ding.wav", "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini", True, "SOUND [ ]", "a sound, a dialog"
SoundCase "C:\Sounds\" & Chr(228) & "h.wav", "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini", True, "SOUND [ ]", _
  "a sound path outside ASCII"
SoundCase "C:\Sounds\ding.wav", "dialog_text=no label here", False, "SOUND [ ]", "a sound, a dialog without the label"
SoundCase "C:\Sounds\ding.wav", "", False, "SOUND [ ]", "a sound, no dialog within 1.5 s"
SoundCase "", "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini", True, "SOUND []", "an empty value"
SoundCase Null, "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini", True, "SOUND missing", "no value at all"

' A host that is not the bound one is not asked, and the sound is not touched.
StopHost
StartHost "log_sound=1" & vbCrLf & "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini"
WriteSound "C:\Sounds\ding.wav"
EqType h.GetIniFiles(), False, "the restarted host is not the bound one"
SleepMs 300
Eq HostLogCount("CMD "), 0, "it was not asked"
Eq ReadSound(), "C:\Sounds\ding.wav", "the sound is untouched"

soundBack.Run
Finish
