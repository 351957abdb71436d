"""install.cmd and uninstall.cmd read as cmd.exe on Windows parses them: no path is expanded
where a ")", "&" or "%" in a folder name would change the command. Runs without Wine."""

import unittest
from pathlib import Path

import cmdtext

ROOT = Path(__file__).absolute().parents[2]


class PackageScripts(unittest.TestCase):
    def test_no_path_is_expanded_unsafely(self):
        for name in ("install.cmd", "uninstall.cmd"):
            with self.subTest(script=name):
                text = (ROOT / "package" / name).read_text(encoding="latin-1")
                self.assertEqual(cmdtext.check(text), [])


class Reading(unittest.TestCase):
    """The reading finds each way a folder name breaks a batch file, and passes the safe forms."""

    BAD = {
        "echo in a block": 'if exist "%~dp0x.dll" (\n  echo Found %~dp0x.dll\n)\n',
        "else block": 'set "D=%~dp0"\nif errorlevel 1 (\n  echo no\n) else (\n  echo Done: %D%x.dll\n)\n',
        "one-line block": 'set "D=%~dp0"\nif defined D (echo %D%)\n',
        "& splits a plain line": 'set "D=%~dp0"\necho %D%\n',
        "derived variable": 'set "A=%~dp0"\nset "B=%A%x86"\nset "C=%B%\\Ombrisk.dll"\necho %C%\n',
        "environment path": "echo %LOCALAPPDATA%\\Ombrisk\n",
        "argument without quotes": "echo Unknown option: %~1\n",
        "call with a path": 'call :one "%~dp0x.dll"\n',
        "call after if": 'if defined X call "%~dp0install.cmd" /u\n',
        "call passes arguments on": 'call "install.cmd" %*\n',
        "percent under delayed expansion": 'setlocal EnableDelayedExpansion\nset "X=%~dp0"\n',
    }
    SAFE = {
        "quoted in a block": 'if exist "%~dp0x.dll" (\n  "%SystemRoot%\\System32\\regsvr32.exe" /s "%~dp0x.dll"\n)\n',
        "fixed text": 'set "W=all users"\nif 1==1 (\n  echo Done for %W%: %errorlevel%\n)\n',
        "for variable": 'for %%p in ("%~dp0x.dll") do echo %%~p\n',
        "literal percent": "echo %%SystemRoot%%\\SysWOW64\n",
        "comment": "rem the folder %~dp0 & more\n",
        "escaped parentheses": 'set "D=%~dp0"\necho failed ^(code^) "%D%"\n',
        "chained with quotes kept": '"%~dp0install.cmd" /uninstall %*\n',
        "delayed expansion ended": 'setlocal EnableDelayedExpansion\nset "L=!cmdcmdline!"\nendlocal\nset "X=%~dp0"\n',
        "echo with parentheses": 'echo call CreateObject("Ombrisk.Helper").\nset "D=%~dp0"\n',
    }

    def test_faults_are_found(self):
        for what, text in self.BAD.items():
            with self.subTest(what):
                self.assertNotEqual(cmdtext.check(text), [], text)

    def test_safe_forms_pass(self):
        for what, text in self.SAFE.items():
            with self.subTest(what):
                self.assertEqual(cmdtext.check(text), [], text)


if __name__ == "__main__":
    unittest.main()
