; What the installer and its uninstaller say, in English and Russian: NSIS picks the language of
; the user's Windows display language, English for any but Russian. makensis -WX fails the
; build when a text lacks either language. $0 and $PLUGINSDIR are filled in where a text is used.

LangString kvs_product_name ${LANG_ENGLISH} "Korvanta switch for ACADE"
LangString kvs_product_name ${LANG_RUSSIAN} "Переключатель Korvanta для ACADE"

LangString kvs_section_addon ${LANG_ENGLISH} "Add-on"
LangString kvs_section_addon ${LANG_RUSSIAN} "Надстройка"

LangString kvs_msi_installed ${LANG_ENGLISH} "The add-on is installed with its Windows Installer package (KorvantaSetup.msi). Remove that installation (Programs and Features, or msiexec /x) before running KorvantaSetup.exe."
LangString kvs_msi_installed ${LANG_RUSSIAN} "Надстройка установлена из пакета Windows Installer (KorvantaSetup.msi). Удалите эту установку (в «Программах и компонентах» или командой msiexec /x), прежде чем запускать KorvantaSetup.exe."

LangString kvs_plc_swapped ${LANG_ENGLISH} "A user's PLC database is swapped out: the user's own database is kept as $0 until that user's AutoCAD has closed and the add-on has put it back. Uninstall again once it is back."
LangString kvs_plc_swapped ${LANG_RUSSIAN} "База данных ПЛК пользователя подменена: собственная база этого пользователя хранится как $0, пока его AutoCAD не закроется и надстройка не вернёт базу на место. Когда она вернётся, запустите удаление снова."

LangString kvs_plc_unchecked ${LANG_ENGLISH} "Cannot look for users' swapped-out PLC databases: $PLUGINSDIR\plc_guard.dll does not load. Nothing was removed."
LangString kvs_plc_unchecked ${LANG_RUSSIAN} "Не удаётся проверить, подменены ли базы данных ПЛК пользователей: не загружается $PLUGINSDIR\plc_guard.dll. Ничего не удалено."
