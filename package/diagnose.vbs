' diagnose.vbs
'
' Tells why a script cannot use Ombrisk, or shows that it can: the script host's bitness,
' where Ombrisk.Helper is registered (for this user, for the machine, 32-bit and 64-bit), the
' .msi package that installed it, the DLL this script host loads with its version, what the
' object finds (TCPath, MainINI, FTPINI), whether the file manager runs, both panel paths,
' and whether this script and the file manager run with the same rights (a file manager run as
' administrator and a script that is not, or the reverse, cannot talk), and whether VBScript is
' installed.
'
'   cscript diagnose.vbs          run it from a command prompt, or
'   wscript diagnose.vbs          from a button: the result comes in a message box
'
' Run it with the script host your buttons use (a 32-bit file manager starts the 32-bit one).
' Exit code 0 when all is well, 1 when something needs attention (listed at the end), 2 when
' this script host cannot create Ombrisk.Helper. A missing VBScript is listed as advice only:
' it leaves the exit code alone, since JScript scripts run without it.
Option Explicit

Const CLSID = "{3890865D-5A76-461F-8868-A39B7E567D7D}"
Const PROGID = "Ombrisk.Helper"
Const UPGRADE_CODE = "{ECC7C659-E5B7-4867-80A1-3A70A7D9CEE8}"

Dim sh, fso, report, problems, advice, vbscript, arch, hostBits, osBits, i, arg, probeFile, f, tmp, probe, active, otherBits

Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")

' The registry value of the class's server in this process's own registry view, "" when absent.
Function ServerIn(root)
  ServerIn = ""
  On Error Resume Next
  ServerIn = sh.RegRead(root & "\Software\Classes\CLSID\" & CLSID & "\InprocServer32\")
  Err.Clear
End Function

' /probe <file>: write this view's two values (user, machine) to the file, in UTF-16, for the
' copy of this script that runs in the other bitness's script host.
probeFile = ""
For i = 0 To WScript.Arguments.Count - 2
  If LCase(WScript.Arguments(i)) = "/probe" Then probeFile = WScript.Arguments(i + 1)
Next
If probeFile <> "" Then
  Set f = fso.CreateTextFile(probeFile, True, True)
  f.Write "user=" & ServerIn("HKCU") & vbCrLf & "machine=" & ServerIn("HKLM") & vbCrLf
  f.Close
  WScript.Quit 0
End If

report = ""
problems = ""
advice = ""

Sub Line(label, text)
  report = report & Left(label & ":" & Space(26), 26) & text & vbCrLf
End Sub

Sub Problem(text)
  problems = problems & "  - " & text & vbCrLf
End Sub

' The VBScript engine this script host would load: its registration and the file it names
' (Windows without its VBScript feature lacks one or both); "" when there is none.
Function VBScriptEngine()
  Dim path
  path = ""
  On Error Resume Next
  path = sh.RegRead("HKCR\CLSID\{B54F3741-5B07-11cf-A4B0-00AA004A55E8}\InprocServer32\")
  Err.Clear
  On Error GoTo 0
  ' Wine's ExpandEnvironmentStrings keeps the terminating NUL in its result.
  path = Replace(Replace(sh.ExpandEnvironmentStrings(path), Chr(0), ""), """", "")
  If path <> "" And InStr(path, "\") = 0 Then path = fso.BuildPath(fso.GetSpecialFolder(1).Path, path)
  VBScriptEngine = ""
  If path <> "" Then
    If fso.FileExists(path) Then VBScriptEngine = path
  End If
End Function

' ---- the script host --------------------------------------------------------------------
arch = sh.Environment("Process")("PROCESSOR_ARCHITECTURE")
If UCase(arch) = "X86" Then hostBits = 32 Else hostBits = 64
otherBits = 96 - hostBits
osBits = hostBits
If sh.Environment("Process")("PROCESSOR_ARCHITEW6432") <> "" Then osBits = 64
Line "Script host", WScript.FullName & " (" & hostBits & "-bit, " & arch & ")"
Line "Windows", osBits & "-bit"
vbscript = VBScriptEngine()
If vbscript <> "" Then
  Line "VBScript", "installed (" & vbscript & ")"
Else
  Line "VBScript", "not installed: run JScript scripts (.js), or see docs\from-vbscript.html"
  advice = "  - VBScript is not installed: .vbs scripts do not run, .js scripts do. Use the .js " & _
    "examples and move your scripts to JScript (docs\from-vbscript.html), or add the " & _
    "optional feature VBSCRIPT of Windows meanwhile." & vbCrLf
End If
If UCase(arch) = "ARM64" Then
  Problem "This is the ARM64 script host, which cannot load Ombrisk. Start scripts with " & _
    "%windir%\SysWOW64\wscript.exe (32-bit) instead."
End If

' ---- registration ------------------------------------------------------------------------
Dim own(1), other(1), otherKnown, scopes, s, value, used, usedScope

' own(0) per user, own(1) per machine, in this host's view; other(..) in the other view.
own(0) = ServerIn("HKCU")
own(1) = ServerIn("HKLM")
other(0) = ""
other(1) = ""
otherKnown = False
If osBits = 64 Then
  If hostBits = 64 Then
    ' The 32-bit view is readable here under its own name.
    On Error Resume Next
    other(0) = sh.RegRead("HKCU\Software\Classes\Wow6432Node\CLSID\" & CLSID & "\InprocServer32\")
    If Err.Number <> 0 Then other(0) = ""
    Err.Clear
    other(1) = sh.RegRead("HKLM\Software\Classes\Wow6432Node\CLSID\" & CLSID & "\InprocServer32\")
    If Err.Number <> 0 Then other(1) = ""
    Err.Clear
    On Error GoTo 0
    otherKnown = True
  Else
    ' A 32-bit host sees only the 32-bit view: ask the 64-bit script host to read its own.
    tmp = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName())
    sh.Run """" & fso.GetSpecialFolder(0).Path & "\Sysnative\cscript.exe"" //nologo """ & _
      WScript.ScriptFullName & """ /probe """ & tmp & """", 0, True
    If fso.FileExists(tmp) Then
      Set probe = fso.OpenTextFile(tmp, 1, False, -1)
      Do While Not probe.AtEndOfStream
        value = probe.ReadLine
        If Left(value, 5) = "user=" Then other(0) = Mid(value, 6)
        If Left(value, 8) = "machine=" Then other(1) = Mid(value, 9)
      Loop
      probe.Close
      fso.DeleteFile tmp, True
      otherKnown = True
    End If
  End If
End If

scopes = Array("for this user", "for the machine")
Function Described(path)
  If path = "" Then
    Described = "not registered"
  ElseIf Not fso.FileExists(path) Then
    Described = path & " (the file is missing)"
  Else
    Described = path & " (version " & fso.GetFileVersion(path) & ")"
  End If
End Function

For s = 0 To 1
  Line hostBits & "-bit, " & scopes(s), Described(own(s))
Next
If osBits = 64 Then
  For s = 0 To 1
    If otherKnown Then
      Line otherBits & "-bit, " & scopes(s), Described(other(s))
    Else
      Line otherBits & "-bit, " & scopes(s), "cannot tell (the other script host did not answer)"
    End If
  Next
End If

' The Windows Installer packages of Ombrisk (the .msi files) installed for this user or for the
' machine, found by the upgrade code all their versions share: their versions and folders.
Dim packageFolder, packageCount
Function InstallerPackages()
  Dim installer, codes, n, found
  found = ""
  packageCount = 0
  On Error Resume Next
  Set installer = CreateObject("WindowsInstaller.Installer")
  Set codes = installer.RelatedProducts(UPGRADE_CODE)
  packageCount = codes.Count  ' read before the loop: Wine's VBScript loops forever on a failing bound
  For n = 0 To packageCount - 1
    packageFolder = installer.ProductInfo(codes.Item(n), "InstallLocation")
    If found <> "" Then found = found & "; "
    found = found & "Ombrisk " & installer.ProductInfo(codes.Item(n), "VersionString") & " in " & packageFolder
  Next
  If Err.Number <> 0 Then found = "cannot tell (" & Err.Description & ")"
  On Error GoTo 0
  If found = "" Then found = "none"
  InstallerPackages = found
End Function
Line "Installer package", InstallerPackages()

' The per-user registration wins over the machine's, as the script host finds it.
used = own(0)
usedScope = scopes(0)
If used = "" Then
  used = own(1)
  usedScope = scopes(1)
End If
If used = "" Then
  Problem "Ombrisk is not registered for " & hostBits & "-bit script hosts: run install.cmd " & _
    "(install.cmd /machine for all users)."
ElseIf Not fso.FileExists(used) Then
  Problem "The registered DLL " & used & " is missing: the folder was moved or deleted. Run " & _
    "install.cmd from the folder where Ombrisk is now."
End If
If used <> "" And packageCount = 1 Then
  If InStr(1, used, packageFolder, vbTextCompare) <> 1 Then
    Problem "This script host loads " & used & ", not the DLL of the installed package in " & packageFolder & _
      ": a registration made by install.cmd " & usedScope & " comes first. Run uninstall.cmd in that folder."
  End If
End If
If osBits = 64 And otherKnown And other(0) = "" And other(1) = "" Then
  Problem "Ombrisk is not registered for " & otherBits & "-bit script hosts: scripts started " & _
    "by those fail. Run install.cmd to register both."
End If

' What the DLL's rights check says about this script and the file manager: same, host-higher,
' script-higher or unknown. rundll32 of this script host's bitness runs it with this script's
' rights: a script cannot read the rights of another process itself.
Function RightsCheck(dll)
  Dim file, stream, text
  RightsCheck = "unknown"
  text = ""
  file = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName())
  sh.Run "rundll32.exe """ & dll & """,RightsCheck " & file, 0, True
  If fso.FileExists(file) Then
    Set stream = fso.OpenTextFile(file, 1)
    If Not stream.AtEndOfStream Then text = stream.ReadLine
    stream.Close
    fso.DeleteFile file, True
  End If
  If Left(text, 7) = "rights=" Then RightsCheck = Mid(text, 8)
End Function

' ---- the object --------------------------------------------------------------------------
Dim h, created, running, rights
On Error Resume Next
Set h = CreateObject(PROGID)
created = (Err.Number = 0)
If Not created Then Line "Ombrisk.Helper", "cannot be created: " & Err.Description & " (error " & Err.Number & ")"
Err.Clear
On Error GoTo 0

If created Then
  Line "This host loads", used & " (" & usedScope & ")"
  Line "TCPath", h.TCPath
  Line "MainINI", h.MainINI
  Line "FTPINI", h.FTPINI
  running = h.IsRunningTC
  Line "IsRunningTC", CStr(running)
  If running Then
    active = h.GetInfo("A")
    Line "Source panel", h.GetSrcPath()
    Line "Target panel", h.GetTrgPath()
    Line "Active side", active
    rights = RightsCheck(used)
    Select Case rights
      Case "same"
        Line "Rights", "the same as the file manager's"
      Case "host-higher"
        Line "Rights", "the file manager runs as administrator and this script does not"
        Problem "Rights differ: the file manager runs as administrator and this script does not. " & _
          "Windows keeps this script's requests and keys from it. Start the script from the file " & _
          "manager, or start both the same way."
      Case "script-higher"
        Line "Rights", "this script runs as administrator and the file manager does not"
        Problem "Rights differ: this script runs as administrator and the file manager does not. " & _
          "Windows keeps the file manager's answers from the script. Start both the same way."
      Case Else
        Line "Rights", "cannot tell"
    End Select
    ' Differing rights explain missing paths already.
    If (h.GetSrcPath() = "" Or h.GetTrgPath() = "") And (rights = "same" Or rights = "unknown") Then
      Problem "The file manager runs but did not tell its panel paths."
    End If
  Else
    Problem "The file manager is not running."
  End If
Else
  Problem "This script host (" & WScript.FullName & ") cannot create Ombrisk.Helper."
End If

Dim code
If Not created Then
  code = 2
ElseIf problems <> "" Then
  code = 1
Else
  code = 0
End If
If problems & advice = "" Then
  report = report & vbCrLf & "All is well." & vbCrLf
Else
  report = report & vbCrLf & "To look at:" & vbCrLf & problems & advice
End If
WScript.Echo Left(report, Len(report) - 2)
WScript.Quit code
