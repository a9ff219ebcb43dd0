// Switches one ACADE project file on disk to the GOST library or back: the same code for the
// plug-in and for kvs-switch, with neither AutoCAD nor its settings.
#pragma once

#include <functional>
#include <string>

#include "common/switch_result.h"
#include "switching/project_text.h"
#include "switching/switch_report.h"

// The four settings' values of the library to switch to, built once the project has been read;
// false with the message to say when the library cannot be listed.
typedef std::function<bool(kvs::RecordValues& values, std::wstring& message)> LibraryValues;

// The same values for every project of a pass over many: the library's folders are listed,
// and whatever else `library` does is done, once, for the first project that needs them.
LibraryValues once_per_pass(const LibraryValues& library);

// The library settings a switch found in the file and gave it, for those who tell them.
struct SwitchedSettings {
  SwitchedSettings() : read(false) {}
  bool read;  // the file was read as text and rewritten: `before` and `after` hold
  kvs::LibrarySettings before, after;
};

// Reads the file whole in its own encoding, rewrites it for the library `library` gives (a
// project's own folders and menu kept), keeps the bytes as they were for kvs_undo and puts the
// result, in the same encoding, in its place in one step.
SwitchResult switch_project_file(const std::wstring& path, const LibraryValues& library, kvs::SwitchReport& report,
                                 SwitchedSettings* settings = nullptr);

// The same reading, checks and rewrite, with nothing written, kept or remembered: Switched, or
// the refusal the switch would meet, said.
SwitchResult preview_project_switch(const std::wstring& path, const LibraryValues& library, kvs::SwitchReport& report,
                                    SwitchedSettings& settings);
