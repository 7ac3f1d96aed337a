#include "regex/case_folding.hpp"

#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace sdkcore::regex {
namespace {

// ICU's full case folding (default, not Turkic) of every code point.
TEST(FullCaseFoldTest, EveryCodePointFoldsAsInIcu) {
  int differences = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    icu::UnicodeString expected(static_cast<UChar32>(c));
    expected.foldCase(U_FOLD_CASE_DEFAULT);
    const FullFolding ours = fullCaseFold(c);
    icu::UnicodeString actual;
    for (std::size_t i = 0; i < ours.length; ++i) {
      actual.append(static_cast<UChar32>(ours.codePoints[i]));
    }
    if (actual != expected && ++differences <= 10)
      ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(c);
  }
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace sdkcore::regex
