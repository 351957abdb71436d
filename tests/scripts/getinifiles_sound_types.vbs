' timeout: 180
' The asterisk sound of either string type while GetIniFiles waits for the host's dialog: a
' non-empty REG_SZ or REG_EXPAND_SZ is replaced by a space of its own type (the host logs the
' type and bytes when command 690 arrives) and put back byte for byte on every path, also text
' outside the ANSI code page, a value without its terminating NUL and bytes after the NUL.
' Values of other types, and empty ones, are never written.
Dim h, tool, key, original, dialog, noLabel

tool = Left(STANDIN_EXE, InStrRev(STANDIN_EXE, "\")) & "utiltool.exe"
key = "HKCU\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Current"
dialog = "dialog_text=INI-Files: C:\m.ini<CR>C:\f.ini"
noLabel = "dialog_text=no label here"

' The UTF-16LE bytes of an ASCII text as hex, without a terminating NUL.
Function Utf16Hex(s)
  Dim i
  Utf16Hex = ""
  For i = 1 To Len(s)
    Utf16Hex = Utf16Hex & Right("0" & Hex(Asc(Mid(s, i, 1))), 2) & "00"
  Next
End Function

' "type=N bytes=HEX" of the sound value as stored, or "missing".
Function RawSound()
  Dim out
  out = TEST_DIR & "sound.txt"
  If g_fso.FileExists(out) Then g_fso.DeleteFile out, True
  RawSound = "regget failed"
  If RunWait(Quote(tool) & " regget " & Quote(key) & " @ " & Quote(out)) = 0 Then RawSound = ReadTextFile(out)
End Function

Sub SetRawSound(typeNumber, hexBytes)
  Dim bytes
  bytes = hexBytes
  If bytes = "" Then bytes = "-"
  Eq RunWait(Quote(tool) & " regset " & Quote(key) & " @ " & typeNumber & " " & bytes), 0, "utiltool regset " & typeNumber
End Sub

Sub SoundCase(typeNumber, hexBytes, config, expectResult, expectDuring, label)
  SetRawSound typeNumber, hexBytes
  SetHostConfig "log_sound_raw=1" & vbCrLf & config
  ClearHostLog
  EqType h.GetIniFiles(), expectResult, label & ": result"
  Eq HostLogLines("SOUNDRAW "), expectDuring, label & ": the value while the host was asked"
  Eq RawSound(), "type=" & typeNumber & " bytes=" & hexBytes, label & ": the same type and bytes afterwards"
End Sub

original = RawSound()
ExpectFromHost "expect_cmd=690"
StartHost "log_sound_raw=1"
Set h = CreateObject("Ombrisk.Helper")

Const SILENT_SZ = "SOUNDRAW type=1 bytes=20000000"
Const SILENT_EXPAND = "SOUNDRAW type=2 bytes=20000000"
Dim expandSound, cyrillic
expandSound = Utf16Hex("%SystemRoot%\media\Windows Background.wav") & "0000"
' C:\Sounds\ then U+0416 U+03A9 (outside code page 1252), then .wav
cyrillic = Utf16Hex("C:\Sounds\") & "1604A903" & Utf16Hex(".wav") & "0000"

' ---- REG_EXPAND_SZ, as current Windows keeps it: silenced and restored on every path ----
SoundCase 2, expandSound, dialog, True, SILENT_EXPAND, "REG_EXPAND_SZ, a dialog"
SoundCase 2, expandSound, noLabel, False, SILENT_EXPAND, "REG_EXPAND_SZ, a dialog without the label"
SoundCase 2, expandSound, "", False, SILENT_EXPAND, "REG_EXPAND_SZ, no dialog within 1.5 s"
SoundCase 2, cyrillic, dialog, True, SILENT_EXPAND, "REG_EXPAND_SZ outside the ANSI code page"

' ---- REG_SZ: the text comes back exactly, whatever its characters and layout ----
SoundCase 1, cyrillic, dialog, True, SILENT_SZ, "REG_SZ outside the ANSI code page"
SoundCase 1, Utf16Hex("C:\Sounds\ding.wav"), dialog, True, SILENT_SZ, "REG_SZ without its terminating NUL"
SoundCase 1, Utf16Hex("C:\a.wav") & "0000" & Utf16Hex("junk") & "0000", noLabel, False, SILENT_SZ, _
  "REG_SZ with bytes after its NUL"

' ---- left alone: empty text, other types ----
SoundCase 2, "0000", dialog, True, "SOUNDRAW type=2 bytes=0000", "an empty REG_EXPAND_SZ"
SoundCase 1, "", dialog, True, "SOUNDRAW type=1 bytes=", "a REG_SZ of no bytes"
SoundCase 3, "0102", dialog, True, "SOUNDRAW type=3 bytes=0102", "REG_BINARY"
SoundCase 4, "01000000", dialog, True, "SOUNDRAW type=4 bytes=01000000", "REG_DWORD"

' ---- the original value back ----
Set h = Nothing
StopHost
If original = "missing" Then
  RunWait "reg delete " & Quote(key) & " /f"
ElseIf Left(original, 5) = "type=" Then
  SetRawSound Mid(original, 6, InStr(original, " ") - 6), Mid(original, InStr(original, "bytes=") + 6)
End If
Eq RawSound(), original, "the prefix's own value is back"
Finish
