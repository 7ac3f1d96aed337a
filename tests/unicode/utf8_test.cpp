#include "unicode/utf8.hpp"

#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

namespace sdkcore::unicode {
namespace {

// Bytes where UTF-8's rules change: ASCII, the edges of the trail bytes and of each lead byte's
// second-byte range, the leads of overlong forms, surrogates and values above U+10FFFF.
constexpr unsigned char kEdgeBytes[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                        0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE,
                                        0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFE, 0xFF};

// Random byte strings: edge bytes, any bytes, and whole or cut encodings of code points.
std::string randomBytes(std::mt19937& random) {
  std::string text;
  const int pieces = std::uniform_int_distribution(0, 12)(random);
  for (int i = 0; i < pieces; ++i) {
    switch (random() % 3) {
      case 0:
        text += char(kEdgeBytes[random() % std::size(kEdgeBytes)]);
        break;
      case 1:
        text += char(random());
        break;
      default: {
        const UChar32 c = UChar32(random() % 0x110000);
        if (U_IS_SURROGATE(c)) break;
        std::string encoded;
        icu::UnicodeString(c).toUTF8String(encoded);
        text += encoded.substr(0, 1 + random() % encoded.size());
      }
    }
  }
  return text;
}

using CodePoints = std::vector<std::pair<char32_t, std::size_t>>;  // value, bytes

CodePoints decodedByUs(std::string_view text) {
  CodePoints result;
  for (std::size_t at = 0; at < text.size();) {
    const Decoded d = decodeAt(text, at);
    result.emplace_back(d.codePoint, d.length);
    at += d.length;
  }
  return result;
}

CodePoints decodedByIcu(std::string_view text) {
  CodePoints result;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto size = static_cast<std::int32_t>(text.size());
  for (std::int32_t at = 0; at < size;) {
    const std::int32_t start = at;
    UChar32 c;
    U8_NEXT_OR_FFFD(bytes, at, size, c);
    result.emplace_back(char32_t(c), std::size_t(at - start));
  }
  return result;
}

bool validForIcu(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, text.data(), std::int32_t(text.size()), &status);
  return status != U_INVALID_CHAR_FOUND;
}

TEST(Utf8Test, ReadsRandomBytesAsIcuDoes) {
  std::mt19937 random(20240615);
  for (int i = 0; i < 50000; ++i) {
    const std::string text = randomBytes(random);
    SCOPED_TRACE(testing::PrintToString(text));
    ASSERT_EQ(decodedByUs(text), decodedByIcu(text));
    ASSERT_EQ(isValidUtf8(text), validForIcu(text));
    std::string repaired = "x";
    appendValidUtf8(repaired, text);
    std::string expected = "x";
    icu::UnicodeString::fromUTF8(text).toUTF8String(expected);
    ASSERT_EQ(repaired, expected);
  }
}

TEST(Utf8Test, EncodesEveryCodePointAsIcuDoes) {
  for (char32_t c = 0; c < 0x110000; ++c) {
    if (U_IS_SURROGATE(c)) continue;
    std::string ours, icu;
    appendUtf8(ours, c);
    icu::UnicodeString(UChar32(c)).toUTF8String(icu);
    ASSERT_EQ(ours, icu) << std::hex << std::uint32_t(c);
    const Decoded back = decodeAt(ours, 0);
    ASSERT_EQ(back.codePoint, c);
    ASSERT_EQ(back.length, ours.size());
    ASSERT_TRUE(isValidUtf8(ours));
  }
}

}  // namespace
}  // namespace sdkcore::unicode
