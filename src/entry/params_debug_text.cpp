#include "entry/params_debug_text.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "base/wiped_text.hpp"
#include "entry/request_schema.hpp"
#include "log/card_data_mask.hpp"
#include "log/digit_run_mask.hpp"
#include "log/logged_text.hpp"
#include "text/text_form.hpp"

namespace sdkcore {
namespace {

using schema::RequestView;

// One "name: value" pair of a record's text form: a quoted text, Optional("...") / nil, or the
// quoted key text, which repeats from request to request.
struct RecordField {
  enum class Form { quoted, optional, key };

  std::string_view name;
  std::optional<std::string_view> text;
  Form form = Form::quoted;
  std::string omittedNote;  // after the value, when a log event shows only part of the text

  std::size_t valueSize() const { return formSize() + omittedNote.size(); }
  void appendValue(std::string& out) const {
    appendForm(out);
    out += omittedNote;
  }

 private:
  std::size_t formSize() const {
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
  void appendForm(std::string& out) const {
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

// The fields of a record as a text form shows them: as they are, or as a log event shows them,
// masked into storage of their own that is wiped afterwards (the card number and security code
// whole, every other field's digit runs that may be a card number typed in the wrong place) and
// cut to a bounded length.
class ShownCardData {
 public:
  explicit ShownCardData(CardDataShown shown) : masked_(shown == CardDataShown::masked) {}
  ~ShownCardData() {
    wipeAll(pan_, cvc_);
    for (std::string& text : others_) wipe(text);
  }
  ShownCardData(const ShownCardData&) = delete;
  ShownCardData& operator=(const ShownCardData&) = delete;

  // At most one call per field of a record.
  LoggedText show(ParamField field, const std::string& text) {
    if (!masked_) return {text, 0};
    const std::size_t limit =
        field == ParamField::PUB_KEY ? kMaxLoggedKeyCharacters : kMaxLoggedCharacters;
    return cutForLog(masked(field, text), limit);
  }

 private:
  std::string_view masked(ParamField field, const std::string& text) {
    if (field == ParamField::PAN) return pan_ = maskCardNumber(text);
    if (field == ParamField::CVC) return cvc_ = maskSecurityCode(text);
    std::string& storage = others_.at(othersUsed_++);
    // The merchant's key repeats from request to request.
    if (field == ParamField::PUB_KEY) return maskDigitRunsOfRepeatedText(text, storage);
    return maskDigitRuns(text, storage);
  }

  bool masked_;
  std::string pan_;
  std::string cvc_;
  std::array<std::string, 6> others_;
  std::size_t othersUsed_ = 0;
};

RecordField::Form formOf(const schema::Field& field) {
  if (field.key == ParamField::PUB_KEY) return RecordField::Form::key;
  return field.required ? RecordField::Form::quoted : RecordField::Form::optional;
}

// The fields in the order the record stores them.
RecordForm recordForm(const RequestView& view, ShownCardData& shown) {
  RecordForm form{view.schema().typeName, {}, 0};
  for (const schema::Field& field : schema::kStoredFields[view.variant()].fields()) {
    const std::string* text = view.text(field.key);
    std::optional<std::string_view> value;
    LoggedText logged;
    if (text) value = (logged = shown.show(field.key, *text)).shown;
    form.fields[form.count++] = {schema::memberName(field.key), value, formOf(field),
                                 logged.omittedNote()};
  }
  return form;
}

// Text forms are built in one buffer allocated at its final size: growing it would leave copies
// of the card data in the blocks it frees.
std::string render(const RequestView& view) {
  ShownCardData shown(CardDataShown::inClear);
  const RecordForm form = recordForm(view, shown);
  std::string out;
  out.reserve(form.size());
  form.appendTo(out);
  return out;
}

// The text form of a params variant, "SDKCore.PaymentParamsVariant.<case>(params: <record>)".
class VariantForm {
 public:
  VariantForm(const RequestView& view, CardDataShown shown) : shown_(shown) {
    if (view.hasVariant()) {
      case_ = view.schema().caseName;
      record_ = recordForm(view, shown_);
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

std::string debugString(const CardParams& params) { return render(RequestView::of(params)); }
std::string debugString(const CardParamsInstant& params) { return render(RequestView::of(params)); }
std::string debugString(const NewPaymentMethodParams& params) {
  return render(RequestView::of(params));
}
std::string debugString(const BindingParams& params) { return render(RequestView::of(params)); }
std::string debugString(const BindingParamsInstant& params) {
  return render(RequestView::of(params));
}
std::string debugString(const StoredPaymentMethodParams& params) {
  return render(RequestView::of(params));
}

std::string debugString(const PaymentParamsVariant& params) {
  const VariantForm form(schema::viewOfAny(params), CardDataShown::inClear);
  std::string out;
  out.reserve(form.size());
  form.appendTo(out);
  return out;
}

std::string configDebugString(const schema::RequestView& view, ZKITRegisteredFrom registeredFrom,
                              double timestamp, CardDataShown shown, std::string_view before,
                              std::string_view after) {
  constexpr std::string_view kOpen = "SDKCoreConfig(paymentMethodParams: ";
  constexpr std::string_view kFrom = ", registeredFrom: ";
  constexpr std::string_view kTimestamp = ", timestamp: ";
  const VariantForm form(view, shown);
  const std::string from = debugString(registeredFrom);
  // A card number passed as the time stamp is masked as in any other field.
  const std::string timeText = debugDouble(timestamp);
  std::string maskedTime;
  const WipeOnExit wipeMaskedTime(maskedTime);
  const std::string_view time =
      shown == CardDataShown::masked ? maskDigitRuns(timeText, maskedTime) : timeText;
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
