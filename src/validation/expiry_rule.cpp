#include "validation/expiry_rule.hpp"

#include <exception>
#include <string_view>
#include <utility>

#include "base/wiped_text.hpp"
#include "sdkcore/string_extensions.hpp"
#include "text/character_cut.hpp"

namespace sdkcore {
namespace {

std::int64_t numberOrInvalid(std::string_view text) {
  return toIntOrNil(text).value_or(ExpiryRule::INVALID_FIELD_VALUE);
}

}  // namespace

ExpiryRule::ExpiryRule(std::string code, std::string message)
    : code_(std::move(code)),
      message_(std::move(message)),
      monthChecker_(code_, message_, MONTH_MIN, MONTH_MAX),
      yearChecker_(code_, message_, YEAR_MIN, YEAR_MAX),
      notDigitOrDot_(toRegex(R"([^\d.])")) {}

ValidationResult ExpiryRule::validate(const DATA& data) const {
  std::int64_t month = INVALID_FIELD_VALUE;
  std::int64_t year = INVALID_FIELD_VALUE;
  try {
    const std::string cleaned = notDigitOrDot_.replaceAll(data, "");
    std::string storage;
    const WipeOnExit wipeStorage(storage);
    month = numberOrInvalid(characterCut(cleaned, 2, false, storage));
    year = numberOrInvalid(characterCut(cleaned, 2, true, storage));
  } catch (const std::exception&) {
    // Memory exhaustion: unreadable, so both parts stay -1.
  }
  if (ValidationResult result = monthChecker_.validate(month); !result.isValid()) return result;
  if (ValidationResult result = yearChecker_.validate(year); !result.isValid()) return result;
  return ValidationResult::VALID();
}

}  // namespace sdkcore
