// kvdata.env's text from wd.env's.
#include <gtest/gtest.h>

#include "frame/environment_text.h"

using kvs::addon_environment_text;

namespace {

TEST(AddonEnvironmentText, EveryCatalogReferenceNamesTheAddonDataFolder) {
  EXPECT_EQ(addon_environment_text(L"WD_CATALOG,%WD_DIR%/catalogs/default_cat.mdb\r\n"
                                   L"WD_FOOTPRINT,%WD_DIR%/catalogs/footprint_lookup.mdb\r\n"),
            L"WD_CATALOG,C:/Program Files/Korvanta/Data/default_cat.mdb\r\n"
            L"WD_FOOTPRINT,C:/Program Files/Korvanta/Data/footprint_lookup.mdb\r\n");
  // Back to back, at both ends, and twice on a line.
  EXPECT_EQ(addon_environment_text(L"%WD_DIR%/catalogs/%WD_DIR%/catalogs/"),
            L"C:/Program Files/Korvanta/Data/C:/Program Files/Korvanta/Data/");
  EXPECT_EQ(addon_environment_text(L"a=%WD_DIR%/catalogs/x;%WD_DIR%/catalogs/y"),
            L"a=C:/Program Files/Korvanta/Data/x;C:/Program Files/Korvanta/Data/y");
}

TEST(AddonEnvironmentText, NearMissesAndEverythingElseStayAsTheyAre) {
  const std::wstring untouched =
      L"*WD_PLCDB,%WD_DIR%/Catalogs/ace_plc.mdb\n"  // other case
      L"x,%wd_dir%/catalogs/y\r"                    // lone CR kept
      L"y,%WD_DIR%/catalogs\\z\r\n"                 // backslash instead of slash
      L"z,%WD_DIR%/catalog/ \t\n"
      L"; комментарий — Ёё\n";
  EXPECT_EQ(addon_environment_text(untouched), untouched);
  EXPECT_EQ(addon_environment_text(L""), L"");
}

TEST(AddonEnvironmentText, EndsAtTheFirstNulCharacter) {
  std::wstring withNul(L"a=%WD_DIR%/catalogs/\0b=%WD_DIR%/catalogs/", 40);
  ASSERT_EQ(withNul.size(), 40u);
  EXPECT_EQ(addon_environment_text(withNul), L"a=C:/Program Files/Korvanta/Data/");
  EXPECT_EQ(addon_environment_text(std::wstring(1, L'\0') + L"rest"), L"");
}

}  // namespace
