#include "capi/request_builder.hpp"

#include <iterator>

#include "cryptogram/timestamp.hpp"
#include "entry/request_schema.hpp"

namespace {

using sdkcore::ParamField;
using sdkcore::PaymentParamsVariant;
namespace schema = sdkcore::schema;

// The key of each sdkcore_field, by its value.
constexpr ParamField kKeys[] = {
    ParamField::PAN,
    ParamField::CVC,
    ParamField::EXPIRY,
    ParamField::CARDHOLDER,
    ParamField::MD_ORDER,
    ParamField::BINDING_ID,
    ParamField::STORED_PAYMENT_METHOD_ID,
    ParamField::PUB_KEY,
};
static_assert(std::size(kKeys) == SDKCORE_FIELD_PUB_KEY + 1);
static_assert(SDKCORE_VARIANT_STORED_PAYMENT_METHOD_PARAMS + 1 == schema::kVariantCount);

constexpr int fieldOf(ParamField key) noexcept {
  for (int field = SDKCORE_FIELD_PAN; field <= SDKCORE_FIELD_PUB_KEY; ++field) {
    if (kKeys[field] == key) return field;
  }
  return -1;
}

// The sdkcore_field values each variant has, one bit each, by sdkcore_variant.
constexpr std::array<unsigned, schema::kVariantCount> kVariantFields = [] {
  std::array<unsigned, schema::kVariantCount> bits{};
  for (std::size_t variant = 0; variant < schema::kVariantCount; ++variant) {
    for (const schema::Field& field : schema::kVariants[variant].checked.fields()) {
      bits[variant] |= 1u << fieldOf(field.key);
    }
  }
  return bits;
}();

}  // namespace

bool sdkcore_request::hasField(int field) const noexcept {
  return field >= SDKCORE_FIELD_PAN && field <= SDKCORE_FIELD_PUB_KEY &&
         (kVariantFields[variant_] & (1u << field)) != 0;
}

void sdkcore_request::setText(int field, std::string_view text) {
  auto& slot = fields_[static_cast<std::size_t>(field)];
  if (slot) {
    slot->assign(text);
  } else {
    slot.emplace(text);
  }
}

PaymentParamsVariant sdkcore_request::params() const {
  return schema::makeRecord(static_cast<std::size_t>(variant_),
                            [this](const schema::Field& field) -> std::optional<std::string> {
                              const auto& slot =
                                  fields_[static_cast<std::size_t>(fieldOf(field.key))];
                              if (!slot) return std::nullopt;
                              return std::string(slot->text());
                            });
}

sdkcore::SDKCoreConfig sdkcore_request::config() const {
  return sdkcore::SDKCoreConfig(params(), registeredFrom_,
                                timestamp_ ? *timestamp_ : sdkcore::currentTimeSeconds());
}
