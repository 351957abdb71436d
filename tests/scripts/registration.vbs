' regsvr32 writes the class, its ProgID and the type library, and /u removes every key again,
' for the machine and for the current user only.
Dim keys, k, h, n, root, present

keys = Array("CLSID\{3890865D-5A76-461F-8868-A39B7E567D7D}", "Ombrisk.Helper", _
    "TypeLib\{68B1EFAF-0B02-4020-B374-32A94FBE2741}", "Interface\{02ACAA0E-1016-4E54-8BEA-F60FD8228362}")

Function KeyExists(path)
    KeyExists = (RunWait("reg query """ & path & """") = 0)
End Function

Function CountKeys(root)
    Dim c, i
    c = 0
    For i = 0 To UBound(keys)
        If KeyExists(root & keys(i)) Then c = c + 1
    Next
    CountKeys = c
End Function

Function CanCreate()
    Dim o
    On Error Resume Next
    Set o = CreateObject("Ombrisk.Helper")
    CanCreate = (Err.Number = 0)
    Err.Clear
    On Error GoTo 0
    Set o = Nothing
End Function

root = "HKLM\Software\Classes\"
Eq CountKeys(root), 4, "the machine registration wrote its four keys"
Ok KeyExists(root & keys(0) & "\InprocServer32"), "with an in-process server key"
Ok KeyExists(root & keys(2) & "\1.0\0\win32"), "and the type library's path"

Eq RunWait("regsvr32 /s /u """ & DLL_PATH & """"), 0, "regsvr32 /u succeeds"
Eq CountKeys(root), 0, "no key is left behind after machine unregistration"
Eq CanCreate(), False, "the class cannot be created while unregistered"
Eq RunWait("regsvr32 /s """ & DLL_PATH & """"), 0, "regsvr32 registers again"
Eq CountKeys(root), 4, "the keys are back"
Eq CanCreate(), True, "and the class can be created"

' Per user: HKCU\Software\Classes only.
root = "HKCU\Software\Classes\"
Eq CountKeys(root), 0, "nothing registered for the user yet"
Eq RunWait("regsvr32 /s /n /i:user """ & DLL_PATH & """"), 0, "regsvr32 /n /i:user succeeds"
Eq CountKeys(root), 4, "the per-user registration wrote its four keys under HKCU"
Eq RunWait("regsvr32 /s /u /n /i:user """ & DLL_PATH & """"), 0, "regsvr32 /u /n /i:user succeeds"
Eq CountKeys(root), 0, "no key is left behind after per-user unregistration"
Eq CanCreate(), True, "the machine registration is untouched"

Finish
