#include "capi/request_builder.hpp"

#include "cryptogram/timestamp.hpp"

namespace {

using sdkcore::PaymentParamsVariant;

constexpr unsigned bit(sdkcore_field field) noexcept { return 1u << field; }

constexpr unsigned kCardFields = bit(SDKCORE_FIELD_PAN) | bit(SDKCORE_FIELD_CVC) |
                                 bit(SDKCORE_FIELD_EXPIRY_MMYY) | bit(SDKCORE_FIELD_CARDHOLDER) |
                                 bit(SDKCORE_FIELD_PUB_KEY);
constexpr unsigned kBindingFields =
    bit(SDKCORE_FIELD_BINDING_ID) | bit(SDKCORE_FIELD_CVC) | bit(SDKCORE_FIELD_PUB_KEY);

// The fields of each variant, by sdkcore_variant.
constexpr unsigned kVariantFields[] = {
    kCardFields | bit(SDKCORE_FIELD_MD_ORDER),     // cardParams
    kCardFields,                                   // cardParamsInstant
    kBindingFields | bit(SDKCORE_FIELD_MD_ORDER),  // bindingParams
    kBindingFields,                                // bindingParamsInstant
    kCardFields,                                   // newPaymentMethodParams
    bit(SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID) | bit(SDKCORE_FIELD_CVC) |
        bit(SDKCORE_FIELD_PUB_KEY),  // storedPaymentMethodParams
};

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

std::string sdkcore_request::required(int field) const {
  const auto& slot = fields_[static_cast<std::size_t>(field)];
  return slot ? slot->text() : std::string();
}

std::optional<std::string> sdkcore_request::optional(int field) const {
  const auto& slot = fields_[static_cast<std::size_t>(field)];
  return slot ? std::optional<std::string>(slot->text()) : std::nullopt;
}

PaymentParamsVariant sdkcore_request::params() const {
  switch (variant_) {
    case SDKCORE_VARIANT_CARD_PARAMS:
      return sdkcore::CardParams(required(SDKCORE_FIELD_PAN), required(SDKCORE_FIELD_CVC),
                                 required(SDKCORE_FIELD_EXPIRY_MMYY),
                                 optional(SDKCORE_FIELD_CARDHOLDER),
                                 required(SDKCORE_FIELD_MD_ORDER), required(SDKCORE_FIELD_PUB_KEY));
    case SDKCORE_VARIANT_CARD_PARAMS_INSTANT:
      return sdkcore::CardParamsInstant(required(SDKCORE_FIELD_PAN), required(SDKCORE_FIELD_CVC),
                                        required(SDKCORE_FIELD_EXPIRY_MMYY),
                                        optional(SDKCORE_FIELD_CARDHOLDER),
                                        required(SDKCORE_FIELD_PUB_KEY));
    case SDKCORE_VARIANT_BINDING_PARAMS:
      return sdkcore::BindingParams(required(SDKCORE_FIELD_PUB_KEY),
                                    required(SDKCORE_FIELD_BINDING_ID), optional(SDKCORE_FIELD_CVC),
                                    required(SDKCORE_FIELD_MD_ORDER));
    case SDKCORE_VARIANT_BINDING_PARAMS_INSTANT:
      return sdkcore::BindingParamsInstant(required(SDKCORE_FIELD_PUB_KEY),
                                           required(SDKCORE_FIELD_BINDING_ID),
                                           optional(SDKCORE_FIELD_CVC));
    case SDKCORE_VARIANT_NEW_PAYMENT_METHOD_PARAMS:
      return sdkcore::NewPaymentMethodParams(
          required(SDKCORE_FIELD_PAN), required(SDKCORE_FIELD_CVC),
          required(SDKCORE_FIELD_EXPIRY_MMYY), optional(SDKCORE_FIELD_CARDHOLDER),
          required(SDKCORE_FIELD_PUB_KEY));
    default:
      return sdkcore::StoredPaymentMethodParams(required(SDKCORE_FIELD_PUB_KEY),
                                                required(SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID),
                                                optional(SDKCORE_FIELD_CVC));
  }
}

sdkcore::SDKCoreConfig sdkcore_request::config() const {
  return sdkcore::SDKCoreConfig(params(), registeredFrom_,
                                timestamp_ ? *timestamp_ : sdkcore::currentTimeSeconds());
}
