#include "entry/request_schema.hpp"

#include <utility>

#include "base/wiped_text.hpp"

namespace sdkcore::schema {
namespace {

// The texts of a record being built, by key.
using FieldTexts = std::array<std::optional<std::string>, kKeyCount>;

constexpr bool isRequired(std::size_t variant, ParamField key) {
  return kVariants[variant].checked.find(key)->required;
}

// One constructor argument: the text of a required field (empty when absent), or the optional
// text as it is.
template <std::size_t Variant, ParamField Key>
auto argument(FieldTexts& texts) {
  std::optional<std::string>& text = texts[indexOf(Key)];
  if constexpr (isRequired(Variant, Key)) {
    return text ? std::move(*text) : std::string();
  } else {
    return std::move(text);
  }
}

template <std::size_t Variant, std::size_t... Argument>
PaymentParamsVariant construct(FieldTexts& texts, std::index_sequence<Argument...>) {
  using Record = std::variant_alternative_t<Variant, PaymentParamsVariant>;
  constexpr const auto& arguments = kVariants[Variant].constructorArguments;
  return Record(argument<Variant, arguments[Argument]>(texts)...);
}

template <std::size_t Variant>
PaymentParamsVariant construct(FieldTexts& texts) {
  return construct<Variant>(texts, std::make_index_sequence<kVariants[Variant].checked.count>());
}

using Constructor = PaymentParamsVariant (*)(FieldTexts&);

template <std::size_t... Variant>
constexpr std::array<Constructor, kVariantCount> constructors(std::index_sequence<Variant...>) {
  return {&construct<Variant>...};
}

constexpr std::array<Constructor, kVariantCount> kConstructors =
    constructors(std::make_index_sequence<kVariantCount>());

}  // namespace

RequestView viewOf(const PaymentParamsVariant& params) {
  return std::visit([](const auto& record) { return RequestView::of(record); }, params);
}

RequestView viewOfAny(const PaymentParamsVariant& params) {
  return params.valueless_by_exception() ? RequestView() : viewOf(params);
}

PaymentParamsVariant makeRecord(std::size_t variant, const FieldSource& source) {
  FieldTexts texts;
  // What a move leaves behind of a short text stays in its inline buffer until wiped.
  struct WipeTexts {
    FieldTexts& texts;
    ~WipeTexts() {
      for (auto& text : texts) wipe(text);
    }
  } wipeTexts{texts};
  for (const Field& field : kReadFields[variant].fields())
    texts[indexOf(field.key)] = source(field);
  return kConstructors[variant](texts);
}

}  // namespace sdkcore::schema
