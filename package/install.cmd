@echo off
rem Registers Ombrisk for the script hosts of this system (wscript.exe and cscript.exe).
rem
rem   install.cmd             for the current user; no administrator rights needed
rem   install.cmd /machine    for all users; run it from a command prompt opened as administrator
rem   uninstall.cmd [/machine] takes the registration away again
rem
rem On 64-bit Windows there are two script hosts: the 64-bit one in %SystemRoot%\System32 and
rem the 32-bit one in %SystemRoot%\SysWOW64. Each loads only a DLL of its own bitness, so the
rem x64 DLL is registered with the 64-bit regsvr32 and the x86 DLL with the 32-bit one.
rem The DLLs are registered where they are: run uninstall.cmd before moving or deleting them.
setlocal EnableExtensions
set "ACTION=install"
set "SCOPE=user"

:args
if "%~1"=="" goto chosen
if /i "%~1"=="/machine" set "SCOPE=machine"& shift & goto args
if /i "%~1"=="/user" set "SCOPE=user"& shift & goto args
if /i "%~1"=="/uninstall" set "ACTION=uninstall"& shift & goto args
if "%~1"=="/?" goto usage
echo Unknown option: %~1
goto usage

:chosen
set "HERE=%~dp0"
set "OPTIONS=/s"
set "DONE=Registered"
if "%ACTION%"=="uninstall" set "OPTIONS=/s /u"& set "DONE=Unregistered"
set "WHO=the current user"
if "%SCOPE%"=="machine" set "WHO=all users"
if "%SCOPE%"=="user" set "OPTIONS=%OPTIONS% /n /i:user"

rem Which regsvr32 serves which bitness. A 32-bit command prompt on 64-bit Windows sees the
rem 64-bit System32 folder only as Sysnative.
set "REG32=%SystemRoot%\System32\regsvr32.exe"
set "REG64="
if not exist "%SystemRoot%\SysWOW64\regsvr32.exe" goto found
set "REG32=%SystemRoot%\SysWOW64\regsvr32.exe"
set "REG64=%SystemRoot%\System32\regsvr32.exe"
if exist "%SystemRoot%\Sysnative\regsvr32.exe" set "REG64=%SystemRoot%\Sysnative\regsvr32.exe"
:found

set "FAILED=0"
call :one "%REG32%" "%HERE%x86\Ombrisk.dll" 32
if defined REG64 call :one "%REG64%" "%HERE%x64\Ombrisk.dll" 64
if "%FAILED%"=="0" goto done
echo.
if "%SCOPE%"=="machine" echo Registering for all users needs a command prompt opened as administrator.
exit /b 1

:done
if not "%ACTION%"=="install" exit /b 0
echo Ombrisk is ready: scripts can call CreateObject("Ombrisk.Helper").
exit /b 0

rem %1 regsvr32 of one bitness, %2 the DLL of that bitness, %3 the bitness.
:one
if not exist "%~2" (
  echo Missing file: %~2
  set "FAILED=1"
  goto :eof
)
"%~1" %OPTIONS% "%~2"
if errorlevel 1 (
  echo %ACTION% for %3-bit script hosts, %WHO%: failed ^(regsvr32 exit code %errorlevel%^)
  set "FAILED=1"
) else (
  echo %DONE% for %3-bit script hosts, %WHO%: %~2
)
goto :eof

:usage
echo Usage: install.cmd [/machine]    registers Ombrisk for the current user, or for all users
echo        uninstall.cmd [/machine]  takes that registration away
exit /b 2
