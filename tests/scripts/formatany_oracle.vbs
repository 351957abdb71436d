' FormatAny against Windows' own results: every row of DATA_DIR\varformat-windows.tsv (type,
' value, format, first day and week, expected text; US English settings) is formatted here and
' compared, type included. The table's calls take the first day and week as arguments; FormatAny
' always uses Sunday and the week of 1 January, so rows with other settings are counted and
' named, not compared. VBScript cannot build every automation type: a row of such a type (signed
' byte, the unsigned and 64-bit integers) is run here with a Long of the same value, and again
' with its own type by tests/client/formatanyclient.cpp (ctest client.FormatAny_OwnTypes), which
' also passes the by-reference Booleans as such; client.FormatAny_AsWindows runs the table with
' the library as if on Windows.
Dim h, table, lines, i, cells, value, fmt, expected, got, number, description, decimalChar
Dim compared, notApplicable, substituted, header
Set h = CreateObject("Ombrisk.Helper")
decimalChar = Mid(CStr(1.5), 2, 1)
Ok decimalChar = ".", "the prefix has US English settings, as the table assumes (decimal " & decimalChar & ")"

' A quoted cell of the table as text: \\ \" \t \n are escapes of the table only.
Function Unquote(cell)
  Dim s, k, c, out
  s = Mid(cell, 2, Len(cell) - 2)
  out = ""
  k = 1
  Do While k <= Len(s)
    c = Mid(s, k, 1)
    If c = "\" And k < Len(s) Then
      k = k + 1
      c = Mid(s, k, 1)
      If c = "t" Then
        c = vbTab
      ElseIf c = "n" Then
        c = vbLf
      End If
    End If
    out = out & c
    k = k + 1
  Loop
  Unquote = out
End Function

' A number as written in the table, whatever the decimal separator of the settings.
Function NumberOf(text)
  NumberOf = CDbl(Replace(text, ".", decimalChar))
End Function

' The value of a row as the script builds it; substituted is set when the type is not the row's.
Function ValueOf(vartype, text)
  Select Case vartype
    Case "VT_I2": ValueOf = CInt(text)
    Case "VT_I4": ValueOf = CLng(text)
    Case "VT_UI1": ValueOf = CByte(text)
    Case "VT_R4": ValueOf = CSng(NumberOf(text))
    Case "VT_R8": ValueOf = NumberOf(text)
    Case "VT_DATE": ValueOf = CDate(NumberOf(Trim(Left(text, InStr(text & " #", " #") - 1))))
    Case "VT_BSTR": ValueOf = Unquote(text)
    Case "VT_BOOL", "VT_BOOL|VT_BYREF": ValueOf = CBool(CInt(text))
    Case "VT_NULL": ValueOf = Null
    Case "VT_I1", "VT_INT", "VT_I8", "VT_UI2", "VT_UI4", "VT_UI8", "VT_UINT"
      ValueOf = CLng(text)
      substituted = substituted + 1
    Case Else
      ValueOf = Empty
      Report False, "unknown type " & vartype
  End Select
End Function

table = ReadTextFile(DATA_DIR & "varformat-windows.tsv")
lines = Split(Replace(table, vbCr, ""), vbLf)
compared = 0
notApplicable = 0
substituted = 0
header = False
For i = 0 To UBound(lines)
  If lines(i) = "" Or Left(lines(i), 1) = "#" Then
    ' comment or end
  ElseIf Not header Then
    header = True
    Ok Left(lines(i), 21) = "vartype" & vbTab & "value" & vbTab & "format" & vbTab, "the table's columns"
  Else
    cells = Split(lines(i), vbTab)
    If cells(3) <> "" And cells(3) <> "fd=1" Then
      notApplicable = notApplicable + 1
      WScript.Echo "# not applicable, first day/week " & cells(3) & ": line " & cells(7) & " " & cells(0) & " " & cells(2)
    Else
      value = ValueOf(cells(0), cells(1))
      If cells(5) = "NULL" Then
        expected = ""
      Else
        expected = Unquote(cells(5))
      End If
      On Error Resume Next
      If cells(2) = "" Then
        got = h.FormatAny(value)
      Else
        fmt = Unquote(cells(2))
        got = h.FormatAny(value, fmt)
      End If
      number = Err.Number
      description = Err.Description
      Err.Clear
      On Error GoTo 0
      compared = compared + 1
      If number <> 0 Then
        Report False, "line " & cells(7) & " " & cells(0) & " " & cells(1) & " under " & cells(2) & _
          ": error " & number & " " & description
      Else
        EqType got, expected, "line " & cells(7) & " " & cells(0) & " " & cells(1) & " under " & cells(2)
      End If
    End If
  End If
Next
Eq compared + notApplicable, 583, "every row of the table was read"
Eq notApplicable, 10, "the rows with another first day or week are the ten known ones"
WScript.Echo "# compared " & compared & " rows, " & substituted & " of them with a Long for a type VBScript cannot build"
Eq substituted, 257, "the rows of types VBScript cannot build"
Finish
