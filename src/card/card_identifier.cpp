#include "sdkcore/card_identifier.hpp"

#include <nlohmann/json.hpp>

#include "base/wiped_text.hpp"
#include "card/json_reading.hpp"

namespace sdkcore {

CardIdentifier CardIdentifier::newPaymentMethodIdentifier(std::string pan) {
  return CardIdentifier(Kind::newPaymentMethodIdentifier, std::move(pan));
}

CardIdentifier CardIdentifier::storedPaymentMethodIdentifier(std::string bindingId) {
  return CardIdentifier(Kind::storedPaymentMethodIdentifier, std::move(bindingId));
}

CardIdentifier::~CardIdentifier() { wipe(value_); }

std::string_view CardIdentifier::kindName(Kind kind) noexcept {
  switch (kind) {
    case Kind::newPaymentMethodIdentifier:
      return "newPaymentMethodIdentifier";
    case Kind::storedPaymentMethodIdentifier:
      return "storedPaymentMethodIdentifier";
  }
  return "newPaymentMethodIdentifier";  // unreachable for valid enumerators
}

namespace {

template <typename Json>
void writeCardIdentifier(Json& json, const CardIdentifier& identifier) {
  json = Json::object();
  json[std::string(CardIdentifier::kindName(identifier.kind()))] = identifier.value();
}

}  // namespace

void to_json(nlohmann::json& json, const CardIdentifier& identifier) {
  writeCardIdentifier(json, identifier);
}

void to_json(nlohmann::ordered_json& json, const CardIdentifier& identifier) {
  writeCardIdentifier(json, identifier);
}

namespace json_reading {

template <typename Json>
CardIdentifier readCardIdentifier(const Json& json, const CodingPath& path) {
  requireObject(json, path);
  // The first member that holds a string decides; a missing, null or non-string member is
  // passed over, so the new-card member wins when both are there.
  for (auto kind : {CardIdentifier::Kind::newPaymentMethodIdentifier,
                    CardIdentifier::Kind::storedPaymentMethodIdentifier}) {
    auto it = json.find(std::string(CardIdentifier::kindName(kind)));
    if (it == json.end() || !it->is_string()) continue;
    std::string value = it->template get<std::string>();
    return kind == CardIdentifier::Kind::newPaymentMethodIdentifier
               ? CardIdentifier::newPaymentMethodIdentifier(std::move(value))
               : CardIdentifier::storedPaymentMethodIdentifier(std::move(value));
  }
  throw DecodingError(DecodingError::Kind::dataCorrupted, "Unknown type of card identifier", path);
}

template CardIdentifier readCardIdentifier(const nlohmann::json&, const CodingPath&);
template CardIdentifier readCardIdentifier(const nlohmann::ordered_json&, const CodingPath&);

}  // namespace json_reading

CardIdentifier cardIdentifierFromJson(const nlohmann::json& json) {
  return json_reading::readCardIdentifier(json, {});
}

CardIdentifier cardIdentifierFromJson(const nlohmann::ordered_json& json) {
  return json_reading::readCardIdentifier(json, {});
}

}  // namespace sdkcore
