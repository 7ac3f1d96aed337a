#include "entry/card_data_mask.hpp"

#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utext.h>

namespace sdkcore {
namespace {

constexpr std::size_t kMinMaskedLength = 13;
constexpr std::size_t kKeptHead = 6;
constexpr std::size_t kKeptTail = 4;

struct UTextCloser {
  void operator()(UText* text) const { utext_close(text); }
};
using UTextPtr = std::unique_ptr<UText, UTextCloser>;

// Byte offsets of the grapheme-cluster boundaries of 'text', 0 and text.size() included.
// Working on UTF-8 text directly keeps the offsets in bytes, so kept characters are copied
// byte-exactly. Falls back to one boundary per byte if ICU cannot be set up, which still masks
// every byte.
std::vector<std::size_t> clusterBoundaries(std::string_view text) {
  std::vector<std::size_t> bounds;
  UErrorCode status = U_ZERO_ERROR;
  UTextPtr utext(utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status));
  std::unique_ptr<icu::BreakIterator> it(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  if (U_SUCCESS(status)) it->setText(utext.get(), status);
  if (U_FAILURE(status)) {
    for (std::size_t i = 0; i <= text.size(); ++i) bounds.push_back(i);
    return bounds;
  }
  for (int32_t pos = it->first(); pos != icu::BreakIterator::DONE; pos = it->next()) {
    bounds.push_back(static_cast<std::size_t>(pos));
  }
  return bounds;
}

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

}  // namespace

std::string maskCardNumber(std::string_view pan) {
  const std::vector<std::size_t> bounds = clusterBoundaries(pan);
  const std::size_t count = bounds.size() - 1;
  if (count < kMinMaskedLength) return std::string(count, '*');
  const std::size_t tailStart = bounds[count - kKeptTail];
  std::string result(pan.substr(0, bounds[kKeptHead]));
  result.append(count - kKeptHead - kKeptTail, '*');
  result.append(pan.substr(tailStart));
  return result;
}

std::string maskSecurityCode(std::string_view cvc) {
  return std::string(clusterBoundaries(cvc).size() - 1, '*');
}

PaymentParamsVariant maskCardData(const PaymentParamsVariant& params) {
  return std::visit([](const auto& record) { return maskRecord(record); }, params);
}

}  // namespace sdkcore
