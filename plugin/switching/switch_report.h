// Where a switch says what went wrong: AutoCAD's command line in the plug-in, the console and
// the report in kvs-switch. Platform-free.
#pragma once

#include <string>

namespace kvs {

class SwitchReport {
 public:
  virtual ~SwitchReport() {}
  // `text` is shown as it stands: whole lines, each with its line break.
  virtual void say(const std::wstring& text) = 0;
};

}  // namespace kvs
