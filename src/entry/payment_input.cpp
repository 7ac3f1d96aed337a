#include "entry/payment_input.hpp"

#include <optional>
#include <type_traits>
#include <variant>

#include "cryptogram/binding_utils.hpp"
#include "sdkcore/string_extensions.hpp"

namespace sdkcore {
namespace {

template <typename NewCard>
CoreCardInfo newCardInfo(const NewCard& p) {
  return CoreCardInfo(CardIdentifier::newPaymentMethodIdentifier(p.pan()),
                      toExpDate(p.expiryMMYY()), p.cvc(), p.cardholder());
}

CoreCardInfo storedCardInfo(const std::string& bindingId, const std::optional<std::string>& cvc) {
  return CoreCardInfo(CardIdentifier::storedPaymentMethodIdentifier(bindingId), std::nullopt, cvc,
                      std::nullopt);
}

}  // namespace

std::string storedBindingIdOf(const PaymentParamsVariant& params) {
  if (const auto* stored = std::get_if<StoredPaymentMethodParams>(&params)) {
    return BindingUtils::decodeBindingId(stored->storedPaymentMethodId());
  }
  return {};
}

CoreCardInfo cardInfoOf(const PaymentParamsVariant& params, const std::string& storedBindingId) {
  return std::visit(
      [&](const auto& p) -> CoreCardInfo {
        using Record = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<Record, BindingParams> ||
                      std::is_same_v<Record, BindingParamsInstant>) {
          return storedCardInfo(p.bindingId(), p.cvc());
        } else if constexpr (std::is_same_v<Record, StoredPaymentMethodParams>) {
          return storedCardInfo(storedBindingId, p.cvc());
        } else {
          return newCardInfo(p);
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
