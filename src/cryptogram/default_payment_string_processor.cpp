#include "cryptogram/default_payment_string_processor.hpp"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace sdkcore {
namespace {

constexpr char16_t kDatePattern[] = u"yyyy-MM-dd'T'HH:mm:ssZ";

// Makes the formatter with the fixed pattern and POSIX locale, in the given zone.
std::unique_ptr<icu::SimpleDateFormat> makeFormatter(std::unique_ptr<icu::TimeZone> zone) {
  UErrorCode status = U_ZERO_ERROR;
  auto formatter = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(kDatePattern),
                                                           icu::Locale("en_US_POSIX"), status);
  if (U_FAILURE(status)) {
    // Only a broken ICU installation gets here: the pattern and locale are fixed.
    throw std::runtime_error(std::string("cannot create the date formatter: ") +
                             u_errorName(status));
  }
  if (zone) formatter->adoptTimeZone(zone.release());
  return formatter;
}

std::unique_ptr<icu::TimeZone> hostTimeZone() {
  // detectHostTimeZone reads TZ (or the system zone) now, unlike ICU's default zone, which is
  // fixed at its first use in the process.
  return std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone());
}

std::unique_ptr<icu::TimeZone> namedTimeZone(std::string_view id) {
  const icu::UnicodeString zoneId = icu::UnicodeString::fromUTF8(
      icu::StringPiece(id.data(), static_cast<std::int32_t>(id.size())));
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(zoneId));
  if (*zone == icu::TimeZone::getUnknown()) {
    zone.reset(icu::TimeZone::createTimeZone(icu::UnicodeString(u"UTC")));
  }
  return zone;
}

// Joins the fields with the separator into a string allocated once at its final size. Growing
// the string step by step would leave copies of its beginning (card number and security code
// included) in freed buffers that the caller's wipe of the result cannot reach.
template <std::size_t N>
std::string joinFields(const std::array<std::string_view, N>& fields) {
  std::size_t size = (N - 1) * DefaultPaymentStringProcessor::SPLASH.size();
  for (std::string_view field : fields) size += field.size();
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) out += DefaultPaymentStringProcessor::SPLASH;
    out += fields[i];
  }
  return out;
}

}  // namespace

DefaultPaymentStringProcessor::DefaultPaymentStringProcessor()
    : DefaultPaymentStringProcessor(makeFormatter(hostTimeZone())) {}

DefaultPaymentStringProcessor::DefaultPaymentStringProcessor(std::string_view timeZoneId)
    : DefaultPaymentStringProcessor(makeFormatter(namedTimeZone(timeZoneId))) {}

DefaultPaymentStringProcessor::DefaultPaymentStringProcessor(
    std::unique_ptr<icu::SimpleDateFormat> formatter)
    : dateFormatter_(std::move(formatter)) {}

DefaultPaymentStringProcessor::~DefaultPaymentStringProcessor() = default;

std::string DefaultPaymentStringProcessor::formatDate(std::int64_t timestamp) const {
  // UDate is milliseconds as a double; multiplying in double cannot overflow.
  const UDate instant = static_cast<double>(timestamp) * 1000.0;
  icu::UnicodeString formatted;
  {
    std::lock_guard<std::mutex> lock(formatterMutex_);
    dateFormatter_->format(instant, formatted);
  }
  std::string text;
  formatted.toUTF8String(text);
  if (text.size() < 2) return text;
  // "+0300" becomes "+03:00". Built by appending: g++ 12 misreports insert() at -O2 (-Wrestrict).
  const std::size_t split = text.size() - 2;
  std::string result = text.substr(0, split);
  result += ':';
  result.append(text, split, 2);
  return result;
}

std::string DefaultPaymentStringProcessor::createPaymentString(
    std::string_view mdOrder, std::int64_t timestamp, std::string_view uuid,
    const CoreCardInfo& cardInfo, ZKITRegisteredFrom registeredFrom) const {
  const CardIdentifier& identifier = cardInfo.identifier();
  const bool isNewCard = identifier.kind() == CardIdentifier::Kind::newPaymentMethodIdentifier;
  const std::string_view none;
  const std::string date = formatDate(timestamp);
  const std::string expiry = cardInfo.expDate() ? cardInfo.expDate()->format() : std::string();
  const std::string_view cvv = cardInfo.cvv() ? std::string_view(*cardInfo.cvv()) : none;
  const std::string_view cardHolder =
      cardInfo.cardHolder() ? std::string_view(*cardInfo.cardHolder()) : none;
  return joinFields(std::array<std::string_view, 9>{
      date, uuid, isNewCard ? std::string_view(identifier.value()) : none, cvv, expiry, mdOrder,
      isNewCard ? none : std::string_view(identifier.value()), cardHolder,
      rawValue(registeredFrom)});
}

}  // namespace sdkcore
