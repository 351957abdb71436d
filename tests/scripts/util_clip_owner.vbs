' SetTextToClip owns the clipboard through the object's reply window (setting data after
' emptying needs an owner), makes the text's block before it touches the clipboard, and the
' text stays on the clipboard after the object and its window are gone.
Dim h, h2

' ---- from inside a compiled client: the owner, and a text that does not fit in memory ----
RunClient "clipclient.exe", "", "clipclient"
' ---- the library as if on Windows (a client hides Wine from it): the reply window owns the text ----
RunClient "aswindowsclient.exe", "windows " & Quote(DLL_PATH) & " clip", "as on Windows"

' ---- the text outlives the object that put it there ----
Set h = CreateObject("Ombrisk.Helper")
h.SetTextToClip "outlives its owner"
Set h = Nothing
Set h2 = CreateObject("Ombrisk.Helper")
EqType h2.GetTextFromClip(), "outlives its owner", "the text is still there after its owner window was destroyed"

Finish
