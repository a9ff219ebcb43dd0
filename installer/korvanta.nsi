; Installer of the add-on: C:\Program Files\Korvanta\ and the plug-in bundle that AutoCAD
; loads at start-up. Built with makensis; defines passed by the build:
;   OUTFILE  the installer to write      BIN      the folder of the built modules
;   UPDATE   update.exe                  CUIX     Korvanta.cuix
;   DATA     data/Korvanta/Data          PLCDB    the add-on's ace_plc.mdb
;   MANIFEST the bundle's PackageContents.xml
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

Name "Korvanta switch for ACADE"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Korvanta"
ShowInstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvanta"
!define BUNDLE "$APPDATA\Autodesk\ApplicationPlugins\Korvanta.bundle"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; With SetShellVarContext all, $APPDATA is the machine-wide ProgramData folder.
Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Add-on"
  SetOutPath "$INSTDIR\Support"
  File "/oname=Korvanta.cuix" "${CUIX}"
  File "/oname=update.exe" "${UPDATE}"
  SetOutPath "$INSTDIR\Data"
  File /r "${DATA}\*.*"
  File "/oname=ace_plc.mdb" "${PLCDB}"
  SetOutPath "${BUNDLE}"
  File "/oname=PackageContents.xml" "${MANIFEST}"
  SetOutPath "${BUNDLE}\Contents\Windows"
  ; One module per ObjectARX family; the manifest tells AutoCAD which one fits the release.
  File "${BIN}\KVS_switch_2015.arx"
  File "${BIN}\KVS_switch_2017.arx"
  File "${BIN}\KVS_switch_2018.arx"
  File "${BIN}\KVS_switch_2019.arx"
  File "${BIN}\KVS_switch_2021.arx"
  File "${BIN}\KVS_switch_2025.arx"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Korvanta switch for ACADE"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
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

Section "Uninstall"
  RMDir /r "${BUNDLE}"
  Delete "$INSTDIR\Support\Korvanta.cuix"
  Delete "$INSTDIR\Support\update.exe"
  RMDir "$INSTDIR\Support"
  RMDir /r "$INSTDIR\Data\UGO"
  RMDir /r "$INSTDIR\Data\Montajnie_sxemi"
  RMDir /r "$INSTDIR\Data\Template"
  Delete "$INSTDIR\Data\ACE_GOST_MENU.dat"
  Delete "$INSTDIR\Data\ace_plc.mdb"
  RMDir "$INSTDIR\Data"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
