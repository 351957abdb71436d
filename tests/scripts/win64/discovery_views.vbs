' The x64 DLL finds the host's machine-wide values where a 32-bit installer puts them, in the
' 32-bit registry view (HKLM\Software\Wow6432Node), and prefers those of its own view.
Dim h, key

key = "HKLM\SOFTWARE\Ghisler\Total Commander"

Sub RegSet(bits, name, data)
    Eq RunWait("reg add """ & key & """ /v " & name & " /t REG_SZ /d """ & data & """ /f /reg:" & bits), 0, _
        "reg add " & name & " in the " & bits & "-bit view"
End Sub

Sub ClearRegistry()
    RunWait "reg delete ""HKCU\SOFTWARE\Ghisler\Total Commander"" /f"
    RunWait "reg delete """ & key & """ /f /reg:32"
    RunWait "reg delete """ & key & """ /f /reg:64"
End Sub

ClearRegistry
StopHost
Dim registryBack
Set registryBack = PutBackLater("cmd /c reg delete ""HKCU\SOFTWARE\Ghisler\Total Commander"" /f & reg delete """ & key & _
  """ /f /reg:32 & reg delete """ & key & """ /f /reg:64")
RegSet 32, "InstallDir", "C:\tc32"
RegSet 32, "IniFileName", "C:\tc32\wincmd32.ini"
Set h = CreateObject("Ombrisk.Helper")
Eq h.TCPath, "C:\tc32", "InstallDir from the 32-bit view"
Eq h.MainINI, "C:\tc32\wincmd32.ini", "IniFileName from the 32-bit view"
Eq h.FTPINI, "wcx_ftp.ini", "nothing in either view: the bare name"

RegSet 64, "InstallDir", "C:\tc64"
Set h = CreateObject("Ombrisk.Helper")
Eq h.TCPath, "C:\tc64", "the 64-bit view's own value comes first"
Eq h.MainINI, "C:\tc32\wincmd32.ini", "a value only the 32-bit view has is still found"

Set h = Nothing
registryBack.Run
Finish
