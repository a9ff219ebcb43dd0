#include "menu_plc/cui_expression.h"

#include <algorithm>

namespace kvs {

std::optional<std::wstring> cuiload_expression(const std::wstring& menu_path) {
  if (menu_path.find(L'"') != std::wstring::npos) return std::nullopt;
  std::wstring path = menu_path;
  std::replace(path.begin(), path.end(), L'\\', L'/');
  return L"(command \"_.CUILOAD\" \"" + path + L"\")";
}

}  // namespace kvs
