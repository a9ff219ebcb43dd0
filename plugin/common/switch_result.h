// How a switch of a project file went, for every caller: the plug-in's commands and passes,
// and kvs-switch. Platform-free.
#pragma once

// Every failure has been said, naming the file, and leaves the file as it was.
enum class SwitchResult {
  Switched,
  Unchanged,     // it already was on that library: nothing written, nothing kept
  FileGone,      // the file or its folder is not there
  FileUnusable,  // there, but it cannot be opened, read, taken as text or written (locked, refused, read-only)
  Installation,  // the add-on's folders or the system's information are missing
  NotKept,       // its present version (or its own menu) could not be kept, so it was not switched
  Other,         // memory ran out
  Aborted,       // AutoCAD itself failed: the rest of a pass over projects is pointless
};
