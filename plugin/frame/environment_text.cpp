#include "frame/environment_text.h"

#include "common/install_layout.h"
#include "common/text_util.h"

namespace kvs {

std::wstring addon_environment_text(std::wstring wdEnv) {
  std::size_t nul = wdEnv.find(L'\0');
  if (nul != std::wstring::npos) wdEnv.resize(nul);
  return replace_all(std::move(wdEnv), L"%WD_DIR%/catalogs/", install::kCatalogFolder);
}

}  // namespace kvs
