// A project file read as a switch reads it, with the one set of refusals that every reader
// shares: the switch, its dry run, kvs_status, kvs_list and kvs-switch.
#pragma once

#include <string>

#include "common/texts.h"
#include "win32/text_codec.h"

enum class ProjectFileState {
  Switchable,  // it reads as a project's text and nothing stops it being replaced
  Gone,        // the file or its folder is not there
  Unusable,    // there, but locked, refused, read-only, a folder, not text or empty
};

struct ProjectFile {
  ProjectFile() : state(ProjectFileState::Gone), step(kvs::kTextCannotOpenProject), system_words(false), attributes(0), readable(false) {}
  ProjectFileState state;
  kvs::TextId step;         // for Gone and Unusable, what could not be done: open, read, switch
  std::wstring why;         // and the cause, without a full stop
  bool system_words;        // the cause is the system's text
  unsigned long attributes;  // the file's, once it opened
  std::string bytes;        // its bytes, once read
  kvs::DecodedText decoded;  // their text, once they read as text
  bool readable;            // they read as a project's text, read-only or not
};

// Opens the file as a switch does (no sharing, so a program that holds it open keeps it),
// reads it whole and decodes it.
void read_project_file(const std::wstring& path, ProjectFile& file);

// "UTF-8", "UTF-16" or "ANSI code page 1251", for the messages.
std::wstring encoding_name(kvs::TextEncoding encoding);

// " The file is left as it was.", ending the line of a refusal that wrote nothing.
std::wstring left_as_it_was();

// The refusal as a switch says it: "Cannot open project file <path>: <the system's text>\n",
// "Cannot switch project file <path>: it is read-only. The file is left as it was.\n".
std::wstring refusal_message(const std::wstring& path, const ProjectFile& file);

// A look at a project file that changes nothing: for the designer's questions.
struct ProjectLook {
  ProjectLook() : state(ProjectFileState::Gone), readable(false) {}
  ProjectFileState state;
  std::wstring why;   // for Gone and Unusable: the cause, without a full stop
  bool readable;      // whether the file reads as a project's text
  std::wstring text;  // its text, when it does
};

// What a switch of the file would meet.
ProjectLook look_at_project_file(const std::wstring& path);
