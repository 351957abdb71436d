@echo off
rem Takes away what install.cmd registered.
rem
rem   uninstall.cmd             for the current user
rem   uninstall.cmd /machine    for all users (from a command prompt opened as administrator)
rem
rem install.cmd is started without CALL: CALL would expand any %...% in the folder's name a
rem second time. Control passes to install.cmd for good, and its exit code is this script's.
"%~dp0install.cmd" /uninstall %*
