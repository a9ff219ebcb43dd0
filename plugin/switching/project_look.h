// A look at a project file that changes nothing: for the designer's questions, not for a switch.
#pragma once

#include <optional>
#include <string>

enum class ProjectFileState {
  Switchable,  // it reads as text and nothing stops it being replaced
  Gone,        // the file or its folder is not there
  Unusable,    // there, but locked, refused, read-only, a folder or not text
};

struct ProjectLook {
  ProjectFileState state = ProjectFileState::Gone;
  std::wstring why;                  // for Gone and Unusable: the cause, without a full stop
  std::optional<std::wstring> text;  // the file's text whenever it can be read as text
};

// What a switch of the file would meet.
ProjectLook look_at_project_file(const std::wstring& path);
