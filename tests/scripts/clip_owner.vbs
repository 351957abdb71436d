' The text SetTextToClip puts on the clipboard stays there after the object and its window are
' gone. Who owns it, and a text that does not fit in memory, are checked from inside the
' script's process by the ctest tests client.SetTextToClip_GetTextFromClip_Owner and
' client.SetTextToClip_Owner_AsWindows (tests/client).
Dim h, h2

Set h = CreateObject("Ombrisk.Helper")
h.SetTextToClip "outlives its owner"
Set h = Nothing
Set h2 = CreateObject("Ombrisk.Helper")
EqType h2.GetTextFromClip(), "outlives its owner", "the text is still there after its owner window was destroyed"

Finish
