#include "entry/payment_input.hpp"

#include "sdkcore/binding_utils.hpp"
#include "sdkcore/string_extensions.hpp"

namespace sdkcore {

using schema::RequestView;

std::string storedBindingIdOf(const RequestView& view) {
  const std::string* stored = view.text(ParamField::STORED_PAYMENT_METHOD_ID);
  return stored ? BindingUtils::decodeBindingId(*stored) : std::string();
}

PaymentCardFields cardFieldsOf(const RequestView& view, const std::string& storedBindingId) {
  PaymentCardFields fields{view.textOrEmpty(ParamField::PAN), view.textOrEmpty(ParamField::CVC),
                           std::nullopt, view.textOrEmpty(ParamField::BINDING_ID),
                           view.textOrEmpty(ParamField::CARDHOLDER)};
  if (const std::string* expiry = view.text(ParamField::EXPIRY)) fields.expiry = toExpDate(*expiry);
  if (view.text(ParamField::STORED_PAYMENT_METHOD_ID)) fields.storedId = storedBindingId;
  return fields;
}

}  // namespace sdkcore
