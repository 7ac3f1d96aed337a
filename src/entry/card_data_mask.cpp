#include "entry/card_data_mask.hpp"

#include <cstddef>
#include <optional>
#include <variant>
#include <vector>

#include "model/unicode_text.hpp"

namespace sdkcore {
namespace {

constexpr std::size_t kMinMaskedLength = 13;
constexpr std::size_t kKeptHead = 6;
constexpr std::size_t kKeptTail = 4;

std::optional<std::string> masked(const std::optional<std::string>& cvc) {
  if (!cvc) return std::nullopt;
  return maskSecurityCode(*cvc);
}

PaymentParamsVariant maskRecord(const CardParams& p) {
  return CardParams(maskCardNumber(p.pan()), maskSecurityCode(p.cvc()), p.expiryMMYY(),
                    p.cardholder(), p.mdOrder(), p.pubKey());
}
PaymentParamsVariant maskRecord(const CardParamsInstant& p) {
  return CardParamsInstant(maskCardNumber(p.pan()), maskSecurityCode(p.cvc()), p.expiryMMYY(),
                           p.cardholder(), p.pubKey());
}
PaymentParamsVariant maskRecord(const NewPaymentMethodParams& p) {
  return NewPaymentMethodParams(maskCardNumber(p.pan()), maskSecurityCode(p.cvc()), p.expiryMMYY(),
                                p.cardholder(), p.pubKey());
}
PaymentParamsVariant maskRecord(const BindingParams& p) {
  return BindingParams(p.pubKey(), p.bindingId(), masked(p.cvc()), p.mdOrder());
}
PaymentParamsVariant maskRecord(const BindingParamsInstant& p) {
  return BindingParamsInstant(p.pubKey(), p.bindingId(), masked(p.cvc()));
}
PaymentParamsVariant maskRecord(const StoredPaymentMethodParams& p) {
  return StoredPaymentMethodParams(p.pubKey(), p.storedPaymentMethodId(), masked(p.cvc()));
}

bool keptAt(std::size_t index, std::size_t count) {
  return index < kKeptHead || index >= count - kKeptTail;
}

// Walks the bytes of ASCII text, so that no character is copied out on its own.
std::string maskAsciiCardNumber(std::string_view pan) {
  const auto count = static_cast<std::size_t>(characterCount(pan));
  if (count < kMinMaskedLength) return std::string(count, '*');
  std::string result;
  result.reserve(pan.size());
  std::size_t index = 0;
  for (std::size_t at = 0; at < pan.size(); ++index) {
    const std::size_t length = asciiCharacterLength(pan, at);
    if (keptAt(index, count)) {
      result.append(pan.substr(at, length));
    } else {
      result += '*';
    }
    at += length;
  }
  return result;
}

}  // namespace

std::string maskCardNumber(std::string_view pan) {
  if (isAscii(pan)) return maskAsciiCardNumber(pan);
  const std::vector<std::string> characters = splitCharacters(pan);
  const std::size_t count = characters.size();
  if (count < kMinMaskedLength) return std::string(count, '*');
  std::string result;
  for (std::size_t i = 0; i < count; ++i) result += keptAt(i, count) ? characters[i] : "*";
  return result;
}

std::string maskSecurityCode(std::string_view cvc) {
  return std::string(static_cast<std::size_t>(characterCount(cvc)), '*');
}

PaymentParamsVariant maskCardData(const PaymentParamsVariant& params) {
  return std::visit([](const auto& record) { return maskRecord(record); }, params);
}

}  // namespace sdkcore
