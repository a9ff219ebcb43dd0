// The string tables the modules carry hold every text of the table, in both languages, as written.
#include <gtest/gtest.h>

#include <memory>

#include "support/test_support.h"
#include "win32/resource_text.h"
#include "win32/ui_language.h"

using namespace testing_support;

namespace {

struct Row {
  const char* name;
  unsigned number;
  const wchar_t* english;
  const wchar_t* russian;
};

const Row kRows[] = {
#define KVS_TEXT(id, number, english, russian) {#id, number, L##english, L##russian},
#include "common/texts.inc"
#undef KVS_TEXT
};

TEST(Texts, EveryModuleCarriesTheWholeTableInBothLanguages) {
  for (const wchar_t* name : {L"KVS_switch_2015.arx", L"KVS_switch_2027.arx", L"update.exe", L"kvs-switch.exe"}) {
    SCOPED_TRACE(toUtf8(name));
    const std::unique_ptr<HINSTANCE__, decltype(&FreeLibrary)> module(
        LoadLibraryExW((binDir() + name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), &FreeLibrary);
    ASSERT_TRUE(module);
    for (const Row& row : kRows) {
      SCOPED_TRACE(row.name);
      std::wstring english, russian;
      EXPECT_TRUE(kvs::resource_string(module.get(), row.number, kvs::language_id(kvs::UiLanguage::English), english));
      EXPECT_TRUE(kvs::resource_string(module.get(), row.number, kvs::language_id(kvs::UiLanguage::Russian), russian));
      EXPECT_EQ(english, row.english);
      EXPECT_EQ(russian, row.russian);
    }
  }
}

}  // namespace
