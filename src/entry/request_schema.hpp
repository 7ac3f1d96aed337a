#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "sdkcore/param_field.hpp"
#include "sdkcore/payment_params.hpp"

// The request schema: which fields each of the six payment variants has, written down once.
// Token generation, the text forms of the records, the JSON and C request readers and the command
// line read this table rather than knowing the variants themselves.

namespace sdkcore::schema {

// One field of a variant: its key, and whether the record always has it (a text) or may leave it
// absent (an optional text).
struct Field {
  ParamField key;
  bool required;
};

// Up to six fields in a fixed order.
struct FieldList {
  std::array<Field, 6> items{};
  std::size_t count = 0;

  constexpr std::span<const Field> fields() const noexcept { return {items.data(), count}; }
  constexpr void add(Field field) noexcept { items[count++] = field; }
  constexpr std::optional<Field> find(ParamField key) const noexcept {
    for (const Field& field : fields()) {
      if (field.key == key) return field;
    }
    return std::nullopt;
  }
};

// One variant: its case name, its record's type name, its fields in the order the validation plan
// checks them, and its record constructor's arguments in order.
struct Variant {
  std::string_view caseName;
  std::string_view typeName;
  FieldList checked;
  std::array<ParamField, 6> constructorArguments{};
};

inline constexpr std::size_t kVariantCount = std::variant_size_v<PaymentParamsVariant>;
// Keys are indexes of per-field arrays; UNKNOWN is the first and no record's field.
inline constexpr std::size_t kKeyCount = static_cast<std::size_t>(ParamField::MD_ORDER) + 1;

constexpr std::size_t indexOf(ParamField key) noexcept { return static_cast<std::size_t>(key); }

namespace detail {
using enum ParamField;
constexpr Field required(ParamField key) noexcept { return {key, true}; }
constexpr Field optional(ParamField key) noexcept { return {key, false}; }
constexpr FieldList list(std::initializer_list<Field> fields) noexcept {
  FieldList list;
  for (const Field& field : fields) list.add(field);
  return list;
}
// The three records of a typed-in card share their fields after the order number.
constexpr FieldList kTypedInCard =
    list({optional(CARDHOLDER), required(EXPIRY), required(PAN), required(CVC), required(PUB_KEY)});
}  // namespace detail

// The table, in the order of PaymentParamsVariant's alternatives.
inline constexpr std::array<Variant, kVariantCount> kVariants = [] {
  using namespace detail;
  return std::array<Variant, kVariantCount>{{
      {"cardParams",
       "CardParams",
       list({optional(CARDHOLDER), required(MD_ORDER), required(EXPIRY), required(PAN),
             required(CVC), required(PUB_KEY)}),
       {PAN, CVC, EXPIRY, CARDHOLDER, MD_ORDER, PUB_KEY}},
      {"cardParamsInstant",
       "CardParamsInstant",
       kTypedInCard,
       {PAN, CVC, EXPIRY, CARDHOLDER, PUB_KEY}},
      {"bindingParams",
       "BindingParams",
       list({required(MD_ORDER), required(BINDING_ID), optional(CVC), required(PUB_KEY)}),
       {PUB_KEY, BINDING_ID, CVC, MD_ORDER}},
      {"bindingParamsInstant",
       "BindingParamsInstant",
       list({required(BINDING_ID), optional(CVC), required(PUB_KEY)}),
       {PUB_KEY, BINDING_ID, CVC}},
      {"newPaymentMethodParams",
       "NewPaymentMethodParams",
       kTypedInCard,
       {PAN, CVC, EXPIRY, CARDHOLDER, PUB_KEY}},
      {"storedPaymentMethodParams",
       "StoredPaymentMethodParams",
       list({required(STORED_PAYMENT_METHOD_ID), optional(CVC), required(PUB_KEY)}),
       {PUB_KEY, STORED_PAYMENT_METHOD_ID, CVC}},
  }};
}();

// The name of a field's record member, as text forms and JSON requests spell it ("pan").
constexpr std::string_view memberName(ParamField key) noexcept {
  switch (key) {
    case ParamField::PAN:
      return "pan";
    case ParamField::CVC:
      return "cvc";
    case ParamField::EXPIRY:
      return "expiryMMYY";
    case ParamField::CARDHOLDER:
      return "cardholder";
    case ParamField::PUB_KEY:
      return "pubKey";
    case ParamField::STORED_PAYMENT_METHOD_ID:
      return "storedPaymentMethodId";
    case ParamField::BINDING_ID:
      return "bindingId";
    case ParamField::MD_ORDER:
      return "mdOrder";
    case ParamField::UNKNOWN:
      return "";
  }
  return "";
}

// The order in which every record stores its fields, and so lists them in its text form.
inline constexpr std::array<ParamField, kKeyCount - 1> kStoredOrder = {
    ParamField::MD_ORDER,   ParamField::PAN,
    ParamField::BINDING_ID, ParamField::STORED_PAYMENT_METHOD_ID,
    ParamField::CVC,        ParamField::EXPIRY,
    ParamField::CARDHOLDER, ParamField::PUB_KEY};

namespace detail {
constexpr std::size_t constructorArity(const Variant& variant) noexcept {
  return variant.checked.count;
}
constexpr std::array<FieldList, kVariantCount> storedFields() noexcept {
  std::array<FieldList, kVariantCount> result{};
  for (std::size_t v = 0; v < kVariantCount; ++v) {
    for (const ParamField key : kStoredOrder) {
      if (const auto field = kVariants[v].checked.find(key)) result[v].add(*field);
    }
  }
  return result;
}
// Readers take the fields in the constructor's order with the key last: the key alone may come
// from elsewhere (a default), and an error names the first field that fails.
constexpr std::array<FieldList, kVariantCount> readFields() noexcept {
  std::array<FieldList, kVariantCount> result{};
  for (std::size_t v = 0; v < kVariantCount; ++v) {
    for (std::size_t i = 0; i < constructorArity(kVariants[v]); ++i) {
      const ParamField key = kVariants[v].constructorArguments[i];
      if (key != ParamField::PUB_KEY) result[v].add(*kVariants[v].checked.find(key));
    }
    result[v].add(*kVariants[v].checked.find(ParamField::PUB_KEY));
  }
  return result;
}
}  // namespace detail

// Each variant's fields in stored order, and in the order readers take them.
inline constexpr std::array<FieldList, kVariantCount> kStoredFields = detail::storedFields();
inline constexpr std::array<FieldList, kVariantCount> kReadFields = detail::readFields();

// Returns the index of the variant whose case name is 'name', or nullopt.
constexpr std::optional<std::size_t> variantNamed(std::string_view name) noexcept {
  for (std::size_t v = 0; v < kVariantCount; ++v) {
    if (kVariants[v].caseName == name) return v;
  }
  return std::nullopt;
}

// The fields of one request, flat: the variant's index in the table and, by key, the text of
// each field (null for a field the variant does not have and for an absent optional one). The
// texts are the record's own, valid while it lives; the view copies nothing.
class RequestView {
 public:
  static constexpr std::size_t kNoVariant = kVariantCount;

  // The view of one record.
  template <typename Record>
  static RequestView of(const Record& record) noexcept;

  // False only for a variant left valueless by a throwing assignment.
  bool hasVariant() const noexcept { return variant_ != kNoVariant; }
  std::size_t variant() const noexcept { return variant_; }
  const Variant& schema() const noexcept { return kVariants[variant_]; }

  const std::string* text(ParamField key) const noexcept { return texts_[indexOf(key)]; }
  // The text of 'key', the empty one when absent.
  std::string_view textOrEmpty(ParamField key) const noexcept {
    const std::string* found = text(key);
    return found ? std::string_view(*found) : std::string_view();
  }

 private:
  void set(ParamField key, const std::string& text) noexcept { texts_[indexOf(key)] = &text; }
  void set(ParamField key, const std::optional<std::string>& text) noexcept {
    texts_[indexOf(key)] = text ? &*text : nullptr;
  }

  std::size_t variant_ = kNoVariant;
  std::array<const std::string*, kKeyCount> texts_{};
};

namespace detail {
template <typename Record, std::size_t I = 0>
constexpr std::size_t alternativeIndex() noexcept {
  if constexpr (std::is_same_v<std::variant_alternative_t<I, PaymentParamsVariant>, Record>) {
    return I;
  } else {
    return alternativeIndex<Record, I + 1>();
  }
}
}  // namespace detail

// Each record member is looked up by its accessor, so that a record is read the same way
// whichever variant it is; the schema test checks that the accessors and the table agree.
template <typename Record>
RequestView RequestView::of(const Record& record) noexcept {
  RequestView view;
  view.variant_ = detail::alternativeIndex<Record>();
  if constexpr (requires { record.pan(); }) view.set(ParamField::PAN, record.pan());
  if constexpr (requires { record.cvc(); }) view.set(ParamField::CVC, record.cvc());
  if constexpr (requires { record.expiryMMYY(); })
    view.set(ParamField::EXPIRY, record.expiryMMYY());
  if constexpr (requires { record.cardholder(); }) {
    view.set(ParamField::CARDHOLDER, record.cardholder());
  }
  if constexpr (requires { record.pubKey(); }) view.set(ParamField::PUB_KEY, record.pubKey());
  if constexpr (requires { record.storedPaymentMethodId(); }) {
    view.set(ParamField::STORED_PAYMENT_METHOD_ID, record.storedPaymentMethodId());
  }
  if constexpr (requires { record.bindingId(); })
    view.set(ParamField::BINDING_ID, record.bindingId());
  if constexpr (requires { record.mdOrder(); }) view.set(ParamField::MD_ORDER, record.mdOrder());
  return view;
}

// The view of 'params': the one place that opens the payment variant. A valueless variant throws
// std::bad_variant_access, as visiting it does.
RequestView viewOf(const PaymentParamsVariant& params);

// As viewOf(), with no variant (hasVariant() false) for a valueless one instead of throwing.
RequestView viewOfAny(const PaymentParamsVariant& params);

// Gives the text of one field of a record being built: nullopt for an absent one. A required
// field left absent becomes the empty text.
using FieldSource = std::function<std::optional<std::string>(const Field& field)>;

// Builds the record of variant 'variant' (an index of the table), asking 'source' for its fields
// in read order (kReadFields). What 'source' throws passes through; the texts are wiped on the
// way out, whatever happens. 'variant' must be below kVariantCount.
PaymentParamsVariant makeRecord(std::size_t variant, const FieldSource& source);

}  // namespace sdkcore::schema
