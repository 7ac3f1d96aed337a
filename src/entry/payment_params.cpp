#include "sdkcore/payment_params.hpp"

#include <initializer_list>
#include <iterator>
#include <utility>
#include <variant>

#include "model/text_form.hpp"
#include "model/wiped_text.hpp"

namespace sdkcore {

CardParams::CardParams(std::string pan, std::string cvc, std::string expiryMMYY,
                       std::optional<std::string> cardholder, std::string mdOrder,
                       std::string pubKey)
    : mdOrder_(std::move(mdOrder)),
      pan_(std::move(pan)),
      cvc_(std::move(cvc)),
      expiryMMYY_(std::move(expiryMMYY)),
      cardholder_(std::move(cardholder)),
      pubKey_(std::move(pubKey)) {}

CardParamsInstant::CardParamsInstant(std::string pan, std::string cvc, std::string expiryMMYY,
                                     std::optional<std::string> cardholder, std::string pubKey)
    : pan_(std::move(pan)),
      cvc_(std::move(cvc)),
      expiryMMYY_(std::move(expiryMMYY)),
      cardholder_(std::move(cardholder)),
      pubKey_(std::move(pubKey)) {}

NewPaymentMethodParams::NewPaymentMethodParams(std::string pan, std::string cvc,
                                               std::string expiryMMYY,
                                               std::optional<std::string> cardholder,
                                               std::string pubKey)
    : pan_(std::move(pan)),
      cvc_(std::move(cvc)),
      expiryMMYY_(std::move(expiryMMYY)),
      cardholder_(std::move(cardholder)),
      pubKey_(std::move(pubKey)) {}

BindingParams::BindingParams(std::string pubKey, std::string bindingId,
                             std::optional<std::string> cvc, std::string mdOrder)
    : mdOrder_(std::move(mdOrder)),
      bindingId_(std::move(bindingId)),
      cvc_(std::move(cvc)),
      pubKey_(std::move(pubKey)) {}

BindingParamsInstant::BindingParamsInstant(std::string pubKey, std::string bindingId,
                                           std::optional<std::string> cvc)
    : bindingId_(std::move(bindingId)), cvc_(std::move(cvc)), pubKey_(std::move(pubKey)) {}

StoredPaymentMethodParams::StoredPaymentMethodParams(std::string pubKey,
                                                     std::string storePaymentMethodId,
                                                     std::optional<std::string> cvc)
    : storedPaymentMethodId_(std::move(storePaymentMethodId)),
      cvc_(std::move(cvc)),
      pubKey_(std::move(pubKey)) {}

CardParams::~CardParams() { wipeAll(pan_, cvc_, expiryMMYY_, cardholder_); }

CardParamsInstant::~CardParamsInstant() { wipeAll(pan_, cvc_, expiryMMYY_, cardholder_); }

NewPaymentMethodParams::~NewPaymentMethodParams() { wipeAll(pan_, cvc_, expiryMMYY_, cardholder_); }

BindingParams::~BindingParams() { wipeAll(bindingId_, cvc_); }

BindingParamsInstant::~BindingParamsInstant() { wipeAll(bindingId_, cvc_); }

StoredPaymentMethodParams::~StoredPaymentMethodParams() { wipeAll(storedPaymentMethodId_, cvc_); }

namespace {

// One "name: value" pair of a record's text form; the value is already rendered.
struct RenderedField {
  ~RenderedField() { wipe(value); }  // values show card data, in clear or masked

  std::string_view name;
  std::string value;
};

// Renders "SDKCore.<type>(name: value, ...)".
std::string renderRecord(std::string_view type, std::initializer_list<RenderedField> fields) {
  constexpr std::string_view kPrefix = "SDKCore.";
  std::size_t size = kPrefix.size() + type.size() + 2;
  for (const RenderedField& field : fields) size += field.name.size() + field.value.size() + 4;
  std::string out;
  out.reserve(size);
  out += kPrefix;
  out += type;
  out += '(';
  bool first = true;
  for (const RenderedField& field : fields) {
    if (!first) out += ", ";
    first = false;
    out += field.name;
    out += ": ";
    out += field.value;
  }
  out += ')';
  return out;
}

// The records of a typed-in card share their fields after the order number.
template <typename Record>
std::string renderCardRecord(std::string_view type, const Record& params) {
  return renderRecord(type, {{"pan", debugQuoted(params.pan())},
                             {"cvc", debugQuoted(params.cvc())},
                             {"expiryMMYY", debugQuoted(params.expiryMMYY())},
                             {"cardholder", debugOptional(params.cardholder())},
                             {"pubKey", debugQuoted(params.pubKey())}});
}

}  // namespace

std::string debugString(const CardParams& params) {
  return renderRecord("CardParams", {{"mdOrder", debugQuoted(params.mdOrder())},
                                     {"pan", debugQuoted(params.pan())},
                                     {"cvc", debugQuoted(params.cvc())},
                                     {"expiryMMYY", debugQuoted(params.expiryMMYY())},
                                     {"cardholder", debugOptional(params.cardholder())},
                                     {"pubKey", debugQuoted(params.pubKey())}});
}

std::string debugString(const CardParamsInstant& params) {
  return renderCardRecord("CardParamsInstant", params);
}

std::string debugString(const NewPaymentMethodParams& params) {
  return renderCardRecord("NewPaymentMethodParams", params);
}

std::string debugString(const BindingParams& params) {
  return renderRecord("BindingParams", {{"mdOrder", debugQuoted(params.mdOrder())},
                                        {"bindingId", debugQuoted(params.bindingId())},
                                        {"cvc", debugOptional(params.cvc())},
                                        {"pubKey", debugQuoted(params.pubKey())}});
}

std::string debugString(const BindingParamsInstant& params) {
  return renderRecord("BindingParamsInstant", {{"bindingId", debugQuoted(params.bindingId())},
                                               {"cvc", debugOptional(params.cvc())},
                                               {"pubKey", debugQuoted(params.pubKey())}});
}

std::string debugString(const StoredPaymentMethodParams& params) {
  return renderRecord("StoredPaymentMethodParams",
                      {{"storedPaymentMethodId", debugQuoted(params.storedPaymentMethodId())},
                       {"cvc", debugOptional(params.cvc())},
                       {"pubKey", debugQuoted(params.pubKey())}});
}

std::string_view caseName(const PaymentParamsVariant& params) noexcept {
  // The names follow the alternatives' declared order.
  static constexpr std::string_view kNames[] = {
      "cardParams",           "cardParamsInstant",      "bindingParams",
      "bindingParamsInstant", "newPaymentMethodParams", "storedPaymentMethodParams"};
  static_assert(std::size(kNames) == std::variant_size_v<PaymentParamsVariant>);
  // A variant left valueless by a throwing assignment has no case.
  if (params.valueless_by_exception()) return "";
  return kNames[params.index()];
}

std::string debugString(const PaymentParamsVariant& params) {
  if (params.valueless_by_exception()) return "SDKCore.PaymentParamsVariant()";
  std::string payload = std::visit([](const auto& record) { return debugString(record); }, params);
  const WipeOnExit wipePayload(payload);
  return joinOnce({"SDKCore.PaymentParamsVariant.", caseName(params), "(params: ", payload, ")"});
}

}  // namespace sdkcore
