#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include <unicode/uversion.h>

#include "cryptogram/payment_string_processor.hpp"

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

namespace sdkcore {

// Builds the nine-field payment string:
// date/uuid/pan/cvv/expiry/mdOrder/storedId/cardHolder/registeredFrom. Values are inserted as
// they are; a missing value is an empty field between its separators.
//
// The date is the time stamp rendered with the pattern "yyyy-MM-dd'T'HH:mm:ssZ" under the
// "en_US_POSIX" locale, with a colon put into the zone offset ("2023-11-14T22:13:20+00:00").
//
// Thread safety: one processor may serve any number of threads at once. The date formatter is
// made in the constructor and every use of it is serialised by a mutex (ICU formatters keep a
// mutable calendar and must not format concurrently).
class DefaultPaymentStringProcessor final : public PaymentStringProcessor {
 public:
  // The field separator.
  static constexpr std::string_view SPLASH = "/";

  // Formats dates in the process's time zone as the environment names it (TZ, else the system
  // zone), read once here. A TZ value that ICU does not know falls back to UTC.
  DefaultPaymentStringProcessor();
  // Formats dates in the zone with the given ICU/Olson id ("UTC", "Asia/Kolkata",
  // "GMT+03:00"); an unknown id gives UTC. Meant for tests and hosts with a fixed zone.
  explicit DefaultPaymentStringProcessor(std::string_view timeZoneId);
  ~DefaultPaymentStringProcessor() override;

  DefaultPaymentStringProcessor(const DefaultPaymentStringProcessor&) = delete;
  DefaultPaymentStringProcessor& operator=(const DefaultPaymentStringProcessor&) = delete;

  // Returns the payment string; never throws except for memory exhaustion.
  std::string createPaymentString(std::string_view mdOrder, std::int64_t timestamp,
                                  std::string_view uuid, const CoreCardInfo& cardInfo,
                                  ZKITRegisteredFrom registeredFrom) const override;

  // Returns the date field for 'timestamp' seconds since 1970-01-01T00:00:00 UTC, such as
  // "2023-11-15T03:43:20+05:30". Instants beyond the calendar's range are clamped by ICU.
  std::string formatDate(std::int64_t timestamp) const;

 private:
  explicit DefaultPaymentStringProcessor(std::unique_ptr<icu::SimpleDateFormat> formatter);

  std::unique_ptr<icu::SimpleDateFormat> dateFormatter_;
  mutable std::mutex formatterMutex_;
};

}  // namespace sdkcore
