; The Windows installer of Tarquelin whois, built by release.sh, which defines VERSION, TARGET
; (amd64-unicode or x86-unicode), EXE (the stripped program) and OUTFILE. It installs for the
; current user only, so it needs no administrator rights.
Target ${TARGET}
!include MUI2.nsh

!define PRODUCT "Tarquelin whois"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarquelinWhois"
; Where the program keeps its settings (colours, font, window place, custom servers).
!define SETTINGS_KEY "Software\Tarquelin\Whois"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey CompanyName "Tarquelin"
VIAddVersionKey LegalCopyright "Copyright ${U+00A9} Tarquelin"
VIAddVersionKey FileDescription "${PRODUCT} ${VERSION} setup"
VIAddVersionKey FileVersion "${VERSION}"

!define MUI_ICON "../src/res/whois.ico"
!define MUI_UNICON "../src/res/whois.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\whois.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "/oname=whois.exe" "${EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\whois.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tarquelin"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\whois.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    ; The settings are the user's: kept unless the user says otherwise (and always in silent mode).
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "Also remove your ${PRODUCT} settings (colours, font, window place and custom servers)?" \
        /SD IDNO IDNO keep_settings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Tarquelin"
keep_settings:

    Delete "$INSTDIR\whois.exe"
    Delete "$INSTDIR\uninstall.exe"
    ; Only an empty folder goes: anything the user put there stays.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ; The entry goes last: until everything else is done, the uninstaller can be run again from it.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
