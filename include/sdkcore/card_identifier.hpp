#pragma once

#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json_fwd.hpp>

#include "sdkcore/export.h"

namespace sdkcore {

// Identifies the card of a token: either the number of a new card or the identifier of a stored
// payment method (binding). An immutable value: safe to share between threads.
class SDKCORE_EXPORT CardIdentifier {
 public:
  enum class Kind { newPaymentMethodIdentifier, storedPaymentMethodIdentifier };

  // The identifier of a new card, carrying its number as given. Never fails.
  static CardIdentifier newPaymentMethodIdentifier(std::string pan);
  // The identifier of a stored payment method, carrying its binding id as given. Never fails.
  static CardIdentifier storedPaymentMethodIdentifier(std::string bindingId);

  // Returns the case name of 'kind', which is also its JSON member name.
  static std::string_view kindName(Kind kind) noexcept;

  Kind kind() const noexcept { return kind_; }
  // The card number or the stored identifier, per kind().
  const std::string& value() const noexcept { return value_; }

  // Same kind and same text: a new-card identifier never equals a stored one.
  friend bool operator==(const CardIdentifier&, const CardIdentifier&) = default;

 private:
  CardIdentifier(Kind kind, std::string value) : kind_(kind), value_(std::move(value)) {}

  Kind kind_;
  std::string value_;
};

// JSON form: an object with one member named after the kind, {"newPaymentMethodIdentifier":
// "4111..."}. Reading needs an object (typeMismatch or valueNotFound otherwise), takes a string
// "newPaymentMethodIdentifier" if there is one, else a string "storedPaymentMethodIdentifier";
// other members are ignored. With neither it throws `DecodingError` (dataCorrupted,
// "Unknown type of card identifier").
SDKCORE_EXPORT void to_json(nlohmann::json& json, const CardIdentifier& identifier);
SDKCORE_EXPORT void to_json(nlohmann::ordered_json& json, const CardIdentifier& identifier);
SDKCORE_EXPORT CardIdentifier cardIdentifierFromJson(const nlohmann::json& json);
SDKCORE_EXPORT CardIdentifier cardIdentifierFromJson(const nlohmann::ordered_json& json);

}  // namespace sdkcore

// Lets nlohmann/json convert the type directly (it has no default constructor).
namespace nlohmann {

template <>
struct adl_serializer<sdkcore::CardIdentifier> {
  template <typename Json>
  static sdkcore::CardIdentifier from_json(const Json& json) {
    return sdkcore::cardIdentifierFromJson(json);
  }
  template <typename Json>
  static void to_json(Json& json, const sdkcore::CardIdentifier& identifier) {
    sdkcore::to_json(json, identifier);
  }
};

}  // namespace nlohmann
