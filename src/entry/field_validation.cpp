#include "entry/field_validation.hpp"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "base/wiped_text.hpp"
#include "log/card_data_mask.hpp"
#include "log/digit_run_mask.hpp"
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

// The checks of one request in order: at most six, kept in place rather than on the heap.
class Plan {
 public:
  Plan(std::initializer_list<PlanEntry> entries) noexcept : size_(entries.size()) {
    std::copy(entries.begin(), entries.end(), entries_.begin());
  }
  const PlanEntry* begin() const noexcept { return entries_.data(); }
  const PlanEntry* end() const noexcept { return entries_.data() + size_; }

 private:
  std::array<PlanEntry, 6> entries_{};
  std::size_t size_;
};

const std::string* present(const std::optional<std::string>& text) {
  return text ? &*text : nullptr;
}

Plan planFor(const CardParams& p, const std::string&, const FieldValidators& v) {
  return {{present(p.cardholder()), &v.cardHolder, ParamField::CARDHOLDER},
          {&p.mdOrder(), &v.orderNumber, ParamField::MD_ORDER},
          {&p.expiryMMYY(), &v.cardExpiry, ParamField::EXPIRY},
          {&p.pan(), &v.cardNumber, ParamField::PAN},
          {&p.cvc(), &v.cardCode, ParamField::CVC},
          {&p.pubKey(), &v.pubKey, ParamField::PUB_KEY}};
}

// cardParamsInstant and newPaymentMethodParams carry the same fields.
template <typename InstantCard>
Plan instantCardPlan(const InstantCard& p, const FieldValidators& v) {
  return {{present(p.cardholder()), &v.cardHolder, ParamField::CARDHOLDER},
          {&p.expiryMMYY(), &v.cardExpiry, ParamField::EXPIRY},
          {&p.pan(), &v.cardNumber, ParamField::PAN},
          {&p.cvc(), &v.cardCode, ParamField::CVC},
          {&p.pubKey(), &v.pubKey, ParamField::PUB_KEY}};
}

Plan planFor(const CardParamsInstant& p, const std::string&, const FieldValidators& v) {
  return instantCardPlan(p, v);
}

Plan planFor(const NewPaymentMethodParams& p, const std::string&, const FieldValidators& v) {
  return instantCardPlan(p, v);
}

Plan planFor(const BindingParams& p, const std::string&, const FieldValidators& v) {
  return {{&p.mdOrder(), &v.orderNumber, ParamField::MD_ORDER},
          {&p.bindingId(), &v.cardBindingId, ParamField::BINDING_ID},
          {present(p.cvc()), &v.cardCode, ParamField::CVC},
          {&p.pubKey(), &v.pubKey, ParamField::PUB_KEY}};
}

Plan planFor(const BindingParamsInstant& p, const std::string&, const FieldValidators& v) {
  return {{&p.bindingId(), &v.cardBindingId, ParamField::BINDING_ID},
          {present(p.cvc()), &v.cardCode, ParamField::CVC},
          {&p.pubKey(), &v.pubKey, ParamField::PUB_KEY}};
}

Plan planFor(const StoredPaymentMethodParams& p, const std::string& storedBindingId,
             const FieldValidators& v) {
  return {{&storedBindingId, &v.cardBindingId, ParamField::STORED_PAYMENT_METHOD_ID},
          {present(p.cvc()), &v.cardCode, ParamField::CVC},
          {&p.pubKey(), &v.pubKey, ParamField::PUB_KEY}};
}

// The value as log messages may show it: card numbers and security codes masked into 'masked',
// other values with their digit runs masked (a card number typed into the wrong field), or as
// they are, without a copy, when they hold none.
std::string_view loggable(std::string_view value, ParamField field, std::string& masked) {
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

// "validateField(Optional(\"<value>\")): Validate <field>", built in one buffer allocated at its
// final size.
std::string validateMessage(const PlanEntry& entry) {
  constexpr std::string_view kOpen = "validateField(";
  constexpr std::string_view kValidate = "): Validate ";
  constexpr std::string_view kOptional = "Optional(";
  std::string masked;
  const WipeOnExit wipeMasked(masked);
  std::optional<std::string_view> shown;
  if (entry.value) shown = loggable(*entry.value, entry.field, masked);
  // The key text repeats from request to request; its quoted form is remembered.
  const bool key = shown && entry.field == ParamField::PUB_KEY;
  const std::string field = debugString(std::optional(entry.field));
  const std::size_t valueSize =
      key ? kOptional.size() + debugQuotedPublicSize(*shown) + 1 : debugOptionalSize(shown);
  std::string message;
  message.reserve(kOpen.size() + valueSize + kValidate.size() + field.size());
  message += kOpen;
  if (key) {
    message += kOptional;
    appendDebugQuotedPublic(message, *shown);
    message += ')';
  } else {
    appendDebugOptional(message, shown);
  }
  message += kValidate;
  message += field;
  return message;
}

std::string errorMessage(std::string_view value, ParamField field) {
  std::string masked;
  const WipeOnExit wipeMasked(masked);
  return joinOnce({"validateField(", loggable(value, field, masked), "): Error ", caseName(field)});
}

// A failing result always carries a code from the library's own rules; "invalid" stands in for
// a result that a host-replaced VALID left without one.
std::string codeOf(const ValidationResult& result) {
  return result.errorCode().value_or(CODE_INVALID);
}

}  // namespace

std::optional<FieldError> validateFields(const PaymentParamsVariant& params,
                                         const std::string& storedBindingId,
                                         const FieldValidators& validators, const EventLog& log) {
  const Plan plan = std::visit(
      [&](const auto& record) { return planFor(record, storedBindingId, validators); }, params);
  for (const PlanEntry& entry : plan) {
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
