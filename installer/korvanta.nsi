; Installer of the add-on: C:\Program Files\Korvanta\ and the plug-in bundle that AutoCAD
; loads at start-up. Built with makensis; defines passed by the build:
;   OUTFILE          the installer to write
;   VERSION          the project's version
;   INSTALLED_FILES  installed_files.nsh, which installer/CMakeLists.txt writes from the build's
;                    list of installed files (KorvantaSetup.msi installs the same):
;                    KVS_INSTALL_FILES puts them in place, KVS_REMOVE_FILES removes them and
;                    the folders they leave empty
;   PLC_GUARD        plc_guard.dll, the package's custom action, whose search for swapped-out
;                    PLC databases the uninstaller calls too
; What it says is in korvanta_texts.nsh, in English and Russian.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

; English first: the language of any display language but Russian.
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Russian.nlf"
!include /CHARSET=UTF8 "${__FILEDIR__}\korvanta_texts.nsh"

Name "$(kvs_product_name)"
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
    MessageBox MB_OK|MB_ICONSTOP "$(kvs_msi_installed)" /SD IDOK
    SetErrorLevel 4
    Quit
  done:
FunctionEnd

Section "$(kvs_section_addon)"
  ; The bundle holds one module per ObjectARX family; its manifest tells AutoCAD which one
  ; fits the release.
  !insertmacro KVS_INSTALL_FILES

  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Programs and Features names it in the language the installation ran in.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "$(kvs_product_name)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Korvanta"
;  Started in place (_?=): a copy in %TEMP% would end at once with exit code 0, before any refusal.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
SectionEnd

; A PLC swap is in force while a user's backup ace_plc_old.mdb exists: uninstalling then
; would leave that user without the program that puts the database back. The package's own
; search looks, in every user's profile, where the plug-in's swap keeps it; a search that cannot
; run refuses too. Exit code 3: refused, nothing removed.
Function un.onInit
  SetShellVarContext all
  SetRegView 64
  InitPluginsDir
  File "/oname=$PLUGINSDIR\plc_guard.dll" "${PLC_GUARD}"
  System::Call '$PLUGINSDIR\plc_guard.dll::ListSwappedPlc(w .r0, i ${NSIS_MAX_STRLEN}) i .r1 ?u'
  StrCmp $1 "error" unchecked
  IntCmp $1 0 done
  MessageBox MB_OK|MB_ICONSTOP "$(kvs_plc_swapped)" /SD IDOK
  SetErrorLevel 3
  Quit
  unchecked:
  MessageBox MB_OK|MB_ICONSTOP "$(kvs_plc_unchecked)" /SD IDOK
  SetErrorLevel 3
  Quit
  done:
FunctionEnd

; The add-on's files go, and its folders once empty: what a user put beside them stays. The
; bundle goes whole, since AutoCAD would load any module left in it.
Section "Uninstall"
  !insertmacro KVS_REMOVE_FILES
  RMDir /r "${BUNDLE}"
  ; Run in place (_?=), this program cannot delete itself: it goes aside under a name no
  ; installation writes, and with its folder at the next restart. Where the system refuses to
  ; rename a running program (Wine does), it stays, and nothing is left to a restart.
  Delete "$INSTDIR\uninstall.exe"
  IfFileExists "$INSTDIR\uninstall.exe" 0 +3
    Rename "$INSTDIR\uninstall.exe" "$INSTDIR\~uninstall.tmp"
    Delete /REBOOTOK "$INSTDIR\~uninstall.tmp"
  RMDir /REBOOTOK "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
