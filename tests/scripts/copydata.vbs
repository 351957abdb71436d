' The WM_COPYDATA requests the host receives, byte for byte, and the answers that come back.
Dim h, h2, lines, n, s, i, from1, from2, t0

ExpectFromHost "expect_copydata=EM,CD" & vbCrLf & "expect_gw=XX," & String(100, "Q") & ""
Function Hex2(b)
    Hex2 = Right("0" & Hex(b), 2)
End Function

' The hex bytes of an ASCII text, space separated, as the host logs them.
Function HexOf(text)
    Dim k, r
    r = ""
    For k = 1 To Len(text)
        If k > 1 Then r = r & " "
        r = r & Hex2(Asc(Mid(text, k, 1)))
    Next
    HexOf = r
End Function

Function Zeros(count)
    Dim k, r
    r = ""
    For k = 1 To count
        r = r & " 00"
    Next
    Zeros = r
End Function

' The last COPYDATA line the host logged.
Function LastCopyData()
    Dim a
    a = HostLogArray("COPYDATA ")
    If UBound(a) < 0 Then
        LastCopyData = ""
    Else
        LastCopyData = a(UBound(a))
    End If
End Function

Function Field(line, key)
    Field = LogField(line, key)
End Function

Function BytesOf(line)
    Dim p
    p = InStr(line, "bytes=")
    If p = 0 Then BytesOf = "" Else BytesOf = Mid(line, p + 6)
End Function

' No host: requests are not sent; empty paths succeed without looking for the host.
StopHost
Set h = CreateObject("Ombrisk.Helper")
Eq h.GetInfo("SP"), "", "GetInfo without a host is empty"
Eq h.GetSrcPath(), "", "GetSrcPath without a host is empty"
Eq h.GetInfo(Null), "", "the request is not converted when no host runs"
Eq h.SetSrcPath(""), True, "an empty path returns true without a host"
Eq h.SetTrgPath("", True), True, "an empty target path returns true without a host"
Eq h.SetLeftPath("C:\"), False, "a path without a host returns false"
Eq h.UserCmd("em_x"), False, "UserCmd without a host returns false"
Set h = Nothing

Dim answers
answers = "answer.SP=C:\Windows\" & vbCrLf & "answer.TP=D:\Data\" & vbCrLf & "answer.5=five" & vbCrLf & _
    "answer.A=L" & vbCrLf & "answer.R=ansi answer" & vbCrLf & "answer_code.R=RA"
StartHost answers
Set h = CreateObject("Ombrisk.Helper")
h.Pause = 0

' "GW": the upper-cased request in ANSI plus one NUL, wParam the reply window.
ClearHostLog
Eq h.GetInfo("sp"), "C:\Windows\", "GetInfo sp returns the host's answer to SP"
s = LastCopyData()
Eq Field(s, "code"), "GW", "code GW"
Eq Field(s, "dwData"), "5747", "dwData 0x5747"
Eq Field(s, "cb"), "3", "cbData 3"
Eq BytesOf(s), "53 50 00", "payload SP NUL"
Eq Field(s, "from_class"), "OmbriskReplyWindow", "wParam is the reply window"
from1 = Field(s, "from")
Eq h.GetTrgPath(), "D:\Data\", "GetTrgPath returns the answer to TP"
Eq BytesOf(LastCopyData()), "54 50 00", "GetTrgPath sends TP"
Eq h.GetSrcPath(), "C:\Windows\", "GetSrcPath returns the answer to SP"
Eq h.GetInfo(5), "five", "a number is sent as its text"
Eq BytesOf(LastCopyData()), "35 00", "the number 5 as text"
Dim req
req = "sp"
Eq h.GetInfo(req), "C:\Windows\", "a variable passed by reference"
Eq req, "sp", "the request variable is not modified"

' A request the host does not answer gives the empty text, never an older answer.
Eq h.GetInfo("XX"), "", "a silent host gives the empty text"
Eq h.GetInfo("R"), "", "an answer in another code (RA) is not taken"
Eq h.GetInfo("A"), "L", "answers still arrive afterwards"

' Long requests are sent whole in a buffer that grows.
s = String(100, "q")
h.GetInfo s
s = LastCopyData()
Eq Field(s, "cb"), "101", "a 100-character request is sent whole"
Eq BytesOf(s), HexOf(String(100, "Q")) & " 00", "all of it, upper-cased"

' Null and arrays have no text.
On Error Resume Next
h.GetInfo Null
n = Err.Number
On Error GoTo 0
Eq n, 94, "GetInfo(Null) with a host raises invalid use of Null"

' "CD": UTF-8 paths after a byte-order mark, CR, NUL, flags, NUL, in 2048 zero-filled bytes.
Eq h.SetSrcPath("C:\"), True, "SetSrcPath returns true when the host returns 0"
s = LastCopyData()
Eq Field(s, "code"), "CD", "code CD"
Eq Field(s, "cb"), "2048", "cbData 2048"
Eq BytesOf(s), "EF BB BF 43 3A 5C 0D 00 53 00" & Zeros(2038), "SetSrcPath C:\ bytes"
Eq h.SetTrgPath("D:\", True), True, "SetTrgPath in a new tab"
Eq BytesOf(LastCopyData()), "0D EF BB BF 44 3A 5C 00 53 54 00" & Zeros(2037), "SetTrgPath D:\ new tab bytes"
Eq h.SetLeftPath("C:\Temp", False), True, "SetLeftPath without flags"
Eq BytesOf(LastCopyData()), "EF BB BF 43 3A 5C 54 65 6D 70 0D 00 00" & Zeros(2035), "SetLeftPath C:\Temp bytes"
Eq h.SetRightPath("X"), True, "SetRightPath"
Eq BytesOf(LastCopyData()), "0D EF BB BF 58 00 00" & Zeros(2041), "SetRightPath X bytes"
Eq h.SetRightPath("X", True), True, "SetRightPath in a new tab"
Eq Left(BytesOf(LastCopyData()), 23), "0D EF BB BF 58 00 54 00", "SetRightPath X new tab bytes"
Eq h.SetSrcPath("C:\" & Chr(233)), True, "a path outside ASCII"
Eq Left(BytesOf(LastCopyData()), 41), "EF BB BF 43 3A 5C C3 A9 0D 00 53 00 00 00", "is sent in UTF-8, not ANSI"
SetHostConfig answers & vbCrLf & "copydata_result=1"
Eq h.SetSrcPath("C:\"), False, "a host result other than 0 gives false"
SetHostConfig answers
s = "C:\" & String(3000, "d")
Eq h.SetSrcPath(s), True, "a 3003-character path"
s = LastCopyData()
Eq Field(s, "cb"), "3010", "a payload over 2048 bytes is sent whole in a buffer of its size"
Eq Right(BytesOf(s), 14), "64 0D 00 53 00", "ending with the last character, CR, NUL, S, NUL"

' "EM": the name in ANSI plus two NULs; true when the host returns 0; waits Pause \ 2.
Eq h.UserCmd(""), False, "an empty name returns false"
ClearHostLog
Eq h.UserCmd("em_test"), True, "UserCmd returns true when the host returns 0"
s = LastCopyData()
Eq Field(s, "code"), "EM", "code EM"
Eq Field(s, "cb"), "9", "a seven-letter name sends cbData 9"
Eq BytesOf(s), "65 6D 5F 74 65 73 74 00 00", "name and two NULs"
SetHostConfig answers & vbCrLf & "copydata_result.EM=1"
Eq h.UserCmd("em_test"), False, "a host result other than 0 gives false"
SetHostConfig answers
h.Pause = 300
t0 = NowMs()
h.UserCmd "em_wait"
Ok ElapsedMs(t0) >= 140, "UserCmd waits Pause \ 2"
h.Pause = 0
s = String(1500, "e")
h.UserCmd s
Eq Field(LastCopyData(), "cb"), "1502", "a 1500-character name is sent whole"

' Objects of one thread share the reply window; releasing one destroys it, and the other's
' next request creates a new one.
Set h2 = CreateObject("Ombrisk.Helper")
h2.GetInfo "SP"
Eq Field(LastCopyData(), "from"), from1, "a second object uses the same reply window"
Set h2 = Nothing
Eq RunWait(Quote(STANDIN_EXE) & " ctl countwindows OmbriskReplyWindow"), 0, "releasing one object destroyed the reply window"
Eq h.GetInfo("TP"), "D:\Data\", "the other object's next request still gets its answer"
from2 = Field(LastCopyData(), "from")
Ok from2 <> from1 And from2 <> "", "through a new reply window"
Eq RunWait(Quote(STANDIN_EXE) & " ctl countwindows OmbriskReplyWindow"), 1, "one reply window again"

Finish
