#pragma once

// UTF-8 as the library reads it: every maximal ill-formed subsequence (as Unicode's "best
// practice for U+FFFD substitution" defines it) counts as one U+FFFD REPLACEMENT CHARACTER, so
// that any byte sequence decodes without failure and the same way everywhere. Surrogate code
// points (ED A0..BF xx) and values above U+10FFFF are ill-formed. Pure functions; thread-safe.

#include <cstddef>
#include <string>
#include <string_view>

namespace sdkcore::unicode {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// One code point read from a text: its value and how many bytes it took (at least 1).
struct Decoded {
  char32_t codePoint;
  std::size_t length;
};

namespace detail {
// decodeAt for a byte that is not ASCII.
Decoded decodeMultibyte(std::string_view text, std::size_t at) noexcept;
}  // namespace detail

// Decodes the code point that starts at byte 'at' of 'text' (at < text.size()). An ill-formed
// subsequence gives U+FFFD with its length.
inline Decoded decodeAt(std::string_view text, std::size_t at) noexcept {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  return detail::decodeMultibyte(text, at);
}

// Appends the UTF-8 form of 'c' (at most U+10FFFF and not a surrogate) to 'out'.
void appendUtf8(std::string& out, char32_t c);

// True when 'text' is well-formed UTF-8.
bool isValidUtf8(std::string_view text) noexcept;

// 'text' with each ill-formed subsequence replaced by the three bytes of U+FFFD; appended to
// 'out', whose growth the caller controls (reserve, or a wiping string).
void appendValidUtf8(std::string& out, std::string_view text);

}  // namespace sdkcore::unicode
