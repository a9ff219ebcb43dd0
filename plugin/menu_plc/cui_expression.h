// The paths and the AutoLISP text that load the add-on's menu. Platform-free.
#pragma once

#include <string>

namespace kvs {

// The user's menu file: the roaming folder as the registry gives it (ending in its own
// separator) followed directly by this.
const wchar_t kUserMenuTail[] = L"support/Korvanta.cuix";

// (command "_.CUILOAD" "<path>") with every backslash of the path turned into a forward
// slash, however long the path. False when the path holds a double quote: no Windows path
// can, and inside the AutoLISP string it would end the string early.
bool cuiload_expression(const std::wstring& menu_path, std::wstring& expression);

}  // namespace kvs
