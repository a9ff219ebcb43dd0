// Switches one ACADE project file on disk to the GOST library or back.
#pragma once

#include <string>

// How a switch of a project file went; every failure has been printed, naming the file, and
// leaves the file as it was.
enum class SwitchResult {
  Switched,
  FileGone,      // the file or its folder is not there
  FileUnusable,  // there, but it cannot be opened, read, taken as text or written (locked, refused, read-only)
  Installation,  // the add-on's folders or the system's information are missing
  NotKept,       // its present version could not be kept for kvs_undo, so it was not switched
  Other,         // memory ran out
};

// Reads the file whole in its own encoding, rewrites it for the library of `tip`, keeps the bytes as
// they were for kvs_undo and puts the result, in the same encoding, in its place in one step.
SwitchResult switch_project_file(const std::wstring& path, int tip);

// The same, true when the file was switched.
bool do_change(std::wstring fl_name, int tip);
