// GetIniFiles with settings-file paths outside the ANSI code page in the host's dialog: the
// dialog text is read as Unicode, so both paths come back exactly, not with question marks.
var main = "C:\\\u0416\u03a9\\wincmd.ini", ftp = "D:\\\u4e2d\u6587 \u00e9t\u00e9\\wcx_ftp.ini";
ExpectFromHost("expect_cmd=690");
StartHost("dialog_text=INI-Files: " + main + "<CR>" + ftp);
var h = new ActiveXObject("Ombrisk.Helper");
Eq(h.GetIniFiles(), true, "the paths were read");
Eq(h.MainINI, main, "MainINI with Cyrillic and Greek letters");
Eq(h.FTPINI, ftp, "FTPINI with CJK and Latin-1 letters");

StopHost();
Finish();
