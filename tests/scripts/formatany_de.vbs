' FormatAny under German settings (decimal comma, thousands dot, German names, weeks starting on
' Monday): separators and names follow the user's settings; weeks keep Sunday as first day.
' locale: de_DE.UTF-8
Dim h, d, ae
Set h = CreateObject("Ombrisk.Helper")
d = DateSerial(2023, 3, 15) + TimeSerial(12, 7, 9)   ' a Wednesday
ae = Chr(228)
Ok CStr(1.5) = "1,5", "the script runs with German settings (" & CStr(1.5) & ")"

' ---- numbers: decimal comma, thousands dot ----
EqType h.FormatAny(12.5), "12,5", "the general format"
Eq h.FormatAny(1234567.891, "0.00"), "1234567,89", "0.00"
Eq h.FormatAny(1234567.891, "#,##0.00"), "1.234.567,89", "#,##0.00"
Eq h.FormatAny(1234567.891, "Standard"), "1.234.567,89", "Standard"
Eq h.FormatAny(1234567.891, "Fixed"), "1234567,89", "Fixed"
Eq h.FormatAny(0.1234, "Percent"), "12,34%", "Percent"
Eq h.FormatAny(1234567.891, "Scientific"), "1,23E+06", "Scientific"
Eq h.FormatAny(12.5, "@@@@@@"), "  12,5", "a number's text under a string format"

' ---- dates: German names and separators, Sunday as first day of the week ----
Eq h.FormatAny(d, "dddd mmmm"), "Mittwoch M" & ae & "rz", "day and month names"
Eq h.FormatAny(d, "Long Date"), "Mittwoch, 15. M" & ae & "rz 2023", "Long Date"
Eq h.FormatAny(d, "Medium Date"), "15-M" & ae & "r-23", "Medium Date"
Eq h.FormatAny(d, "dd/mm/yyyy hh:nn"), "15.03.2023 12:07", "the date separator"
Eq h.FormatAny(d, "w"), "4", "a Wednesday is day 4 of a week from Sunday"
Eq h.FormatAny(DateSerial(2023, 1, 8), "ww"), "2", "Sunday 8 January 2023 starts week 2"
Eq h.FormatAny(DateSerial(2023, 1, 7), "ww"), "1", "Saturday 7 January 2023 is in week 1"

' ---- text ----
Eq h.FormatAny(ae & "b", ">@@@"), " " & Chr(196) & "B", "> with a character outside ASCII"
Finish
