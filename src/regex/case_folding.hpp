#pragma once

#include <array>
#include <cstdint>

namespace sdkcore::regex {

// The full case folding of one code point: one to three code points.
struct FullFolding {
  std::array<char32_t, 3> codePoints;
  std::uint8_t length;
};

// The full case folding of 'c' (CaseFolding.txt, statuses C and F, without the Turkic T): the
// form in which case-insensitive matching compares runs of literal characters, so that "ss"
// meets "ß". Pure lookup; thread-safe.
FullFolding fullCaseFold(char32_t c) noexcept;

}  // namespace sdkcore::regex
