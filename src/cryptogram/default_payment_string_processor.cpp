#include "cryptogram/default_payment_string_processor.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "base/wiped_text.hpp"

namespace sdkcore {
namespace {

static_assert(sizeof(std::time_t) >= sizeof(std::int64_t),
              "every 64-bit time stamp must reach localtime_r unchanged");

// Writes 'value' in decimal, zero-padded to at least 'width' digits, at 'out'; returns the end.
char* putNumber(char* out, std::uint64_t value, std::ptrdiff_t width) {
  if (width == 2 && value < 100) {  // every field but the year
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
  }
  std::array<char, 20> digits;
  char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  for (std::ptrdiff_t n = end - digits.data(); n < width; ++n) *out++ = '0';
  return std::copy(digits.data(), end, out);
}

std::uint64_t magnitude(long long value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// The date field, written into a fixed buffer: at most 20 digits and a sign for the year.
struct DateText {
  std::array<char, 48> bytes;
  std::size_t size;
  std::string_view view() const noexcept { return {bytes.data(), size}; }
};

std::optional<DateText> dateText(std::int64_t timestamp) {
  const std::time_t instant = timestamp;
  std::tm local{};
  if (localtime_r(&instant, &local) == nullptr) return std::nullopt;
  const long long year = static_cast<long long>(local.tm_year) + 1900;
  // As strftime's %z: the sign, then the whole hours and minutes of the offset's magnitude.
  const std::uint64_t offsetMinutes = magnitude(local.tm_gmtoff) / 60;
  DateText text;
  char* out = text.bytes.data();
  if (year < 0) *out++ = '-';
  out = putNumber(out, magnitude(year), 4);
  *out++ = '-';
  out = putNumber(out, magnitude(local.tm_mon + 1), 2);
  *out++ = '-';
  out = putNumber(out, magnitude(local.tm_mday), 2);
  *out++ = 'T';
  out = putNumber(out, magnitude(local.tm_hour), 2);
  *out++ = ':';
  out = putNumber(out, magnitude(local.tm_min), 2);
  *out++ = ':';
  out = putNumber(out, magnitude(local.tm_sec), 2);
  *out++ = local.tm_gmtoff < 0 ? '-' : '+';
  out = putNumber(out, offsetMinutes / 60, 2);
  *out++ = ':';
  out = putNumber(out, offsetMinutes % 60, 2);
  text.size = static_cast<std::size_t>(out - text.bytes.data());
  return text;
}

// The expiry as ExpiryDate::format() writes it (year then month, unpadded), without building a
// string; wiped when it goes out of scope.
class ExpiryText {
 public:
  explicit ExpiryText(const std::optional<ExpiryDate>& date) noexcept {
    if (!date) return;
    char* const end = bytes_.data() + bytes_.size();
    char* out = std::to_chars(bytes_.data(), end, date->expYear()).ptr;
    size_ = static_cast<std::size_t>(std::to_chars(out, end, date->expMonth()).ptr - bytes_.data());
  }
  ~ExpiryText() { wipeBytes(bytes_.data(), bytes_.size()); }
  ExpiryText(const ExpiryText&) = delete;
  ExpiryText& operator=(const ExpiryText&) = delete;
  std::string_view view() const noexcept { return {bytes_.data(), size_}; }

 private:
  std::array<char, 40> bytes_{};  // two 64-bit numbers with their signs
  std::size_t size_ = 0;
};

// Joins the fields with the separator into a string allocated once at its final size. Growing
// the string step by step would leave copies of its beginning (card number and security code
// included) in freed buffers that the caller's wipe of the result cannot reach.
template <std::size_t N>
std::string joinFields(const std::array<std::string_view, N>& fields) {
  std::size_t size = (N - 1) * DefaultPaymentStringProcessor::SPLASH.size();
  for (std::string_view field : fields) size += field.size();
  static_assert(DefaultPaymentStringProcessor::SPLASH.size() == 1);
  std::string out(size, DefaultPaymentStringProcessor::SPLASH[0]);
  char* at = std::copy(fields[0].begin(), fields[0].end(), out.data());
  for (std::size_t i = 1; i < N; ++i) at = std::copy(fields[i].begin(), fields[i].end(), at + 1);
  return out;
}

}  // namespace

std::optional<std::string> DefaultPaymentStringProcessor::formatDate(std::int64_t timestamp) {
  const std::optional<DateText> date = dateText(timestamp);
  if (!date) return std::nullopt;
  return std::string(date->view());
}

std::optional<std::string> DefaultPaymentStringProcessor::createPaymentString(
    std::string_view mdOrder, std::int64_t timestamp, std::string_view uuid,
    const CoreCardInfo& cardInfo, ZKITRegisteredFrom registeredFrom) const {
  const CardIdentifier& identifier = cardInfo.identifier();
  const bool isNewCard = identifier.kind() == CardIdentifier::Kind::newPaymentMethodIdentifier;
  const std::string_view none;
  return createPaymentString(
      mdOrder, timestamp, uuid,
      PaymentCardFields{isNewCard ? std::string_view(identifier.value()) : none,
                        cardInfo.cvv() ? std::string_view(*cardInfo.cvv()) : none,
                        cardInfo.expDate(), isNewCard ? none : std::string_view(identifier.value()),
                        cardInfo.cardHolder() ? std::string_view(*cardInfo.cardHolder()) : none},
      registeredFrom);
}

std::optional<std::string> DefaultPaymentStringProcessor::createPaymentString(
    std::string_view mdOrder, std::int64_t timestamp, std::string_view uuid,
    const PaymentCardFields& card, ZKITRegisteredFrom registeredFrom) const {
  const std::optional<DateText> date = dateText(timestamp);
  if (!date) return std::nullopt;
  const ExpiryText expiry(card.expiry);
  return joinFields(std::array<std::string_view, 9>{date->view(), uuid, card.pan, card.cvv,
                                                    expiry.view(), mdOrder, card.storedId,
                                                    card.cardHolder, rawValue(registeredFrom)});
}

}  // namespace sdkcore
