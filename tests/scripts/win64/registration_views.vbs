' timeout: 150
' The x86 and the x64 DLL registered at once in one 64-bit prefix, as wine64.setup leaves them:
' each view has its own CLSID and Interface keys, the ProgID and the TypeLib key are shared and
' the type library has a win32 and a win64 subkey. The 32-bit cscript (syswow64) and the 64-bit
' one both create the object; unregistering one DLL leaves the other working, and unregistering
' both leaves no key in either view, for the machine and for the current user.
Dim sh, keys, typeLib, helpDir, regsvr32_32, regsvr32_64

Set sh = CreateObject("WScript.Shell")
' Per view: CLSID, Interface. Shared: the ProgID and TypeLib keys, looked at in the 64-bit view
' (Wine's reg /reg:32 does not find a ProgID there, though 32-bit programs do).
keys = Array("CLSID\{3890865D-5A76-461F-8868-A39B7E567D7D}", "Interface\{02ACAA0E-1016-4E54-8BEA-F60FD8228362}", _
    "Ombrisk.Helper", "TypeLib\{68B1EFAF-0B02-4020-B374-32A94FBE2741}")
typeLib = "TypeLib\{68B1EFAF-0B02-4020-B374-32A94FBE2741}\1.0"
regsvr32_32 = "C:\windows\syswow64\regsvr32.exe"
regsvr32_64 = "C:\windows\system32\regsvr32.exe"

' Whether root\Software\Classes\path exists in the 32- or 64-bit registry view.
Function Has(root, view, path)
    Has = (RunWait("reg query """ & root & "\Software\Classes\" & path & """ /reg:" & view) = 0)
End Function

' The top-level keys of a registration present, as "11 01 11": CLSID and Interface in the
' 32-bit view, the same in the 64-bit view, then the shared ProgID and TypeLib.
Function KeyBits(root)
    KeyBits = Bit(Has(root, 32, keys(0))) & Bit(Has(root, 32, keys(1))) & " " & _
        Bit(Has(root, 64, keys(0))) & Bit(Has(root, 64, keys(1))) & " " & _
        Bit(Has(root, 64, keys(2))) & Bit(Has(root, 64, keys(3)))
End Function

Function Bit(b)
    If b Then Bit = "1" Else Bit = "0"
End Function

' The platform subkeys of the type library: "win32 win64", "win64", "" ...
Function Platforms(root)
    Platforms = ""
    If Has(root, 64, typeLib & "\0\win32") Then Platforms = "win32"
    If Has(root, 64, typeLib & "\0\win64") Then Platforms = Trim(Platforms & " win64")
End Function

Function ReadDefault(path)
    ReadDefault = ""
    On Error Resume Next
    ReadDefault = sh.RegRead(path & "\")
    On Error GoTo 0
End Function

' Runs a child script under the 32- or 64-bit cscript: it checks its own bitness, creates the
' object and calls a member. True when all of that worked, which the child tells by exit code
' 7: Wine's cscript ends a script that does not compile with exit code 0.
Function Creates(width)
    Dim child, host, arch
    child = TEST_DIR & "child.vbs"
    WriteTextFile child, "On Error Resume Next" & vbCrLf & _
        "If CreateObject(""WScript.Shell"").Environment(""PROCESS"")(""PROCESSOR_ARCHITECTURE"") <> WScript.Arguments(0) Then WScript.Quit 4" & vbCrLf & _
        "Set h = CreateObject(""Ombrisk.Helper"")" & vbCrLf & _
        "If Err.Number <> 0 Then WScript.Quit 2" & vbCrLf & _
        "r = h.FormatAny(1.5, ""0.00"")" & vbCrLf & _
        "If Err.Number <> 0 Then WScript.Quit 3" & vbCrLf & _
        "If r = ""1.50"" Then WScript.Quit 7" & vbCrLf & _
        "WScript.Quit 3" & vbCrLf
    If width = 32 Then
        host = "C:\windows\syswow64\cscript.exe"
        arch = "x86"
    Else
        host = "C:\windows\system32\cscript.exe"
        arch = "AMD64"
    End If
    Creates = (RunWait(Quote(host) & " //nologo " & Quote(child) & " " & arch) = 7)
End Function

Function Register(width, options)
    Dim exe, dll
    If width = 32 Then
        exe = regsvr32_32
        dll = DLL32_PATH
    Else
        exe = regsvr32_64
        dll = DLL_PATH
    End If
    Register = RunWait(Quote(exe) & " /s " & options & " " & Quote(dll))
End Function

Ok DLL_REGISTERED, "wine64.setup registered the x64 DLL"
Ok DLL32_PATH <> "" And DLL32_PATH <> DLL_PATH, "and knows the x86 DLL: " & DLL32_PATH

' ---- both registered for the machine ----
Eq KeyBits("HKLM"), "11 11 11", "CLSID and Interface in each view, the shared ProgID and TypeLib"
Eq ReadDefault("HKLM\Software\Classes\" & keys(0) & "\InprocServer32"), DLL_PATH, "the 64-bit view's server is the x64 DLL"
Eq ReadDefault("HKLM\Software\Classes\Wow6432Node\" & keys(0) & "\InprocServer32"), DLL32_PATH, _
    "the 32-bit view's server is the x86 DLL (Software\Classes\Wow6432Node)"
Eq Platforms("HKLM"), "win32 win64", "the shared type library key has both platforms"
Eq ReadDefault("HKLM\Software\Classes\" & typeLib & "\0\win64"), DLL_PATH, "win64 names the x64 DLL"
Eq ReadDefault("HKLM\Software\Classes\" & typeLib & "\0\win32"), DLL32_PATH, "win32 names the x86 DLL"
Ok Creates(64), "the 64-bit cscript creates the object"
Ok Creates(32), "the 32-bit cscript creates the object"

' ---- the x86 DLL unregistered: the x64 one keeps working ----
Eq Register(32, "/u"), 0, "the 32-bit regsvr32 /u removes the x86 DLL"
Eq KeyBits("HKLM"), "00 11 11", "the 32-bit view's CLSID and Interface keys are gone, the rest stays"
Eq Platforms("HKLM"), "win64", "only the win64 platform is left"
Eq ReadDefault("HKLM\Software\Classes\" & typeLib & "\HELPDIR"), Left(DLL_PATH, InStrRev(DLL_PATH, "\") - 1), _
    "the help folder is the x64 DLL's"
Ok Creates(64), "the 64-bit cscript still creates the object"
Ok Not Creates(32), "the 32-bit cscript no longer can"

' ---- the x64 DLL unregistered: the x86 one keeps working ----
Eq Register(32, ""), 0, "the x86 DLL registered again"
Ok Creates(32), "the 32-bit cscript creates the object again"
Eq Register(64, "/u"), 0, "the 64-bit regsvr32 /u removes the x64 DLL"
Eq KeyBits("HKLM"), "11 00 11", "the 64-bit view's CLSID and Interface keys are gone, the rest stays"
Eq Platforms("HKLM"), "win32", "only the win32 platform is left"
Ok Creates(32), "the 32-bit cscript still creates the object"
Ok Not Creates(64), "the 64-bit cscript no longer can"

' ---- both unregistered: nothing is left ----
Eq Register(32, "/u"), 0, "the x86 DLL unregistered too"
Eq KeyBits("HKLM"), "00 00 00", "no key in either view"
Ok Not Creates(32) And Not Creates(64), "neither cscript creates the object"

' ---- per user: HKCU\Software\Classes ----
' Wine 8 keeps one view of HKCU\Software\Classes (no Wow6432Node there): both DLLs write the
' same CLSID key, the later one's path wins, so only the shared parts are told apart here.
Eq Register(64, "/n /i:user"), 0, "regsvr32 /n /i:user registers the x64 DLL for the user"
Eq Register(32, "/n /i:user"), 0, "and the 32-bit one the x86 DLL"
Eq KeyBits("HKCU"), "11 11 11", "the user's keys (one CLSID and Interface key seen from both views)"
Eq Platforms("HKCU"), "win32 win64", "the user's type library key has both platforms"
Eq KeyBits("HKLM"), "00 00 00", "nothing for the machine"
Eq Register(64, "/u /n /i:user"), 0, "the x64 DLL unregistered for the user"
Eq Register(32, "/u /n /i:user"), 0, "the x86 DLL unregistered for the user"
Eq KeyBits("HKCU"), "00 00 00", "no key is left for the user"

' ---- as wine64.setup left it ----
Eq Register(64, ""), 0, "the x64 DLL registered again"
Eq Register(32, ""), 0, "the x86 DLL registered again"
Ok Creates(64) And Creates(32), "both cscripts create the object again"
Finish
