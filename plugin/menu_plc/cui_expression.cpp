#include "menu_plc/cui_expression.h"

#include <algorithm>

namespace kvs {

bool cuiload_expression(const std::wstring& menu_path, std::wstring& expression) {
  if (menu_path.find(L'"') != std::wstring::npos) return false;
  std::wstring path = menu_path;
  std::replace(path.begin(), path.end(), L'\\', L'/');
  expression = L"(command \"_.CUILOAD\" \"" + path + L"\")";
  return true;
}

}  // namespace kvs
