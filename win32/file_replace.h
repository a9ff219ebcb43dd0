// Crash-safe replacement of a file's content.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace kvs {

// Bytes that lie elsewhere, written as one part of a file.
struct ByteSpan {
  const char* data;
  std::size_t size;
};

// Writes `bytes` to a new file beside `path` made with `attributes`, flushes it and moves it
// over `path` in one step, so the file holds either its old bytes or all the new ones. False,
// with the system's error set, when a step fails; the file is then as it was and nothing is
// left beside it. `path` may be in the "\\?\" form.
// A replace cut short (a crash, a killed process) leaves its temporary file behind, named
// after the file it was to replace; the next replace of the file removes it (see
// remove_replace_leftovers).
bool replace_file_content(const std::wstring& path, const std::string& bytes, DWORD attributes);
// The same with the new content given as parts, written one after the other.
bool replace_file_content(const std::wstring& path, const std::vector<ByteSpan>& parts, DWORD attributes);

// replace_file_content in two steps, for a file whose content comes last: begin() makes the
// temporary file beside `path` at once, so that a folder that is missing or refused shows
// before any work is done; finish() writes, flushes and moves it over `path`. Both false with
// the system's error set. Unless finished, the temporary file goes with the object.
class BegunReplace {
 public:
  BegunReplace();
  ~BegunReplace();
  bool begin(const std::wstring& path, DWORD attributes);
  bool finish(const std::vector<ByteSpan>& parts);

 private:
  BegunReplace(const BegunReplace&);
  BegunReplace& operator=(const BegunReplace&);
  struct State;
  std::unique_ptr<State> state_;
};

// The temporary files that replaces of `path` left beside it, removed; one that another
// process is still writing is left alone, since that process holds it open.
void remove_replace_leftovers(const std::wstring& path);

// The same for every file replaced in `folder`, for a folder whose files are all one owner's
// and each written once under a new name, whose leftovers no later replace meets.
void remove_replace_leftovers_in(const std::wstring& folder);

}  // namespace kvs
