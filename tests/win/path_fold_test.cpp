// The add-on's letter-case folding of paths against Windows' own ordinal comparison.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "commands/project_list_text.h"

namespace {

TEST(PathFold, AgreesWithCompareStringOrdinalOnTheScriptsItFolds) {
  std::vector<wchar_t> units;
  for (unsigned c = 1; c < 0x180; ++c) units.push_back(static_cast<wchar_t>(c));
  for (unsigned c = 0x370; c < 0x3D0; ++c) units.push_back(static_cast<wchar_t>(c));
  for (unsigned c = 0x400; c < 0x590; ++c) units.push_back(static_cast<wchar_t>(c));
  for (unsigned c = 0xFF00; c < 0xFF60; ++c) units.push_back(static_cast<wchar_t>(c));
  int mismatches = 0;
  for (wchar_t a : units) {
    for (wchar_t b : units) {
      bool windows = CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
      bool ours = kvs::same_path(std::wstring(1, a), std::wstring(1, b));
      if (windows != ours && ++mismatches <= 40)
        ADD_FAILURE() << std::hex << "U+" << unsigned(a) << " U+" << unsigned(b) << ": Windows says " << windows;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
