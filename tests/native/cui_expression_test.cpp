#include "menu_plc/cui_expression.h"

#include <gtest/gtest.h>

namespace {

std::wstring expressionFor(const std::wstring& path) { return L"(command \"_.CUILOAD\" \"" + path + L"\")"; }

// The expression, or a text no path gives when there is none.
std::wstring cuiload_expression(const std::wstring& path) {
  std::wstring expression;
  return kvs::cuiload_expression(path, expression) ? expression : L"<refused>";
}

TEST(CuiloadExpression, BackslashesBecomeForwardSlashesAndNothingElseChanges) {
  const std::wstring roaming = L"C:\\R\\";
  EXPECT_EQ(cuiload_expression(roaming + kvs::kUserMenuTail), expressionFor(L"C:/R/support/Korvanta.cuix"));
  EXPECT_EQ(cuiload_expression(L"\\\\srv\\профили\\Иван Петров\\support/Korvanta.cuix"),
            expressionFor(L"//srv/профили/Иван Петров/support/Korvanta.cuix"));
  // The failed lookup's text in place of the folder still gives an expression; CUILOAD reports it.
  EXPECT_EQ(cuiload_expression(L"Error. Couldn't access system information!support/Korvanta.cuix"),
            expressionFor(L"Error. Couldn't access system information!support/Korvanta.cuix"));
}

TEST(CuiloadExpression, PathsPastTheOldBufferAreKeptWhole) {
  // A 512-character buffer would leave 487 characters for the path; nothing cuts it here.
  for (std::size_t length : {487u, 488u, 531u, 4096u}) {
    std::wstring path = L"C:\\" + std::wstring(length - 25, L'd') + L"\\" + kvs::kUserMenuTail;
    ASSERT_EQ(path.size(), length);
    std::wstring expected = L"C:/" + std::wstring(length - 25, L'd') + L"/support/Korvanta.cuix";
    const std::wstring expression = cuiload_expression(path);
    EXPECT_EQ(expression, expressionFor(expected)) << length;
    EXPECT_EQ(expression.size(), length + 24) << length;
  }
}

TEST(CuiloadExpression, ADoubleQuoteAnywhereIsRefused) {
  for (const wchar_t* path : {L"\"C:\\R\\support/Korvanta.cuix", L"C:\\R\"\\support/Korvanta.cuix",
                              L"C:\\R\\support/Korvanta.cuix\"", L"\")(command \"_.QUIT\""})
    EXPECT_EQ(cuiload_expression(path), L"<refused>") << path;
}

}  // namespace
