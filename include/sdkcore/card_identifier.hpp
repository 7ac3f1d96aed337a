#pragma once

#include <string>
#include <variant>

#include <nlohmann/json_fwd.hpp>

namespace sdkcore {

// Identifies the card of a token: either the number of a new card or the identifier of a stored
// payment method (binding).
class CardIdentifier {
 public:
  enum class Kind { newPaymentMethodIdentifier, storedPaymentMethodIdentifier };

  static CardIdentifier newPaymentMethodIdentifier(std::string pan);
  static CardIdentifier storedPaymentMethodIdentifier(std::string bindingId);

  Kind kind() const noexcept { return kind_; }
  // The card number or the stored identifier, per kind().
  const std::string& value() const noexcept { return value_; }

  friend bool operator==(const CardIdentifier&, const CardIdentifier&) = default;

 private:
  CardIdentifier(Kind kind, std::string value) : kind_(kind), value_(std::move(value)) {}

  Kind kind_;
  std::string value_;
};

// JSON form: an object with one member named after the kind. Reading prefers a string
// "newPaymentMethodIdentifier", then a string "storedPaymentMethodIdentifier", and otherwise
// throws `DecodingError` (dataCorrupted, "Unknown type of card identifier").
void to_json(nlohmann::json& json, const CardIdentifier& identifier);
CardIdentifier cardIdentifierFromJson(const nlohmann::json& json);

}  // namespace sdkcore
