@echo off
rem A build step that counts the builds: ZQMV5.exe adds the next version line
rem to the version file (Version.zqi in the current folder, or the name in
rem .\ZQMV5.ini [FileName] Name), and the build fails when it could not.
rem
rem   next_version.cmd [Note...]
rem
rem ZQMV5.exe is the one named by the variable ZQMV5, or the one beside this
rem file. Status 0: the line was added, or updates are turned off
rem ([Status] On=0 in .\ZQMV5.ini). Status 1: the version file is held by
rem another program (an open Log/Version window), or could not be read or
rem written; it is left as it was. ZQMV5.LOG in the current folder tells why.
setlocal
if not defined ZQMV5 set "ZQMV5=%~dp0ZQMV5.exe"
"%ZQMV5%" /Q VERSION %*
set status=%errorlevel%
if not %status%==0 (
  echo next_version: ZQMV5.exe VERSION failed with status %status%; the build stops. 1>&2
  exit /b %status%
)
exit /b 0
