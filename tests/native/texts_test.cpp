// The table of texts: both languages for every text, the same blanks to fill in each, and what
// fills them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/texts.h"

namespace {

struct Row {
  const char* name;
  int number;
  std::wstring english, russian;
};

const Row kRows[] = {
#define KVS_TEXT(id, number, english, russian) {#id, number, L##english, L##russian},
#include "common/texts.inc"
#undef KVS_TEXT
};

std::vector<std::wstring> placeholders(const std::wstring& text) {
  std::vector<std::wstring> found;
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == L'%' && text[i + 1] >= L'1' && text[i + 1] <= L'9') found.push_back(text.substr(i, 2));
  std::sort(found.begin(), found.end());
  return found;
}

bool hasCyrillic(const std::wstring& text) {
  return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x400 && c <= 0x4FF; });
}

TEST(Texts, EveryTextHasBothLanguagesUnderItsOwnNumberWithTheSameBlanks) {
  std::set<int> numbers;
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(numbers.insert(row.number).second) << "number " << row.number << " used twice";
    EXPECT_GT(row.number, 0);
    EXPECT_FALSE(row.english.empty());
    EXPECT_FALSE(row.russian.empty());
    EXPECT_EQ(placeholders(row.english), placeholders(row.russian));
    EXPECT_FALSE(hasCyrillic(row.english));
    // A Russian row differs from the English one unless it holds only names and blanks.
    if (row.russian != row.english) EXPECT_TRUE(hasCyrillic(row.russian));
  }
}

TEST(Texts, BlanksAreFilledByPositionAndAnyOtherPerCentSignStays) {
  const struct {
    const wchar_t* pattern;
    std::vector<std::wstring> args;
    const wchar_t* filled;
  } cases[] = {
      {L"%2 -> %1", {L"GOST", L"stock"}, L"stock -> GOST"},
      {L"%1 at 100%", {L"C:\\%1\\"}, L"C:\\%1\\ at 100%"},
      {L"%3 missing", {L"a"}, L" missing"},
      {L"%", {}, L"%"},
  };
  for (const auto& c : cases) EXPECT_EQ(kvs::fill_text(c.pattern, c.args), c.filled) << c.pattern;
}

}  // namespace
