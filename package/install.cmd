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
rem On Windows on ARM the 64-bit script hosts are ARM64 programs, which cannot load an x64 DLL:
rem only the x86 DLL is registered there, for the 32-bit script hosts in SysWOW64.
rem The DLLs are registered where they are: run uninstall.cmd before moving or deleting them.
rem
rem The folder may have any name Windows allows, such as "Ombrisk (1)", "Tom & Jerry" or
rem "100% done": a path is expanded only between double quotes and never inside a
rem parenthesised block, and never handed to CALL, which would expand any %...% in it again.
rem Started by a double-click, the script waits for a key before its window closes.
rem Exit code: 0 done, 1 a registration failed, 2 unknown option.
setlocal EnableExtensions DisableDelayedExpansion
set "ACTION=install"
set "SCOPE=user"
set "RC=0"
call :started_by_explorer

:args
if "%~1"=="" goto chosen
if /i "%~1"=="/machine" set "SCOPE=machine"& shift & goto args
if /i "%~1"=="/user" set "SCOPE=user"& shift & goto args
if /i "%~1"=="/uninstall" set "ACTION=uninstall"& shift & goto args
if "%~1"=="/?" goto usage
echo Unknown option: "%~1"
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
set "ARM64="
if /i "%PROCESSOR_ARCHITECTURE%"=="ARM64" set "ARM64=1"
if /i "%PROCESSOR_ARCHITEW6432%"=="ARM64" set "ARM64=1"
if not exist "%SystemRoot%\SysWOW64\regsvr32.exe" goto found
set "REG32=%SystemRoot%\SysWOW64\regsvr32.exe"
if defined ARM64 goto found
set "REG64=%SystemRoot%\System32\regsvr32.exe"
if exist "%SystemRoot%\Sysnative\regsvr32.exe" set "REG64=%SystemRoot%\Sysnative\regsvr32.exe"
:found

set "FAILED=0"
set "REG=%REG32%"
set "DLL=%HERE%x86\Ombrisk.dll"
set "BITS=32"
call :one
if not defined REG64 goto registered
set "REG=%REG64%"
set "DLL=%HERE%x64\Ombrisk.dll"
set "BITS=64"
call :one
:registered
if defined ARM64 echo Windows on ARM: the x64 DLL is left out, as the ARM64 script hosts cannot load it; run scripts with %%SystemRoot%%\SysWOW64\cscript.exe or wscript.exe.
if "%FAILED%"=="0" goto done
echo.
if "%SCOPE%"=="machine" echo Registering for all users needs a command prompt opened as administrator.
set "RC=1"
goto finish

:done
if not "%ACTION%"=="install" goto finish
echo Ombrisk is ready: scripts can call CreateObject("Ombrisk.Helper").
if "%SCOPE%"=="user" echo If your file manager runs as administrator, its scripts ignore this registration: run "install.cmd /machine" from a command prompt opened as administrator.
goto finish

rem Registers or unregisters %DLL% with %REG% for %BITS%-bit script hosts.
:one
if exist "%DLL%" goto present
for %%p in ("%DLL%") do echo Missing file: %%~p
set "FAILED=1"
goto :eof
:present
"%REG%" %OPTIONS% "%DLL%"
if not errorlevel 1 goto succeeded
echo %ACTION% for %BITS%-bit script hosts, %WHO%: failed ^(regsvr32 exit code %errorlevel%^)
set "FAILED=1"
goto :eof
:succeeded
for %%p in ("%DLL%") do echo %DONE% for %BITS%-bit script hosts, %WHO%: %%~p
goto :eof

rem CLICKED=1 when Explorer (or another program through the shell) started this script in a
rem console of its own, which closes as soon as the script ends: its command line is then
rem cmd.exe /c ""<script>" <options>". The quotes in it are first replaced by "*", which no
rem file name holds, so that no character of the folder's name is parsed as part of a command.
:started_by_explorer
set "CLICKED=0"
set "LINE=%cmdcmdline:"=*%"
set "LINE=%LINE:"=%"
set "REST=%LINE:/c **=%"
if not "%REST%"=="%LINE%" set "CLICKED=1"
goto :eof

:usage
echo Usage: install.cmd [/machine]    registers Ombrisk for the current user, or for all users
echo        uninstall.cmd [/machine]  takes that registration away
set "RC=2"

:finish
if "%CLICKED%"=="1" pause
exit /b %RC%
