// What the switch commands and kvs_undo share: the active project, and its registration in
// the list of switched projects.
#pragma once

#include <string>

#include "common/texts.h"

// ACADE's active project file as it reports it; false when there is none.
bool active_project(std::wstring& path);

enum class Registration {
  Changed,    // added or removed, and stored
  Unchanged,  // the list already was as asked
  Refused,    // the list cannot be read, or the path cannot be stored: said on the command line
};

// `done` says what happened to the project, for the messages: switched, switched back, put back.
Registration register_project(const std::wstring& path, kvs::TextId done);
Registration unregister_project(const std::wstring& path, kvs::TextId done);
