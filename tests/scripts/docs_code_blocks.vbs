' timeout: 180
' Every VBScript and JScript block of the pages in docs is a script its engine accepts. cscript
' parses a whole file before it runs any of it and prints nothing for a syntax error: each
' VBScript block goes into a file that quits before it, a page's JScript blocks into one file as
' functions never called.
Dim page, lines, i, lang, block, first, n, js
n = 0

' Runs the file holding text with cscript: whether it printed "parsed" (and nothing else).
Function Parses(name, text)
  WriteTextFile TEST_DIR & name, text
  RunWait "cmd /c cscript //nologo " & Quote(TEST_DIR & name) & " > " & Quote(TEST_DIR & name & ".out")
  Parses = (ReadTextFile(TEST_DIR & name & ".out") = "parsed" & vbCrLf)
End Function

For Each page In g_fso.GetFolder(g_fso.GetAbsolutePathName(DATA_DIR & "..\..\docs")).Files
  If LCase(g_fso.GetExtensionName(page.Name)) = "md" Then
    lines = Split(Replace(ReadTextFile(page.Path), vbCrLf, vbLf), vbLf)
    lang = ""
    js = ""
    For i = 0 To UBound(lines)
      If lang = "" Then
        first = i + 2
        If lines(i) = "```vbscript" Or lines(i) = "```js" Then lang = Mid(lines(i), 4): block = ""
      ElseIf lines(i) = "```" Then
        n = n + 1
        If lang = "js" Then
          js = js & "function block" & first & "() {" & vbCrLf & block & "}" & vbCrLf
        Else
          Ok Parses("block" & n & ".vbs", "WScript.Echo ""parsed""" & vbCrLf & "WScript.Quit 0" & vbCrLf & block), _
            page.Name & " line " & first & ": the VBScript block parses"
        End If
        lang = ""
      Else
        block = block & lines(i) & vbCrLf
      End If
    Next
    If js <> "" Then Ok Parses(page.Name & ".js", "WScript.Echo(""parsed"");" & vbCrLf & js), _
      page.Name & ": the JScript blocks parse (blockN is the one from line N)"
  End If
Next
Ok n > 100, "the pages' blocks were found: " & n
Finish
