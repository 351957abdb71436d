' GetFilter: the text of a panel's path bar ("TPathPanel") without the panel's path as the host
' reports it (the first occurrence, letter case ignored). L and R name the bars by their place
' (left is the smaller x), S and T by the active panel the host reports.
Dim h, base

ExpectFromHost "expect_gw=LP,RP,A" & vbCrLf & "expect_keys=1"
Sub Layout(lines)
  SetHostConfig lines
  HostSend 9003
  ClearHostLog
End Sub

Function Answers()
  Answers = Replace(HostLogLines("ANSWER "), vbCrLf, " | ")
End Function

base = "pathbar.L=C:\Left\*.txt" & vbCrLf & "pathbar.R=D:\Right\*.doc" & vbCrLf & "path.L=C:\Left\" & vbCrLf & _
  "path.R=D:\Right\"
StartHost base
Set h = CreateObject("Ombrisk.Helper")
ClearHostLog

EqType h.GetFilter("L"), "*.txt", "L: the left bar's filter"
Eq Answers(), "ANSWER LP code=RW cb=18 delivered=1", "after asking the host for LP"
EqType h.GetFilter("l"), "*.txt", "l works as L"
EqType h.GetFilter("R"), "*.doc", "R: the right bar's filter"
EqType h.GetFilter("r"), "*.doc", "r works as R"
ClearHostLog
EqType h.GetFilter("S"), "*.txt", "S with the left panel active: the left filter"
Eq Answers(), "ANSWER A code=RW cb=4 delivered=1 | ANSWER LP code=RW cb=18 delivered=1", "S asks for A, then LP"
EqType h.GetFilter("t"), "*.doc", "T: the right filter"
h.SendKeystroke "{TAB}"
EqType h.GetFilter("s"), "*.doc", "S with the right panel active: the right filter"
EqType h.GetFilter("T"), "*.txt", "T: the left filter"
h.SendKeystroke "{TAB}"

' Sides that are none of L, R, S, T: the empty string, not Empty.
EqType h.GetFilter("X"), "", "X gives the empty string"
EqType h.GetFilter(""), "", "an empty side too"
EqType h.GetFilter("LR"), "", "and two letters"
EqType h.GetFilter(1), "", "and a number"

' The path is removed where it stands, letter case ignored, once.
Layout "pathbar.L=C:\Data\*.txt" & vbCrLf & "answer.LP=c:\data\"
EqType h.GetFilter("L"), "*.txt", "C:\Data\*.txt less c:\data\ is *.txt"
Layout "pathbar.L=C:\A\C:\A\x" & vbCrLf & "answer.LP=C:\A\"
EqType h.GetFilter("L"), "C:\A\x", "only the first occurrence goes"
Layout "pathbar.L=E:\x\*.*" & vbCrLf & "answer.LP=C:\Left\"
EqType h.GetFilter("L"), "E:\x\*.*", "a path the bar does not show removes nothing"
Layout "pathbar.L=C:\Left\*.*"
EqType h.GetFilter("L"), "C:\Left\*.*", "a host that does not answer LP: the whole text"
Layout "pathbar.R=D:\Right\" & vbCrLf & "path.R=D:\Right\"
EqType h.GetFilter("R"), "", "a bar without a filter gives the empty string"

' A host that answers A with neither L nor R.
Layout base & vbCrLf & "answer.A=Q"
EqType h.GetFilter("S"), "", "A answered Q: S gives the empty string"
EqType h.GetFilter("T"), "*.txt", "and T takes the left bar"

' Bars one above the other at the same x: the upper one is the left bar.
Layout base & vbCrLf & "pathbar_layout=stacked"
EqType h.GetFilter("L"), "*.txt", "stacked bars: L is the upper one"
EqType h.GetFilter("R"), "*.doc", "R the lower one"

' Fewer than two bars: the empty string, after the path request.
Layout base & vbCrLf & "pathbars=1"
EqType h.GetFilter("L"), "", "one bar only: L gives the empty string"
Eq HostLogCount("ANSWER LP"), 1, "the host was still asked for LP"
EqType h.GetFilter("R"), "", "and R too"
Layout base & vbCrLf & "pathbars=0"
EqType h.GetFilter("L"), "", "no bar: the empty string"

' No host: Empty.
StopHost
Ok IsEmpty(h.GetFilter("L")), "no host: Empty"
Ok IsEmpty(h.GetFilter("X")), "whatever the side"

Finish
