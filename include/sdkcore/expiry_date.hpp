#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json_fwd.hpp>

#include "sdkcore/export.h"

namespace sdkcore {

// A card's expiry month and year. Holds whatever it is given; nothing is validated.
// An immutable value: safe to share between threads.
class SDKCORE_EXPORT ExpiryDate {
 public:
  // Year first (the full year, such as 2025), then month; stored as given.
  ExpiryDate(std::int64_t expYear, std::int64_t expMonth) noexcept
      : expYear_(expYear), expMonth_(expMonth) {}

  std::int64_t expYear() const noexcept { return expYear_; }
  std::int64_t expMonth() const noexcept { return expMonth_; }

  // Returns year and month without separator or padding: 2025/3 gives "20253". This is the form
  // of the expiry in the payment string.
  std::string format() const;
  // Returns month "/" (year mod 100, truncating), without padding: 2025/3 gives "3/25", 2105/11
  // gives "11/5".
  std::string formatExpiryDate() const;

  friend bool operator==(const ExpiryDate&, const ExpiryDate&) = default;

 private:
  std::int64_t expYear_;
  std::int64_t expMonth_;
};

// JSON form {"expYear": 2025, "expMonth": 12}; ordered_json keeps that member order (plain
// nlohmann::json sorts keys). Reading requires an object with both members as 64-bit integers
// (a float with an integral value is accepted) in any order, and throws `DecodingError`
// otherwise: keyNotFound, valueNotFound (null), typeMismatch, or dataCorrupted for a number with
// a fraction or out of range.
SDKCORE_EXPORT void to_json(nlohmann::json& json, const ExpiryDate& date);
SDKCORE_EXPORT void to_json(nlohmann::ordered_json& json, const ExpiryDate& date);
SDKCORE_EXPORT ExpiryDate expiryDateFromJson(const nlohmann::json& json);
SDKCORE_EXPORT ExpiryDate expiryDateFromJson(const nlohmann::ordered_json& json);

// The error toExpDate() throws: the domain is the message text, the code is always -1, and the
// localized description names both in the current language ("<domain> (error -1)" in English).
class SDKCORE_EXPORT ExpDateError : public std::exception {
 public:
  ExpDateError(std::string domain, std::string localizedDescription)
      : domain_(std::move(domain)), localizedDescription_(std::move(localizedDescription)) {}
  const std::string& domain() const noexcept { return domain_; }
  int code() const noexcept { return -1; }
  // A localized text that names the domain and the code.
  const std::string& localizedDescription() const noexcept { return localizedDescription_; }
  const char* what() const noexcept override { return localizedDescription_.c_str(); }

 private:
  std::string domain_;
  std::string localizedDescription_;
};

// Turns "MM/YY" into an ExpiryDate (year 2000 + YY, month MM). Throws ExpDateError with domain
// "Incorrect format, should be MM/YY." when the text does not match ^\d{2}/\d{2}$ (searched like
// the validators' pattern rule, so one final line terminator may follow), and "Invalid month or
// year" when the first or last two characters are not ASCII digits (other scripts' digits, or
// "12/25" followed by a line feed). Does not range-check: "13/99" gives month 13 of 2099.
SDKCORE_EXPORT ExpiryDate toExpDate(std::string_view text);

}  // namespace sdkcore

// Hashes year, then month; equal values hash equally.
template <>
struct std::hash<sdkcore::ExpiryDate> {
  SDKCORE_EXPORT std::size_t operator()(const sdkcore::ExpiryDate& date) const noexcept;
};

// Lets nlohmann/json convert the type directly: json.get<sdkcore::ExpiryDate>() and
// ordered_json(date). The type has no default constructor, hence the serializer.
namespace nlohmann {

template <>
struct adl_serializer<sdkcore::ExpiryDate> {
  template <typename Json>
  static sdkcore::ExpiryDate from_json(const Json& json) {
    return sdkcore::expiryDateFromJson(json);
  }
  template <typename Json>
  static void to_json(Json& json, const sdkcore::ExpiryDate& date) {
    sdkcore::to_json(json, date);
  }
};

}  // namespace nlohmann
