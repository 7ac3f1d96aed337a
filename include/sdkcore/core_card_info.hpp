#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "sdkcore/card_identifier.hpp"
#include "sdkcore/expiry_date.hpp"

namespace sdkcore {

// The card data a payment string is written from.
class CoreCardInfo {
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

// JSON form: members "identifier", "expDate", "cvv", "cardHolder" in that order; absent fields
// are left out. Reading treats null as absent and throws `DecodingError` on a wrong type.
void to_json(nlohmann::json& json, const CoreCardInfo& info);
CoreCardInfo coreCardInfoFromJson(const nlohmann::json& json);

}  // namespace sdkcore
