// The add-on's registry key and the identification of the running ACADE release.
#include "frame/host_interface.h"

#include "common/text_util.h"
#include "common/texts.h"
#include "win32/handles.h"
#include "win32/system_message.h"
#include "frame/KVS_switchApp.h"
#include "frame/release_table.h"

void CKVS_switchApp::checkRegistry() {
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Korvanta", 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS) return;
  const LONG created = RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Korvanta", 0, nullptr, REG_OPTION_NON_VOLATILE, 0,
                                       nullptr, key.put(), nullptr);
  if (created != ERROR_SUCCESS)
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextRegistryNotUpdated, kvs::system_message(static_cast<DWORD>(created))).c_str());
}

bool identifyRelease() {
  std::wstring vernum;
  if (resbuf* rb = acutNewRb(RTSTR)) {
    rb->resval.rstring = nullptr;
    acedGetVar(L"_VERNUM", rb);
    if (rb->restype == RTSTR && rb->resval.rstring) vernum = rb->resval.rstring;
    acutRelRb(rb);
  }
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  const ACHAR* root = services ? services->getUserRegistryProductRootKey() : nullptr;
  running_product = root ? root : L"";
  if (const kvs::ReleaseRow* row = kvs::find_release(vernum)) {
    version = row->version;
    full_version_english = row->english;
    full_version_russian = row->russian;
  } else {
    // Releases since 2015 are known by the product key the running AutoCAD gives.
    kvs::ProductRelease release;
    if (kvs::release_from_product_key(running_product, release)) {
      version = release.version;
      full_version_english = release.english;
      full_version_russian = release.russian;
    }
  }
  if (version.empty()) {
    AfxMessageBox(kvs::text(kvs::kTextNoSupportedRelease).c_str(), MB_OK, 0);
    return false;
  }
  return true;
}
