// The add-on's menu: init_kvs and the loading of Korvanta.cuix (or Korvanta_ru.cuix).
#include "menu_plc/cui_menu.h"

#include "frame/host_interface.h"

#include <string>

#include "win32/handles.h"
#include "win32/registry.h"
#include "win32/system_message.h"
#include "win32/ui_language.h"
#include "common/texts.h"
#include "common/install_layout.h"
#include "common/release_globals.h"
#include "menu_plc/cui_expression.h"
#include "switching/docs_folders.h"

namespace {

const wchar_t kMenuGroup[] = L"KORVANTA";
const wchar_t kToolbarValue[] = L"KORVANTA.Toolbar1";
const wchar_t kToolbarState[] = L"show left 0 0";

// Only an existing Toolbars key is written to: a build the user never started has no
// profile, and creating one would leave a half profile behind.
void writeToolbarState(const std::wstring& product) {
  std::wstring keyPath = L"Software\\Autodesk\\AutoCAD\\" + product + L"\\Profiles\\<<ACADE>>\\Toolbars";
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
  const LONG written = kvs::write_string_value(key.get(), kToolbarValue, kToolbarState);
  if (written != ERROR_SUCCESS)
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextRegistryWriteFailed, L"HKEY_CURRENT_USER\\" + keyPath + L"\\" + kToolbarValue,
                                    kvs::system_message(static_cast<DWORD>(written))).c_str());
}

// The installed menu in the user's display language. Both are installed: the language is
// the user's, and one installation serves every user of the machine.
const wchar_t* installedMenu() {
  return kvs::user_language() == kvs::UiLanguage::Russian ? kvs::install::kRussianMenuFile : kvs::install::kMenuFile;
}

// The copy in the user's roaming support folder, and CUILOAD queued for it. The copy has one
// name whatever the language, so a change of language replaces it.
void queueMenuLoad() {
  const wchar_t* installed = installedMenu();
  std::wstring roaming;
  if (!getMyDocsPath(L"RoamableRootFolder", roaming)) {
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextMenuNoRoaming, installed).c_str());
    return;
  }
  const std::wstring userMenu = roaming + kvs::kUserMenuTail;
  CopyFileW(installed, userMenu.c_str(), FALSE);
  std::wstring expression;
  if (kvs::cuiload_expression(userMenu, expression))
    ads_queueexpr(expression.c_str());
  else
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextMenuQuote, userMenu).c_str());
}

}  // namespace

void CUIARXMYCUILOAD() {
  queueMenuLoad();
  writeToolbarState(full_version_english);
  writeToolbarState(full_version_russian);
}

void init_kvs() {
  if (acedIsMenuGroupLoaded(kMenuGroup)) return;
  CUIARXMYCUILOAD();
}
