#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sdkcore/expiry_date.hpp"
#include "sdkcore/zkit_registered_from.hpp"

namespace sdkcore {

// The card fields of a payment string, as views of texts that the caller keeps alive (and wipes)
// for the call: the card number or the stored id, whichever the card has, the security code and
// holder name (empty when absent) and the expiry date of a new card.
struct PaymentCardFields {
  std::string_view pan;
  std::string_view cvv;
  std::optional<ExpiryDate> expiry;
  std::string_view storedId;
  std::string_view cardHolder;
};

// Builds the nine-field payment string:
// date/uuid/pan/cvv/expiry/mdOrder/storedId/cardHolder/registeredFrom. Values are inserted as
// they are; a missing value is an empty field between its separators.
//
// The date is the local wall-clock time of the instant and its offset from UTC, as
// "yyyy-MM-dd'T'HH:mm:ss±hh:mm" ("2023-11-15T03:43:20+05:30"), in the zone that the C library
// holds for the process: TZ (Olson names, ":"-prefixed names and POSIX rule strings) or the
// system zone, with the system's zone rules. The zone is read when tzset() runs; `SdkCore` calls
// it when constructed.
//
// Thread safety: stateless; one processor may serve any number of threads at once. It takes no
// lock of its own (the C library serialises its zone data internally).
class DefaultPaymentStringProcessor final {
 public:
  // The field separator.
  static constexpr std::string_view SPLASH = "/";

  DefaultPaymentStringProcessor() = default;

  // Returns the payment string, or nullopt when the C library cannot represent the local date of
  // 'timestamp' (a year beyond the range of its calendar fields). The card fields are views: no
  // copy of the card data is made but the payment string itself. Throws only std::bad_alloc.
  std::optional<std::string> createPaymentString(std::string_view mdOrder, std::int64_t timestamp,
                                                 std::string_view uuid,
                                                 const PaymentCardFields& card,
                                                 ZKITRegisteredFrom registeredFrom) const;

  // Returns the date field for 'timestamp' seconds since 1970-01-01T00:00:00 UTC: the local wall
  // clock and offset of the zone in TZ. The offset comes from localtime_r(); past the last time_t
  // (2038-01-19 where time_t has 32 bits) from the same date and weekday of the latest year that
  // time_t holds with the same calendar, as zones keep one rule for the years after their last
  // change. Nullopt before the first time_t (1901-12-13 where time_t has 32 bits), when the C
  // library has no offset, or when the year does not fit struct tm. The calendar is proleptic
  // Gregorian; the year has at least four digits and a minus sign before year 0 (1 BC). An
  // offset with seconds (local mean time before about 1920) shows its hours and minutes
  // truncated, as strftime's %z does, while the wall-clock time uses the full offset. Throws only
  // std::bad_alloc.
  static std::optional<std::string> formatDate(std::int64_t timestamp);
};

}  // namespace sdkcore
