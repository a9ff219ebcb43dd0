// A look at a project file that changes nothing: for the designer's questions, not for a switch.
#pragma once

#include <string>

enum class ProjectFileState {
  Switchable,  // it reads as text and nothing stops it being replaced
  Gone,        // the file or its folder is not there
  Unusable,    // there, but locked, refused, read-only, a folder or not text
};

struct ProjectLook {
  ProjectLook() : state(ProjectFileState::Gone), readable(false) {}
  ProjectFileState state;
  std::wstring why;   // for Gone and Unusable: the cause, without a full stop
  bool readable;      // whether the file reads as text
  std::wstring text;  // its text, when it does
};

// What a switch of the file would meet.
ProjectLook look_at_project_file(const std::wstring& path);
