; An add-on installer for Clarion 5 that sets the IDE up with ZQMV5.exe, run
; unattended (/Q): a user menu entry, an include line in the IDE's template
; chain, the library source folder, and the chain registered with the IDE.
; Each run's exit status is checked; on a failure the installation stops and
; says what ZQMV5.exe said. The uninstaller takes the menu entry, the include
; line and the library source folder back (UNUSERMENU, UNINCLUDE, UNLIBSRC)
; before it removes the files.
;
;   makensis [-DZQMV5_EXE=path\ZQMV5.exe] [-DOUTFILE=Setup.exe] example_addon.nsi
;   Setup.exe [/S] [/D=C:\path of the IDE]
;
; It assumes that ZQMV5.exe finds the IDE (ZQMV5.ini in the Windows folder, or
; the IDE's own WIN.INI entries), that the installation folder is the IDE's
; root, and that the chain below lies in it. Keep each ZQMV5.exe command line
; under 254 characters: ZQMV5.exe reads no further.

Unicode true
!include LogicLib.nsh

!ifndef ZQMV5_EXE
  !define ZQMV5_EXE "ZQMV5.exe"
!endif
!ifndef OUTFILE
  !define OUTFILE "ExampleAddonSetup.exe"
!endif
; The template chain that takes in the add-on's templates, under the IDE's root.
!define CHAIN "TEMPLATE\CHAIN.TPL"

Name "Example Add-on"
OutFile "${OUTFILE}"
InstallDir "C:\C5"
; Unelevated, like the IDE: elevated, ZQMV5.exe would change the INI files
; that Windows keeps for administrators, not the ones the IDE reads.
RequestExecutionLevel user
ShowInstDetails show
ShowUninstDetails show
Page directory
Page instfiles
UninstPage instfiles

; Runs ZQMV5.exe /Q ARGS in the add-on's folder (where its ZQMV5.LOG stays)
; and stops when the exit status is not 0.
!macro ZQMV5 ARGS
  nsExec::ExecToStack '"$AddonDir\ZQMV5.exe" /Q ${ARGS}'
  Pop $0  ; the exit status, or "error" when ZQMV5.exe did not start
  Pop $1  ; what it wrote: one line per message
  ; Backquotes, since ARGS holds double quotes.
  DetailPrint `ZQMV5.exe ${ARGS}: status $0 $1`
  ${If} $0 != 0
    ${If} $0 == 1
      StrCpy $2 "The command failed."
    ${ElseIf} $0 == 2
      StrCpy $2 "The command line is wrong (a fault of this installer)."
    ${ElseIf} $0 == 3
      StrCpy $2 "Clarion 5 was not found: ZQMV5.ini or WIN.INI names no IDE."
    ${Else}
      StrCpy $2 "ZQMV5.exe could not be run."
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP `ZQMV5.exe ${ARGS}$\n$\n$2$\n$1$\nSee ZQMV5.LOG in $AddonDir.` /SD IDOK
    Abort "ZQMV5.exe failed with status $0."
  ${EndIf}
!macroend

Var AddonDir
Var IdeRoot

Section "Example Add-on"
  StrCpy $IdeRoot $INSTDIR
  StrCpy $AddonDir "$IdeRoot\ExampleAddon"
  SetOutPath $AddonDir
  File "${ZQMV5_EXE}"
  File "ReadMe.txt"
  ; Written first, so that it can take back whatever the steps below did.
  WriteUninstaller "$AddonDir\Uninstall.exe"
  SetOutPath "$IdeRoot\TEMPLATE"
  File "ExampleAddon.tpw"
  SetOutPath $AddonDir

  !insertmacro ZQMV5 'USERMENU ExampleAddon "Example+Addon-Read+me" notepad.exe "$AddonDir\ReadMe.txt"'
  !insertmacro ZQMV5 'INCLUDE "$IdeRoot\${CHAIN}" ExampleAddon.tpw'
  ; The add-on's classes are among the IDE's own library sources. ZQMV5.exe
  ; records the folder it replaces, for UNLIBSRC in the uninstaller.
  !insertmacro ZQMV5 'LIBSRC "$IdeRoot\LIBSRC"'
  ; Last: the IDE reads the chain as the include line left it. REG starts the
  ; IDE when it is not running, and leaves it running.
  !insertmacro ZQMV5 'REG "$IdeRoot\${CHAIN}"'
SectionEnd

Section "Uninstall"
  ; The uninstaller lies in the add-on's folder, below the IDE's root.
  StrCpy $AddonDir $INSTDIR
  GetFullPathName $IdeRoot "$INSTDIR\.."
  SetOutPath $AddonDir
  ; The include line goes before the file it names: a chain that includes a
  ; missing file no longer loads.
  !insertmacro ZQMV5 'UNUSERMENU ExampleAddon'
  ; No chain, nothing to take out of it (UNINCLUDE would fail on a missing file).
  ${If} ${FileExists} "$IdeRoot\${CHAIN}"
    !insertmacro ZQMV5 'UNINCLUDE "$IdeRoot\${CHAIN}" ExampleAddon.tpw'
  ${EndIf}
  ; The same path as the installer's LIBSRC: the folder it replaced comes back
  ; (nothing to take back, and status 0, when LIBSRC did not run).
  !insertmacro ZQMV5 'UNLIBSRC "$IdeRoot\LIBSRC"'
  Delete "$IdeRoot\TEMPLATE\ExampleAddon.tpw"
  SetOutPath $IdeRoot
  Delete "$AddonDir\ZQMV5.exe"
  Delete "$AddonDir\ZQMV5.LOG"
  Delete "$AddonDir\ZQDE.LOG"
  Delete "$AddonDir\ReadMe.txt"
  Delete "$AddonDir\Uninstall.exe"
  RMDir $AddonDir
SectionEnd
