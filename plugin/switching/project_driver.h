// Switches one ACADE project file on disk: read, rewrite for `tip` (1 GOST, else stock), write back.
#pragma once

#include <string>

bool do_change(std::wstring fl_name, int tip);

// Why the last do_change returned false. Callers that keep lists of projects drop a
// project only for a failure of its own file.
enum class DriverFailure {
  None,
  ProjectFile,   // the project file cannot be opened, read or written (missing, read-only)
  Installation,  // the add-on's folders, the system's information or AutoCAD's automation
};
DriverFailure last_driver_failure();
