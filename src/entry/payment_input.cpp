#include "entry/payment_input.hpp"

#include <optional>
#include <type_traits>
#include <variant>

#include "cryptogram/binding_utils.hpp"
#include "sdkcore/string_extensions.hpp"

namespace sdkcore {
namespace {

// A view of the text, the empty one when absent; never of a temporary copy.
std::string_view viewOf(const std::string& text) noexcept { return text; }

std::string_view viewOf(const std::optional<std::string>& text) noexcept {
  return text ? std::string_view(*text) : std::string_view();
}

template <typename NewCard>
PaymentCardFields newCardFields(const NewCard& p) {
  return PaymentCardFields{
      p.pan(), viewOf(p.cvc()), toExpDate(p.expiryMMYY()), {}, viewOf(p.cardholder())};
}

PaymentCardFields storedCardFields(std::string_view bindingId,
                                   const std::optional<std::string>& cvc) noexcept {
  return PaymentCardFields{{}, viewOf(cvc), std::nullopt, bindingId, {}};
}

}  // namespace

std::string storedBindingIdOf(const PaymentParamsVariant& params) {
  if (const auto* stored = std::get_if<StoredPaymentMethodParams>(&params)) {
    return BindingUtils::decodeBindingId(stored->storedPaymentMethodId());
  }
  return {};
}

PaymentCardFields cardFieldsOf(const PaymentParamsVariant& params,
                               const std::string& storedBindingId) {
  return std::visit(
      [&](const auto& p) -> PaymentCardFields {
        using Record = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<Record, BindingParams> ||
                      std::is_same_v<Record, BindingParamsInstant>) {
          return storedCardFields(p.bindingId(), p.cvc());
        } else if constexpr (std::is_same_v<Record, StoredPaymentMethodParams>) {
          return storedCardFields(storedBindingId, p.cvc());
        } else {
          return newCardFields(p);
        }
      },
      params);
}

std::string_view orderNumberOf(const PaymentParamsVariant& params) noexcept {
  if (const auto* card = std::get_if<CardParams>(&params)) return card->mdOrder();
  if (const auto* binding = std::get_if<BindingParams>(&params)) return binding->mdOrder();
  return {};
}

const std::string& pubKeyOf(const PaymentParamsVariant& params) {
  return std::visit([](const auto& p) -> const std::string& { return p.pubKey(); }, params);
}

}  // namespace sdkcore
