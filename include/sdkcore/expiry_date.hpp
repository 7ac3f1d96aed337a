#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace sdkcore {

// A card's expiry month and year. Holds whatever it is given; nothing is validated.
class ExpiryDate {
 public:
  ExpiryDate(std::int64_t expYear, std::int64_t expMonth) noexcept
      : expYear_(expYear), expMonth_(expMonth) {}

  std::int64_t expYear() const noexcept { return expYear_; }
  std::int64_t expMonth() const noexcept { return expMonth_; }

  // Returns year and month without separator or padding: 2025/3 gives "20253".
  std::string format() const;
  // Returns month "/" (year mod 100), without padding: 2025/3 gives "3/25".
  std::string formatExpiryDate() const;

  friend bool operator==(const ExpiryDate&, const ExpiryDate&) = default;

 private:
  std::int64_t expYear_;
  std::int64_t expMonth_;
};

// JSON form {"expYear": 2025, "expMonth": 12}. Reading requires both integer members and throws
// `DecodingError` otherwise.
void to_json(nlohmann::json& json, const ExpiryDate& date);
ExpiryDate expiryDateFromJson(const nlohmann::json& json);

}  // namespace sdkcore

template <>
struct std::hash<sdkcore::ExpiryDate> {
  std::size_t operator()(const sdkcore::ExpiryDate& date) const noexcept;
};
