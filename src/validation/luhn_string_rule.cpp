#include "validation/luhn_string_rule.hpp"

#include <cstdint>
#include <exception>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/wiped_text.hpp"
#include "sdkcore/string_extensions.hpp"
#include "text/unicode_text.hpp"

namespace sdkcore {
namespace {

class LuhnSum {
 public:
  // Reads 'character' alone as a number and, when it is one, adds its Luhn term: digits at odd
  // positions from the right are doubled, minus 9 when that exceeds 9.
  void add(std::string_view character) {
    if (const std::optional<std::int64_t> digit = toIntOrNil(character)) addDigit(*digit);
  }
  void addDigit(std::int64_t digit) {
    const bool doubled = count_++ % 2 == 1;
    sum_ += !doubled ? digit : (digit >= 5 ? 2 * digit - 9 : 2 * digit);
  }
  bool passes() const noexcept { return count_ == 0 || sum_ % 10 == 0; }

 private:
  std::int64_t sum_ = 0;
  std::uint64_t count_ = 0;
};

// In ASCII every byte is a character of its own, except CR LF, which is one; walking the bytes
// spares the common case of card data the grapheme segmentation. Of the ASCII characters only
// the digits 0 to 9 read as a number alone.
void addAsciiFromLast(std::string_view text, LuhnSum& sum) {
  for (std::size_t end = text.size(); end > 0;) {
    std::size_t start = end - 1;
    if (text[start] == '\n' && start > 0 && text[start - 1] == '\r') --start;
    if (text[start] >= '0' && text[start] <= '9' && end - start == 1)
      sum.addDigit(text[start] - '0');
    end = start;
  }
}

void addFromLast(std::string_view text, LuhnSum& sum) {
  if (isAscii(text)) return addAsciiFromLast(text, sum);
  std::vector<std::string> characters = splitCharacters(text);
  const WipeOnExit wipeCharacters(characters);
  for (auto it = characters.rbegin(); it != characters.rend(); ++it) sum.add(*it);
}

}  // namespace

LuhnStringRule::LuhnStringRule(std::string code, std::string message)
    : code_(std::move(code)), message_(std::move(message)) {}

ValidationResult LuhnStringRule::validate(const DATA& data) const {
  LuhnSum sum;
  try {
    addFromLast(data, sum);
  } catch (const std::exception&) {
    // Out of memory: not a number this rule can vouch for.
    return ValidationResult::error(code_, message_);
  }
  if (!sum.passes()) return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
