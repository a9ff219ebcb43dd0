// A project switch inside AutoCAD: AutoCAD's support and template paths move with it, and what
// goes wrong is said on the command line.
#pragma once

#include <string>

#include "switching/project_driver.h"

// AutoCAD's command line, where the plug-in's switches say what went wrong.
kvs::SwitchReport& command_line();

// The four settings' values for `tip` (1: GOST library; any other value: stock ACADE library),
// with AutoCAD's paths moved to that library. False with the message when the add-on's
// folders or the system's information are missing: "Error. Installation folder not found."
// or the documents lookup's failure text.
bool library_values(int tip, kvs::RecordValues& values, std::wstring& message);

// library_values for `tip`, as a switch takes them.
LibraryValues acad_library(int tip);

// The rewritten text, or the failure message.
std::wstring change_env(std::wstring str, int tip);

// The project file switched for `tip`, AutoCAD's paths moved, any failure said on the command line.
SwitchResult switch_project_file(const std::wstring& path, int tip);

// The same, true when the file is on that library now: switched, or already there.
bool do_change(std::wstring fl_name, int tip);
