// kvdata.env's text from wd.env's: what the byte-level tests of the file do not reach.
#include <gtest/gtest.h>

#include "frame/environment_text.h"

using kvs::addon_environment_text;

namespace {

TEST(AddonEnvironmentText, BackToBackReferencesAndTheFirstNulCharacter) {
  EXPECT_EQ(addon_environment_text(L"%WD_DIR%/catalogs/%WD_DIR%/catalogs/"),
            L"C:/Program Files/Korvanta/Data/C:/Program Files/Korvanta/Data/");
  // Only the whole occurrence inside counts.
  EXPECT_EQ(addon_environment_text(L"%WD_DIR%/%WD_DIR%/catalogs/catalogs/"),
            L"%WD_DIR%/C:/Program Files/Korvanta/Data/catalogs/");
  std::wstring withNul(L"a=%WD_DIR%/catalogs/\0b=%WD_DIR%/catalogs/", 40);
  ASSERT_EQ(withNul.size(), 40u);
  EXPECT_EQ(addon_environment_text(withNul), L"a=C:/Program Files/Korvanta/Data/");
  EXPECT_EQ(addon_environment_text(std::wstring(1, L'\0') + L"rest"), L"");
}

}  // namespace
