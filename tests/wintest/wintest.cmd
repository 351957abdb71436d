@echo off
rem Ombrisk's conformance kit: runs wintest.js with this console's script host, then waits for
rem a key so that a double-click leaves the result on the screen. Arguments go to wintest.js.
cscript //nologo "%~dp0wintest.js" %*
set WINTEST_RC=%ERRORLEVEL%
echo.
echo The report is wintest-report.txt in this folder. Press a key to close this window.
pause >nul
exit /b %WINTEST_RC%
