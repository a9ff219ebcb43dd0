// COM errors raised by AutoCAD's automation objects, caught where a switch was started.
#pragma once

#include "frame/host_interface.h"

#include <comdef.h>

namespace kvs {

typedef _com_error ComError;

// Runs f(). A COM error that leaves it is printed on the command line as its message text,
// as it stands, and the result is false.
template <class F>
bool run_catching_com_errors(F f) {
  try {
    f();
  } catch (const ComError& error) {
    const wchar_t* text = error.ErrorMessage();
    acutPrintf(L"%ls", text ? text : L"");
    return false;
  }
  return true;
}

}  // namespace kvs
