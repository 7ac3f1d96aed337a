#include "sdkcore/payment_params.hpp"

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>

#include "base/wiped_text.hpp"
#include "entry/params_debug_text.hpp"
#include "log/card_data_mask.hpp"
#include "log/digit_run_mask.hpp"
#include "text/text_form.hpp"

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

// One "name: value" pair of a record's text form: a quoted text, Optional("...") / nil, or the
// quoted key text, which repeats from request to request.
struct RecordField {
  enum class Form { quoted, optional, key };

  std::string_view name;
  std::optional<std::string_view> text;
  Form form = Form::quoted;

  std::size_t valueSize() const {
    switch (form) {
      case Form::quoted:
        return debugQuotedSize(text.value_or(""));
      case Form::optional:
        return debugOptionalSize(text);
      case Form::key:
        return debugQuotedPublicSize(text.value_or(""));
    }
    return 0;
  }
  void appendValue(std::string& out) const {
    switch (form) {
      case Form::quoted:
        return appendDebugQuoted(out, text.value_or(""));
      case Form::optional:
        return appendDebugOptional(out, text);
      case Form::key:
        return appendDebugQuotedPublic(out, text.value_or(""));
    }
  }
};

RecordField quoted(std::string_view name, std::string_view text) {
  return {name, text, RecordField::Form::quoted};
}
RecordField optionalField(std::string_view name, std::optional<std::string_view> text) {
  return {name, text, RecordField::Form::optional};
}
RecordField keyField(std::string_view text) { return {"pubKey", text, RecordField::Form::key}; }

// A record's text form, "SDKCore.<type>(name: value, ...)", ready to be measured and appended.
struct RecordForm {
  static constexpr std::string_view kPrefix = "SDKCore.";
  static constexpr std::string_view kSeparator = ", ";
  static constexpr std::string_view kNameEnd = ": ";

  std::string_view type;
  std::array<RecordField, 6> fields;
  std::size_t count;

  std::size_t size() const {
    std::size_t size = kPrefix.size() + type.size() + 2 + (count - 1) * kSeparator.size();
    for (std::size_t i = 0; i < count; ++i) {
      size += fields[i].name.size() + kNameEnd.size() + fields[i].valueSize();
    }
    return size;
  }

  void appendTo(std::string& out) const {
    out += kPrefix;
    out += type;
    out += '(';
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) out += kSeparator;
      out += fields[i].name;
      out += kNameEnd;
      fields[i].appendValue(out);
    }
    out += ')';
  }
};

// The fields of a record as a text form shows them: as they are, or masked into storage of their
// own that is wiped afterwards: the card number and security code whole, every other field's
// digit runs that may be a card number typed in the wrong place.
class ShownCardData {
 public:
  explicit ShownCardData(CardDataShown shown) : masked_(shown == CardDataShown::masked) {}
  ~ShownCardData() {
    wipeAll(pan_, cvc_);
    for (std::string& text : others_) wipe(text);
  }
  ShownCardData(const ShownCardData&) = delete;
  ShownCardData& operator=(const ShownCardData&) = delete;

  std::string_view pan(const std::string& pan) {
    return masked_ ? std::string_view(pan_ = maskCardNumber(pan)) : pan;
  }
  std::string_view cvc(const std::string& cvc) {
    return masked_ ? std::string_view(cvc_ = maskSecurityCode(cvc)) : cvc;
  }
  std::optional<std::string_view> cvc(const std::optional<std::string>& cvc) {
    if (!cvc) return std::nullopt;
    return this->cvc(*cvc);
  }
  // Any other field; at most one call per field of a record.
  std::string_view other(const std::string& text) {
    return masked_ ? maskDigitRuns(text, others_.at(othersUsed_++)) : text;
  }
  std::optional<std::string_view> other(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    return other(*text);
  }
  // The merchant's key, which repeats from request to request.
  std::string_view key(const std::string& text) {
    return masked_ ? maskDigitRunsOfRepeatedText(text, others_.at(othersUsed_++)) : text;
  }

 private:
  bool masked_;
  std::string pan_;
  std::string cvc_;
  std::array<std::string, 6> others_;
  std::size_t othersUsed_ = 0;
};

RecordForm formOf(const CardParams& p, ShownCardData& shown) {
  return {"CardParams",
          {quoted("mdOrder", shown.other(p.mdOrder())), quoted("pan", shown.pan(p.pan())),
           quoted("cvc", shown.cvc(p.cvc())), quoted("expiryMMYY", shown.other(p.expiryMMYY())),
           optionalField("cardholder", shown.other(p.cardholder())),
           keyField(shown.key(p.pubKey()))},
          6};
}

// The records of a typed-in card share their fields after the order number.
template <typename Record>
RecordForm cardFormOf(std::string_view type, const Record& p, ShownCardData& shown) {
  return {type,
          {quoted("pan", shown.pan(p.pan())), quoted("cvc", shown.cvc(p.cvc())),
           quoted("expiryMMYY", shown.other(p.expiryMMYY())),
           optionalField("cardholder", shown.other(p.cardholder())),
           keyField(shown.key(p.pubKey()))},
          5};
}

RecordForm formOf(const CardParamsInstant& p, ShownCardData& shown) {
  return cardFormOf("CardParamsInstant", p, shown);
}

RecordForm formOf(const NewPaymentMethodParams& p, ShownCardData& shown) {
  return cardFormOf("NewPaymentMethodParams", p, shown);
}

RecordForm formOf(const BindingParams& p, ShownCardData& shown) {
  return {"BindingParams",
          {quoted("mdOrder", shown.other(p.mdOrder())),
           quoted("bindingId", shown.other(p.bindingId())),
           optionalField("cvc", shown.cvc(p.cvc())), keyField(shown.key(p.pubKey()))},
          4};
}

RecordForm formOf(const BindingParamsInstant& p, ShownCardData& shown) {
  return {"BindingParamsInstant",
          {quoted("bindingId", shown.other(p.bindingId())),
           optionalField("cvc", shown.cvc(p.cvc())), keyField(shown.key(p.pubKey()))},
          3};
}

RecordForm formOf(const StoredPaymentMethodParams& p, ShownCardData& shown) {
  return {"StoredPaymentMethodParams",
          {quoted("storedPaymentMethodId", shown.other(p.storedPaymentMethodId())),
           optionalField("cvc", shown.cvc(p.cvc())), keyField(shown.key(p.pubKey()))},
          3};
}

// Text forms are built in one buffer allocated at its final size: growing it would leave copies
// of the card data in the blocks it frees.
template <typename Record>
std::string render(const Record& params) {
  ShownCardData shown(CardDataShown::inClear);
  const RecordForm form = formOf(params, shown);
  std::string out;
  out.reserve(form.size());
  form.appendTo(out);
  return out;
}

// The text form of a params variant, "SDKCore.PaymentParamsVariant.<case>(params: <record>)".
class VariantForm {
 public:
  VariantForm(const PaymentParamsVariant& params, CardDataShown shown)
      : case_(caseName(params)), shown_(shown) {
    if (!params.valueless_by_exception()) {
      record_ = std::visit([this](const auto& record) { return formOf(record, shown_); }, params);
    }
  }

  std::size_t size() const {
    return record_ ? kPrefix.size() + case_.size() + kParams.size() + record_->size() + 1
                   : kValueless.size();
  }

  void appendTo(std::string& out) const {
    if (!record_) {
      out += kValueless;
      return;
    }
    out += kPrefix;
    out += case_;
    out += kParams;
    record_->appendTo(out);
    out += ')';
  }

 private:
  static constexpr std::string_view kPrefix = "SDKCore.PaymentParamsVariant.";
  static constexpr std::string_view kParams = "(params: ";
  static constexpr std::string_view kValueless = "SDKCore.PaymentParamsVariant()";

  std::string_view case_;
  ShownCardData shown_;
  std::optional<RecordForm> record_;
};

}  // namespace

std::string debugString(const CardParams& params) { return render(params); }
std::string debugString(const CardParamsInstant& params) { return render(params); }
std::string debugString(const NewPaymentMethodParams& params) { return render(params); }
std::string debugString(const BindingParams& params) { return render(params); }
std::string debugString(const BindingParamsInstant& params) { return render(params); }
std::string debugString(const StoredPaymentMethodParams& params) { return render(params); }

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
  const VariantForm form(params, CardDataShown::inClear);
  std::string out;
  out.reserve(form.size());
  form.appendTo(out);
  return out;
}

std::string configDebugString(const PaymentParamsVariant& params, ZKITRegisteredFrom registeredFrom,
                              double timestamp, CardDataShown shown, std::string_view before,
                              std::string_view after) {
  constexpr std::string_view kOpen = "SDKCoreConfig(paymentMethodParams: ";
  constexpr std::string_view kFrom = ", registeredFrom: ";
  constexpr std::string_view kTimestamp = ", timestamp: ";
  const VariantForm form(params, shown);
  const std::string from = debugString(registeredFrom);
  const std::string time = debugDouble(timestamp);
  std::string out;
  out.reserve(before.size() + kOpen.size() + form.size() + kFrom.size() + from.size() +
              kTimestamp.size() + time.size() + 1 + after.size());
  out += before;
  out += kOpen;
  form.appendTo(out);
  out += kFrom;
  out += from;
  out += kTimestamp;
  out += time;
  out += ')';
  out += after;
  return out;
}

}  // namespace sdkcore
