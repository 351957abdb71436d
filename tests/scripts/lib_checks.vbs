' The script library's comparisons: Eq passes only for values of one kind, so a member that
' returns Empty (or raises, leaving a variable Empty) cannot pass for one that returns "", 0 or
' False. No host and no library object are needed.
Dim pairs, i, a, b

' Pairs Eq must refuse: Empty and Null against the values "=" takes them for, and values
' of different kinds that "=" would convert.
Ok Not EqHolds(Empty, ""), "Empty is not the empty text"
Ok Not EqHolds("", Empty), "nor the other way round"
Ok Not EqHolds(Empty, 0), "Empty is not 0"
Ok Not EqHolds(Empty, False), "Empty is not False"
Ok Not EqHolds(False, Empty), "False is not Empty"
Ok Not EqHolds(Null, ""), "Null is not the empty text"
Ok Not EqHolds(Null, Empty), "Null is not Empty"
Ok Not EqHolds("1", 1), "a text is not a number"
Ok Not EqHolds(True, -1), "True is not -1"
Ok Not EqHolds(False, 0), "False is not 0"
Ok Not EqHolds(CDate("2001-02-03"), "2001-02-03"), "a date is not a text"
Ok Not EqHolds("a", "b"), "different texts differ"
Ok Not EqHolds(1, 2), "different numbers differ"

' Pairs Eq must accept: equal values of one kind, whatever the subtype of a number.
Ok EqHolds(Empty, Empty), "Empty equals Empty"
Ok EqHolds(Null, Null), "Null equals Null"
Ok EqHolds("", ""), "the empty text equals itself"
Ok EqHolds(CInt(5), CLng(5)), "an Integer 5 equals a Long 5"
Ok EqHolds(CDbl(0.5), CSng(0.5)), "a Double equals a Single of the same value"
Ok EqHolds(False, False), "False equals False"
Ok EqHolds(CDate("2001-02-03"), CDate("2001-02-03")), "equal dates"

' The kinds themselves.
pairs = Array(Empty, "empty", Null, "null", "", "text", CByte(1), "number", CCur(1), "number", _
              True, "bool", Now, "date", Array(), "array")
For i = 0 To UBound(pairs) Step 2
  Eq ValueKind(pairs(i)), pairs(i + 1), "ValueKind of a " & TypeName(pairs(i))
Next
Eq ValueKind(g_fso), "object", "ValueKind of an object"

' LimitMs scales by the harness's factor.
Ok TIME_SCALE >= 1, "the time factor is at least 1"
Eq LimitMs(200), 200 * TIME_SCALE, "LimitMs multiplies by it"
Finish
