; The Windows installer (scripts/package-windows; makensis from Debian's nsis package). It installs
; for the user who runs it, without administrator rights, into %LOCALAPPDATA%\Programs\Tarvelo,
; puts "Tarvelo" into that user's Start menu, started with --menu so that the settings and the log
; go to %APPDATA%\Tarvelo, and registers its uninstaller under HKCU. /S installs without a word.
; The build gives VERSION, VERSION_NUMBERS (four numbers), PUBLISHER, COPYRIGHT, STAGE (the
; folder of the files to install), ICON and OUTFILE.
Unicode true
!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo"

Name "Tarvelo"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarvelo"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=1041 "ProductName" "Tarvelo"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "Tarvelo ${VERSION} Setup"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvelo.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--menu"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README-ja.txt"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section
    SetOutPath "$INSTDIR"
    File "${STAGE}/tarvelo.exe"
    File "${STAGE}/tarvelo-send.exe"
    File "${STAGE}/LICENSE.txt"
    File "${STAGE}/README-ja.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Tarvelo.lnk" "$INSTDIR\tarvelo.exe" "--menu" \
                   "$INSTDIR\tarvelo.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarvelo"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvelo.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KiB, as "Apps & features" shows it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Only what the installer wrote. %APPDATA%\Tarvelo holds the user's settings and log, and stays;
; the folder itself goes only when nothing else was put into it.
Section "Uninstall"
    Delete "$SMPROGRAMS\Tarvelo.lnk"
    Delete "$INSTDIR\tarvelo.exe"
    Delete "$INSTDIR\tarvelo-send.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README-ja.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
