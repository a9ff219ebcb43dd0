// Reading a file whole without disturbing anyone who has it open.
#pragma once

#include <string>

namespace kvs {

// The whole file, opened for reading with every kind of sharing allowed; false with the
// system's error set. `path` may be in the "\\?\" form.
bool read_whole_file(const std::wstring& path, std::string& bytes);

}  // namespace kvs
