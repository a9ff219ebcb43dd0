// One project, one key, however its path is spelled.
#pragma once

#include <string>

namespace kvs {

// The key that two spellings of a path share exactly when they reach the same file: the path
// made full (relative, "..", "/"), short 8.3 names made long (for a file that is missing, as
// far as its folders exist), without a "\\?\" prefix or a closing separator, and letter case
// folded as folded_path folds it. Paths of any length and shares are taken.
std::wstring path_identity(const std::wstring& path);

}  // namespace kvs
