#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "sdkcore/card_identifier.hpp"
#include "sdkcore/expiry_date.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// The card data a payment string is written from: an identifier with the optional expiry date,
// security code and card holder name. An immutable value: safe to share between threads.
class SDKCORE_EXPORT CoreCardInfo {
 public:
  CoreCardInfo(CardIdentifier identifier, std::optional<ExpiryDate> expDate,
               std::optional<std::string> cvv, std::optional<std::string> cardHolder);

  const CardIdentifier& identifier() const noexcept { return identifier_; }
  const std::optional<ExpiryDate>& expDate() const noexcept { return expDate_; }
  const std::optional<std::string>& cvv() const noexcept { return cvv_; }
  const std::optional<std::string>& cardHolder() const noexcept { return cardHolder_; }

 private:
  CardIdentifier identifier_;
  std::optional<ExpiryDate> expDate_;
  std::optional<std::string> cvv_;
  std::optional<std::string> cardHolder_;
};

// JSON form: members "identifier", "expDate", "cvv", "cardHolder", written in that order by
// ordered_json (plain nlohmann::json sorts keys); absent fields are left out, never null.
// Reading requires "identifier"; a missing or null optional member reads as absent, a value of
// the wrong type fails the whole reading. Members are read in the order above and the first
// failure is thrown as `DecodingError`; unknown members are ignored.
SDKCORE_EXPORT void to_json(nlohmann::json& json, const CoreCardInfo& info);
SDKCORE_EXPORT void to_json(nlohmann::ordered_json& json, const CoreCardInfo& info);
SDKCORE_EXPORT CoreCardInfo coreCardInfoFromJson(const nlohmann::json& json);
SDKCORE_EXPORT CoreCardInfo coreCardInfoFromJson(const nlohmann::ordered_json& json);

}  // namespace sdkcore

// Lets nlohmann/json convert the type directly (it has no default constructor).
namespace nlohmann {

template <>
struct adl_serializer<sdkcore::CoreCardInfo> {
  template <typename Json>
  static sdkcore::CoreCardInfo from_json(const Json& json) {
    return sdkcore::coreCardInfoFromJson(json);
  }
  template <typename Json>
  static void to_json(Json& json, const sdkcore::CoreCardInfo& info) {
    sdkcore::to_json(json, info);
  }
};

}  // namespace nlohmann
