// AutoCAD's support file search path and drawing template folder, moved with every switch.
#pragma once

#include <string>

// tip 1: template folder to the add-on's templates (the one it replaces remembered per user and
// release), the add-on's support folder put in front of the support path, "Support path
// changed..\n" printed. Any other tip: the add-on's template folder back to the one remembered,
// or to AutoCAD's plot-log path + "Template"; the add-on's folder taken out of the support path,
// the rest of it left as written.
// A COM error while setting is printed and ends the call; one while the automation objects or
// the support path are obtained leaves as _com_error, with nothing changed.
void fSetSupportPath(int tip);

struct FileSettings {
  std::wstring support;    // the support file search path
  std::wstring templates;  // the drawing template folder
};

// AutoCAD's two settings as they stand; a COM error leaves as _com_error.
FileSettings current_file_settings();
