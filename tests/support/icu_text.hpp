#pragma once

// Text conversions for tests that ask ICU, the referee of the library's own Unicode, for its
// answers.

#include <string>
#include <string_view>

#include <unicode/unistr.h>

namespace sdkcore::testing_support {

// 'utf8' as ICU reads it (each ill-formed subsequence becomes U+FFFD).
inline icu::UnicodeString icuText(std::string_view utf8) {
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
}

// 'text' as UTF-8.
inline std::string utf8Of(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace sdkcore::testing_support
