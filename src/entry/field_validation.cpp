#include "entry/field_validation.hpp"

#include "base/wiped_text.hpp"
#include "log/card_data_mask.hpp"
#include "log/digit_run_mask.hpp"
#include "log/logged_text.hpp"
#include "text/text_form.hpp"

namespace sdkcore {
namespace {

// One check of the plan: the value as the caller gave it (null when absent, which skips the
// check), the validator to run and the key a failure is reported under.
struct PlanEntry {
  const std::string* value;
  const BaseValidator<std::string>* validator;
  ParamField field;
};

// The validator of each field. A stored payment method's identifier is checked as the binding id
// it wraps.
const BaseValidator<std::string>& validatorOf(ParamField field, const FieldValidators& v) {
  switch (field) {
    case ParamField::PAN:
      return v.cardNumber;
    case ParamField::CVC:
      return v.cardCode;
    case ParamField::EXPIRY:
      return v.cardExpiry;
    case ParamField::CARDHOLDER:
      return v.cardHolder;
    case ParamField::PUB_KEY:
      return v.pubKey;
    case ParamField::STORED_PAYMENT_METHOD_ID:
    case ParamField::BINDING_ID:
      return v.cardBindingId;
    case ParamField::MD_ORDER:
    case ParamField::UNKNOWN:
      break;
  }
  return v.orderNumber;
}

// The check of one field of the request's variant, in the plan's order.
PlanEntry entryOf(const schema::Field& field, const schema::RequestView& view,
                  const std::string& storedBindingId, const FieldValidators& validators) {
  const std::string* value =
      field.key == ParamField::STORED_PAYMENT_METHOD_ID ? &storedBindingId : view.text(field.key);
  return {value, &validatorOf(field.key, validators), field.key};
}

// The value masked as log messages may show it: card numbers and security codes masked into
// 'masked', other values with their digit runs masked (a card number typed into the wrong field),
// or as they are, without a copy, when they hold none.
std::string_view maskedForLog(std::string_view value, ParamField field, std::string& masked) {
  switch (field) {
    case ParamField::PAN:
      return masked = maskCardNumber(value);
    case ParamField::CVC:
      return masked = maskSecurityCode(value);
    case ParamField::PUB_KEY:
      return maskDigitRunsOfRepeatedText(value, masked);
    case ParamField::UNKNOWN:
    case ParamField::EXPIRY:
    case ParamField::CARDHOLDER:
    case ParamField::STORED_PAYMENT_METHOD_ID:
    case ParamField::BINDING_ID:
    case ParamField::MD_ORDER:
      return maskDigitRuns(value, masked);
  }
  return maskDigitRuns(value, masked);
}

// The masked value, cut to what a log event shows.
LoggedText loggable(std::string_view value, ParamField field, std::string& masked) {
  const std::size_t limit =
      field == ParamField::PUB_KEY ? kMaxLoggedKeyCharacters : kMaxLoggedCharacters;
  return cutForLog(maskedForLog(value, field, masked), limit);
}

// "validateField(Optional(\"<value>\")): Validate <field>", built in one buffer allocated at its
// final size.
std::string validateMessage(const PlanEntry& entry) {
  constexpr std::string_view kOpen = "validateField(";
  constexpr std::string_view kValidate = "): Validate ";
  constexpr std::string_view kOptional = "Optional(";
  std::string masked;
  const WipeOnExit wipeMasked(masked);
  std::optional<std::string_view> shown;
  LoggedText logged;
  if (entry.value) shown = (logged = loggable(*entry.value, entry.field, masked)).shown;
  // The key text repeats from request to request; its quoted form is remembered.
  const bool key = shown && entry.field == ParamField::PUB_KEY;
  const std::string field = debugString(std::optional(entry.field));
  const std::string note = logged.omittedNote();
  const std::size_t valueSize =
      key ? kOptional.size() + debugQuotedPublicSize(*shown) + 1 : debugOptionalSize(shown);
  std::string message;
  message.reserve(kOpen.size() + valueSize + note.size() + kValidate.size() + field.size());
  message += kOpen;
  if (key) {
    message += kOptional;
    appendDebugQuotedPublic(message, *shown);
    message += ')';
  } else {
    appendDebugOptional(message, shown);
  }
  message += note;
  message += kValidate;
  message += field;
  return message;
}

std::string errorMessage(std::string_view value, ParamField field) {
  std::string masked;
  const WipeOnExit wipeMasked(masked);
  const LoggedText logged = loggable(value, field, masked);
  return joinOnce(
      {"validateField(", logged.shown, logged.omittedNote(), "): Error ", caseName(field)});
}

// A failing result always carries a code from the library's own rules; "invalid" stands in for
// a result that a host-replaced VALID left without one.
std::string codeOf(const ValidationResult& result) {
  return result.errorCode().value_or(CODE_INVALID);
}

}  // namespace

std::optional<FieldError> validateFields(const schema::RequestView& view,
                                         const std::string& storedBindingId,
                                         const FieldValidators& validators, const EventLog& log) {
  for (const schema::Field& field : view.schema().checked.fields()) {
    const PlanEntry entry = entryOf(field, view, storedBindingId, validators);
    log.write([&] { return validateMessage(entry); }, entry.field);
    if (!entry.value) continue;
    const ValidationResult result = entry.validator->validate(*entry.value);
    if (result.isValid()) continue;
    log.write([&] { return errorMessage(*entry.value, entry.field); }, entry.field);
    return FieldError{entry.field, codeOf(result)};
  }
  return std::nullopt;
}

}  // namespace sdkcore
