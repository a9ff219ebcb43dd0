; Installer of the add-on: C:\Program Files\Korvanta\ and the plug-in bundle that AutoCAD
; loads at start-up. Built with makensis; defines passed by the build:
;   OUTFILE          the installer to write
;   VERSION          the project's version
;   INSTALLED_FILES  installed_files.nsh, which installer/CMakeLists.txt writes from the build's
;                    list of installed files (KorvantaSetup.msi installs the same):
;                    KVS_INSTALL_FILES puts them in place, KVS_REMOVE_FILES removes them and
;                    the folders they leave empty
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

Name "Korvanta switch for ACADE"
OutFile "${OUTFILE}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Korvanta switch for ACADE"
VIAddVersionKey "CompanyName" "Korvanta"
VIAddVersionKey "LegalCopyright" "Korvanta"
VIAddVersionKey "FileDescription" "Korvanta switch for ACADE setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
InstallDir "$PROGRAMFILES64\Korvanta"
ShowInstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvanta"
!define BUNDLE "$APPDATA\Autodesk\ApplicationPlugins\Korvanta.bundle"
!include /CHARSET=UTF8 "${INSTALLED_FILES}"

; The add-on works only from its fixed folder: no page offers another.
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; With SetShellVarContext all, $APPDATA is the machine-wide ProgramData folder.
Function .onInit
  SetShellVarContext all
  SetRegView 64
  ; An installation made with KorvantaSetup.msi lists the same files: the two would remove
  ; each other's.
  System::Call 'msi::MsiEnumRelatedProductsW(w "${MSI_UPGRADE_CODE}", i 0, i 0, w .r0) i .r1'
  StrCmp $1 0 0 done
    MessageBox MB_OK|MB_ICONSTOP "The add-on is installed with its Windows Installer package (KorvantaSetup.msi). Remove that installation (Programs and Features, or msiexec /x) before running KorvantaSetup.exe." /SD IDOK
    SetErrorLevel 4
    Quit
  done:
FunctionEnd

Section "Add-on"
  ; The bundle holds one module per ObjectARX family; its manifest tells AutoCAD which one
  ; fits the release.
  !insertmacro KVS_INSTALL_FILES

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Korvanta switch for ACADE"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
SectionEnd

; A PLC swap is in force while a user's backup ace_plc_old.mdb exists: uninstalling then
; would leave that user without the program that puts the database back. Every build's
; profile is looked at, whatever its release: each release key under AutoCAD's key, each
; product key under that.
Function un.onInit
  SetShellVarContext all
  SetRegView 64
  StrCpy $1 0
  releases:
    EnumRegKey $2 HKCU "Software\Autodesk\AutoCAD" $1
    StrCmp $2 "" done
    IntOp $1 $1 + 1
    StrCpy $3 0
  products:
    EnumRegKey $4 HKCU "Software\Autodesk\AutoCAD\$2" $3
    StrCmp $4 "" releases
    IntOp $3 $3 + 1
    ReadRegStr $0 HKCU "Software\Autodesk\AutoCAD\$2\$4" "RoamingUserMyDocsAcadeFolder"
    StrCmp $0 "" products  ; no ACADE profile in this key
    IfFileExists "$0AeData\Plc\ace_plc_old.mdb" swapped
    IfFileExists "$0AeData\ru-RU\Plc\ace_plc_old.mdb" swapped
    IfFileExists "$0AeData\en-EN\Plc\ace_plc_old.mdb" swapped
    IfFileExists "$0AeData\en-US\Plc\ace_plc_old.mdb" swapped
    Goto products
  done:
  Return
  swapped:
    MessageBox MB_OK|MB_ICONSTOP "The add-on's PLC database is still in use: your own database is kept as ace_plc_old.mdb until AutoCAD is closed and the add-on puts it back. Close AutoCAD, wait a few seconds, then uninstall again." /SD IDOK
    SetErrorLevel 3
    Quit
FunctionEnd

; The add-on's files go, and its folders once empty: what a user put beside them stays. The
; bundle goes whole, since AutoCAD would load any module left in it.
Section "Uninstall"
  !insertmacro KVS_REMOVE_FILES
  RMDir /r "${BUNDLE}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
