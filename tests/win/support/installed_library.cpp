#include "support/installed_library.h"

#include <windows.h>

#include "support/test_support.h"

namespace testing_support {

const wchar_t kUgoFolder[] = L"C:\\Program Files\\Korvanta\\Data\\UGO";

namespace {

const wchar_t kKorvanta[] = L"C:\\Program Files\\Korvanta";
const wchar_t kUgoAway[] = L"C:\\Program Files\\Korvanta\\Data\\UGO.away";

}  // namespace

InstalledLibrary::InstalledLibrary() {
  if (!fileExists(kKorvanta)) created_ = kKorvanta;
  for (const wchar_t* sub : {L"\\Data\\UGO\\GOST", L"\\Data\\Montajnie_sxemi\\Panels", L"\\Data\\Template",
                             L"\\Support"})
    makeFolders(kKorvanta + std::wstring(sub));
}

InstalledLibrary::~InstalledLibrary() {
  if (!created_.empty()) removeTree(created_);
}

MissingUgoFolder::MissingUgoFolder() { MoveFileW(kUgoFolder, kUgoAway); }
MissingUgoFolder::~MissingUgoFolder() { MoveFileW(kUgoAway, kUgoFolder); }

}  // namespace testing_support
