#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "sdkcore/expiry_date.hpp"
#include "sdkcore/regex.hpp"

// Text helpers on UTF-8 strings. Counts and positions are in characters (extended grapheme
// clusters). Invalid UTF-8 never crashes; it simply fails checks it cannot pass.
namespace sdkcore {

// Keeps decimal digits of any script and full stops; then the first 'maxLength' characters.
// Throws std::invalid_argument for a negative 'maxLength'.
std::string digitsOnly(std::string_view text, std::optional<std::int64_t> maxLength = std::nullopt);
// Drops white space and full stops; then the first 'maxLength' characters.
// Throws std::invalid_argument for a negative 'maxLength'.
std::string noSpaces(std::string_view text, std::optional<std::int64_t> maxLength = std::nullopt);
// The first / last 'count' characters (all of 'text' when shorter).
// Throws std::invalid_argument for a negative 'count'.
std::string take(std::string_view text, std::int64_t count);
std::string takeLast(std::string_view text, std::int64_t count);
// Reads the whole text as an optionally signed ASCII decimal integer; nullopt otherwise or on
// overflow.
std::optional<std::int64_t> toIntOrNil(std::string_view text);
// Compiles 'pattern' (ICU syntax, see Regex). Throws std::invalid_argument naming the pattern
// when it is invalid or when 'options' holds an unknown bit. Thread-safe.
Regex toRegex(std::string_view pattern, RegexOptions options = RegexOptions::none);

// The error toExpDate() throws: domain is the message text, code is -1.
class ExpDateError : public std::exception {
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

// Turns "MM/YY" into an ExpiryDate (year 2000 + YY). Throws ExpDateError with domain
// "Incorrect format, should be MM/YY." or "Invalid month or year". Does not range-check.
ExpiryDate toExpDate(std::string_view text);

// A colour with components in 0..1.
struct Color {
  double red;
  double green;
  double blue;
  double alpha;
  friend bool operator==(const Color&, const Color&) = default;
};

// Reads #RRGGBB, RRGGBB, 0xRRGGBB, #RGB or AARRGGBB (alpha ignored, always 1). Unreadable text
// gives black. Never fails.
Color parseColor(std::string_view text);

}  // namespace sdkcore
