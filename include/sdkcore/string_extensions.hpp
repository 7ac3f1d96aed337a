#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sdkcore/expiry_date.hpp"
#include "sdkcore/export.h"
#include "sdkcore/regex.hpp"

// Text helpers on UTF-8 strings. Counts and positions are in characters (extended grapheme
// clusters: a letter with a combining accent is one character, and so is CR LF). Invalid UTF-8
// never crashes: each ill-formed sequence is read as U+FFFD, so it fails every check it cannot
// pass, and the helpers that return text return valid UTF-8 (with U+FFFD in its place).
// All functions are thread-safe.
namespace sdkcore {

// Removes every character that is neither a decimal digit of any script (\d, Unicode Nd) nor a
// full stop; then keeps the first 'maxLength' characters, if given.
// Throws std::invalid_argument for a negative 'maxLength'.
SDKCORE_EXPORT std::string digitsOnly(std::string_view text,
                                      std::optional<std::int64_t> maxLength = std::nullopt);
// Removes white space (\s: tab, U+000A to U+000D, U+0085 and Unicode category Z) and
// full stops; then keeps the first 'maxLength' characters, if given.
// Throws std::invalid_argument for a negative 'maxLength'.
SDKCORE_EXPORT std::string noSpaces(std::string_view text,
                                    std::optional<std::int64_t> maxLength = std::nullopt);
// The first / last 'count' characters (all of 'text' when it has no more; "" for 0).
// Throws std::invalid_argument for a negative 'count'.
SDKCORE_EXPORT std::string take(std::string_view text, std::int64_t count);
SDKCORE_EXPORT std::string takeLast(std::string_view text, std::int64_t count);
// Reads the whole text as an optional "+" or "-" followed by ASCII digits only ("007" is 7).
// nullopt for anything else (spaces, other scripts' digits, a lone sign) or a value outside the
// signed 64-bit range (-2^63 is accepted). Never throws.
SDKCORE_EXPORT std::optional<std::int64_t> toIntOrNil(std::string_view text);

// Returns 'text' with its control characters and the line and paragraph separators escaped as the
// library's log messages escape them inside quotes (\n, \r, \t, \0, \u{1B}, \u{2028}), quotes and
// backslashes left as they are: for one-line output of a text already rendered, such as a log
// message. Bytes that are not valid UTF-8 are copied unchanged. Throws only std::bad_alloc.
SDKCORE_EXPORT std::string escapeControlCharacters(std::string_view text);

// A colour with components in 0..1, as parseColor() returns it. A plain value.
struct SDKCORE_EXPORT Color {
  double red;
  double green;
  double blue;
  double alpha;
  friend bool operator==(const Color&, const Color&) = default;
};

// Reads #RRGGBB, RRGGBB, 0xRRGGBB, #RGB or AARRGGBB (alpha ignored, always 1): any text of four
// characters is expanded like #RGB, then leading white space, one "#" and an optional "0x" are
// skipped and hexadecimal digits read up to the first other character. Text without digits gives
// black; more than 16 digits saturate (white). Never throws but for std::bad_alloc.
SDKCORE_EXPORT Color parseColor(std::string_view text);

}  // namespace sdkcore
