#include "validation/luhn_string_rule.hpp"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utext.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "sdkcore/string_extensions.hpp"

namespace sdkcore {
namespace {

struct UTextCloser {
  void operator()(UText* text) const noexcept { utext_close(text); }
};

bool isAscii(std::string_view text) noexcept {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The Luhn step for one digit: odd positions from the right are doubled, minus 9 above 9.
std::int64_t luhnTerm(std::int64_t digit, std::size_t position) noexcept {
  if (position % 2 == 0) return digit;
  return digit >= 5 ? 2 * digit - 9 : 2 * digit;
}

class LuhnSum {
 public:
  // Reads 'character' alone as a number and adds it when it is one.
  void add(std::string_view character) {
    const std::optional<std::int64_t> digit = toIntOrNil(character);
    if (!digit) return;
    sum_ += luhnTerm(*digit, count_++);
  }
  bool passes() const noexcept { return count_ == 0 || sum_ % 10 == 0; }

 private:
  std::int64_t sum_ = 0;
  std::size_t count_ = 0;
};

// In ASCII every byte is a character of its own, except CR LF, which is one.
void addAsciiFromLast(std::string_view text, LuhnSum& sum) {
  for (std::size_t end = text.size(); end > 0;) {
    std::size_t start = end - 1;
    if (text[start] == '\n' && start > 0 && text[start - 1] == '\r') --start;
    sum.add(text.substr(start, end - start));
    end = start;
  }
}

// Any other text: grapheme clusters as ICU finds them (a digit with a combining mark, or after a
// prepended sign, is not a digit on its own). Ill-formed UTF-8 reads as U+FFFD.
bool addUnicodeFromLast(std::string_view text, const icu::BreakIterator& prototype, LuhnSum& sum) {
  // ICU break positions are 32-bit.
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return false;
  }
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UText, UTextCloser> utext(
      utext_openUTF8(nullptr, text.data(), static_cast<std::int64_t>(text.size()), &status));
  std::unique_ptr<icu::BreakIterator> breaks(prototype.clone());
  if (U_FAILURE(status) || !breaks) return false;
  breaks->setText(utext.get(), status);
  if (U_FAILURE(status)) return false;
  std::int32_t end = breaks->last();
  for (std::int32_t start = breaks->previous(); start != icu::BreakIterator::DONE;
       start = breaks->previous()) {
    sum.add(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    end = start;
  }
  return true;
}

std::unique_ptr<const icu::BreakIterator> makeCharacterBreaks() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> breaks(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status)) breaks.reset();
  return breaks;
}

}  // namespace

LuhnStringRule::LuhnStringRule(std::string code, std::string message)
    : code_(std::move(code)),
      message_(std::move(message)),
      characterBreaks_(makeCharacterBreaks()) {}

LuhnStringRule::~LuhnStringRule() = default;

ValidationResult LuhnStringRule::validate(const DATA& data) const {
  LuhnSum sum;
  if (isAscii(data)) {
    addAsciiFromLast(data, sum);
  } else if (!characterBreaks_ || !addUnicodeFromLast(data, *characterBreaks_, sum)) {
    // ICU could not segment the text (out of memory): do not call it a valid number.
    return ValidationResult::error(code_, message_);
  }
  if (!sum.passes()) return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
