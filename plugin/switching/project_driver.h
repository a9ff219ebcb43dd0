// Switches one ACADE project file on disk to the GOST library or back.
#pragma once

#include <string>

// Reads the file whole, rewrites it with change_env and puts the result in its place in one
// step. False when the file cannot be opened (nothing printed), when the rewrite reports an
// error, when the file is read-only, or when reading, converting or writing fails (each
// printed with the file and the cause); the file is then as it was.
bool do_change(std::wstring fl_name, int tip);

// Why the last do_change returned false. Callers that keep lists of projects drop a
// project only for a failure of its own file.
enum class DriverFailure {
  None,
  ProjectFile,   // the project file cannot be opened, read or written (missing, read-only)
  Installation,  // the add-on's folders, the system's information or AutoCAD's automation
  Other,         // the rewritten text reads as an error, or memory ran out
};
DriverFailure last_driver_failure();
