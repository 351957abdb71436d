' SetFileDateAtr as the platform sees it: a compiled client records the FILETIMEs the library
' hands to SetFileTime (the creation time, which this platform does not store, included) and
' makes the platform refuse the call, which must give false with the attributes kept.
RunClient "filetimeclient.exe", Quote(Left(TEST_DIR, Len(TEST_DIR) - 1)), "file times"
Finish
