#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

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
// Removes white space (ICU's \s: tab, U+000A to U+000D, U+0085 and Unicode category Z) and
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
// Compiles 'pattern' (ICU syntax, see Regex). Throws std::invalid_argument naming the pattern
// when it is invalid or when 'options' holds an unknown bit. Thread-safe.
SDKCORE_EXPORT Regex toRegex(std::string_view pattern, RegexOptions options = RegexOptions::none);

// The error toExpDate() throws: the domain is the message text, the code is always -1, and the
// localized description names both in the current language ("<domain> (error -1)" in English).
class SDKCORE_EXPORT ExpDateError : public std::exception {
 public:
  ExpDateError(std::string domain, std::string localizedDescription)
      : domain_(std::move(domain)), localizedDescription_(std::move(localizedDescription)) {}
  const std::string& domain() const noexcept { return domain_; }
  int code() const noexcept { return -1; }
  // A localized text that names the domain and the code.
  const std::string& localizedDescription() const noexcept { return localizedDescription_; }
  const char* what() const noexcept override { return localizedDescription_.c_str(); }

 private:
  std::string domain_;
  std::string localizedDescription_;
};

// Turns "MM/YY" into an ExpiryDate (year 2000 + YY, month MM). Throws ExpDateError with domain
// "Incorrect format, should be MM/YY." when the text does not match ^\d{2}/\d{2}$ (searched like
// the validators' pattern rule, so one final line terminator may follow), and "Invalid month or
// year" when the first or last two characters are not ASCII digits (other scripts' digits, or
// "12/25" followed by a line feed). Does not range-check: "13/99" gives month 13 of 2099.
SDKCORE_EXPORT ExpiryDate toExpDate(std::string_view text);

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
