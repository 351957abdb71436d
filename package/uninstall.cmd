@echo off
rem Takes away what install.cmd registered.
rem
rem   uninstall.cmd             for the current user
rem   uninstall.cmd /machine    for all users (from a command prompt opened as administrator)
call "%~dp0install.cmd" /uninstall %*
exit /b %errorlevel%
