#include "text/text_form.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "sdkcore/string_extensions.hpp"

namespace sdkcore {
namespace {

struct QuotedCase {
  std::string input;
  std::string expected;
};

class DebugQuotedTest : public testing::TestWithParam<QuotedCase> {};

TEST_P(DebugQuotedTest, RendersOneEscapedLine) {
  const std::string rendered = debugQuoted(GetParam().input);
  EXPECT_EQ(rendered, GetParam().expected);
  EXPECT_EQ(rendered.find('\n'), std::string::npos);
  EXPECT_EQ(rendered.find('\r'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DebugQuotedTest,
    testing::Values(QuotedCase{"", R"("")"}, QuotedCase{"JOHN DOE", R"("JOHN DOE")"},
                    QuotedCase{"say \"hi\"", R"("say \"hi\"")"}, QuotedCase{"a\\b", R"("a\\b")"},
                    QuotedCase{"q\"b\\n\nend", R"("q\"b\\n\nend")"},
                    QuotedCase{"\r\t", R"("\r\t")"},
                    QuotedCase{std::string("a\0b", 3), R"("a\0b")"},
                    QuotedCase{"\x01\x1b\x7f", R"("\u{01}\u{1B}\u{7F}")"},
                    // U+0085 NEL, U+2028 and U+2029 break lines in some viewers.
                    QuotedCase{"\xc2\x85|\xe2\x80\xa8|\xe2\x80\xa9",
                               R"("\u{85}|\u{2028}|\u{2029}")"},
                    // Printable non-ASCII text stays as it is.
                    QuotedCase{"J\xc3\xbcrgen \xe2\x82\xac \xf0\x9f\x98\x80",
                               "\"J\xc3\xbcrgen \xe2\x82\xac \xf0\x9f\x98\x80\""},
                    // Ill-formed UTF-8 is copied byte for byte; a control after it is escaped.
                    QuotedCase{"\xff\xc2\n", "\"\xff\xc2\\n\""}));

TEST(DebugOptionalTest, WrapsPresentTextAndSpellsAbsentAsNil) {
  EXPECT_EQ(debugOptional(std::nullopt), "nil");
  EXPECT_EQ(debugOptional(std::string()), R"(Optional(""))");
  EXPECT_EQ(debugOptional(std::string("a\"b")), R"(Optional("a\"b"))");
}

struct DoubleCase {
  double value;
  std::string expected;
};

class DebugDoubleTest : public testing::TestWithParam<DoubleCase> {};

TEST_P(DebugDoubleTest, WritesShortestRoundTrip) {
  const std::string text = debugDouble(GetParam().value);
  EXPECT_EQ(text, GetParam().expected);
  if (std::isfinite(GetParam().value)) {
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), GetParam().value) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, DebugDoubleTest,
    testing::Values(DoubleCase{12, "12.0"}, DoubleCase{0, "0.0"}, DoubleCase{-0.0, "-0.0"},
                    DoubleCase{1700000000, "1700000000.0"},
                    DoubleCase{1700000000.5, "1700000000.5"}, DoubleCase{0.1, "0.1"},
                    DoubleCase{-1, "-1.0"}, DoubleCase{0.0001, "0.0001"},
                    DoubleCase{0.00001, "1e-05"},
                    DoubleCase{9999999999999998, "9999999999999998.0"}, DoubleCase{1e16, "1e+16"},
                    DoubleCase{9223372036854775807.0, "9.223372036854776e+18"},
                    DoubleCase{std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
                    DoubleCase{std::numeric_limits<double>::denorm_min(), "5e-324"},
                    DoubleCase{std::numeric_limits<double>::infinity(), "inf"},
                    DoubleCase{-std::numeric_limits<double>::infinity(), "-inf"},
                    DoubleCase{std::numeric_limits<double>::quiet_NaN(), "nan"}));

struct EscapeCase {
  std::string name;
  std::string text;
  std::string expected;
  friend void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }
};

class EscapeControlCharacters : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeControlCharacters, KeepsOneLineAndLeavesQuotes) {
  EXPECT_EQ(escapeControlCharacters(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeControlCharacters,
    ::testing::Values(
        EscapeCase{"Plain", "validateField(): Error CVC", "validateField(): Error CVC"},
        EscapeCase{"LineFeedAndReturn", "a\nb\r\n", "a\\nb\\r\\n"},
        EscapeCase{"TabAndNul", std::string("\t\0x", 3), "\\t\\0x"},
        EscapeCase{"Escape", "\x1b[31m", "\\u{1B}[31m"}, EscapeCase{"Delete", "\x7f", "\\u{7F}"},
        EscapeCase{"NextLine", "a\xc2\x85z", "a\\u{85}z"},
        EscapeCase{"LineSeparator", "a\xe2\x80\xa8z\xe2\x80\xa9", "a\\u{2028}z\\u{2029}"},
        EscapeCase{"QuotesAndBackslashKept", "\"\\", "\"\\"},
        EscapeCase{"MultiByteKept", "J\xc3\x96RG \xe2\x82\xac", "J\xc3\x96RG \xe2\x82\xac"},
        EscapeCase{"InvalidUtf8Kept", "\xff\xc2", "\xff\xc2"}),
    [](const auto& info) { return info.param.name; });

// Long runs are skipped a word at a time: every byte value, at every offset within a word and
// among plain text on both sides, is escaped exactly as it is on its own.
TEST(EscapingTest, AnyByteAmongPlainTextEscapesAsOnItsOwn) {
  const std::string filler = "MIIBIjANBgkqhkiG9w0BAQEF";
  for (int value = 0; value < 256; ++value) {
    const std::string byte(1, static_cast<char>(value));
    const std::string quoted = debugQuoted(byte);
    const std::string alone = quoted.substr(1, quoted.size() - 2);
    for (std::size_t at = 0; at <= 16; ++at) {
      const std::string head = filler.substr(0, at);
      const std::string text = head + byte + filler;
      ASSERT_EQ(debugQuoted(text), '"' + head + alone + filler + '"') << value << " at " << at;
      ASSERT_EQ(escapeControlCharacters(text), head + escapeControlCharacters(byte) + filler)
          << value << " at " << at;
    }
  }
}

// The remembered quoted form follows the text asked for, whatever came before it.
TEST(DebugQuotedPublicTest, MatchesDebugQuotedForEachTextInTurn) {
  const std::string large(20 * 1024, 'k');
  for (const std::string& text : {std::string("key\nA"), std::string("key\nB"), large,
                                  std::string("key\nA"), std::string("say \"hi\"")}) {
    std::string out = "x";
    appendDebugQuotedPublic(out, text);
    EXPECT_EQ(out, "x" + debugQuoted(text));
    EXPECT_EQ(debugQuotedPublicSize(text), debugQuoted(text).size());
  }
}

}  // namespace
}  // namespace sdkcore
