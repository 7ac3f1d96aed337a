#include "sdkcore/core_card_info.hpp"

#include <utility>

#include <nlohmann/json.hpp>

#include "base/wiped_text.hpp"
#include "card/json_reading.hpp"

namespace sdkcore {

CoreCardInfo::CoreCardInfo(CardIdentifier identifier, std::optional<ExpiryDate> expDate,
                           std::optional<std::string> cvv, std::optional<std::string> cardHolder)
    : identifier_(std::move(identifier)),
      expDate_(expDate),
      cvv_(std::move(cvv)),
      cardHolder_(std::move(cardHolder)) {}

CoreCardInfo::~CoreCardInfo() { wipeAll(cvv_, cardHolder_); }

namespace {

// Writes the members in their documented order; an absent field is left out, never null.
// nlohmann::json sorts its keys, so only ordered_json keeps that order in the text.
template <typename Json>
void writeCoreCardInfo(Json& json, const CoreCardInfo& info) {
  json = Json::object();
  json["identifier"] = Json(info.identifier());
  if (info.expDate()) json["expDate"] = Json(*info.expDate());
  if (info.cvv()) json["cvv"] = *info.cvv();
  if (info.cardHolder()) json["cardHolder"] = *info.cardHolder();
}

// Reads the members in the order identifier, expDate, cvv, cardHolder; the first failure ends
// the reading. Unknown members are ignored.
template <typename Json>
CoreCardInfo readCoreCardInfo(const Json& json) {
  using namespace json_reading;
  const CodingPath root;
  requireObject(json, root);
  CardIdentifier identifier =
      readCardIdentifier(requireMember(json, "identifier", root), extended(root, "identifier"));
  std::optional<ExpiryDate> expDate;
  if (const Json* member = optionalMember(json, "expDate")) {
    expDate = readExpiryDate(*member, extended(root, "expDate"));
  }
  std::optional<std::string> cvv = readOptionalString(json, "cvv", root);
  std::optional<std::string> cardHolder = readOptionalString(json, "cardHolder", root);
  return CoreCardInfo(std::move(identifier), expDate, std::move(cvv), std::move(cardHolder));
}

}  // namespace

void to_json(nlohmann::json& json, const CoreCardInfo& info) { writeCoreCardInfo(json, info); }
void to_json(nlohmann::ordered_json& json, const CoreCardInfo& info) {
  writeCoreCardInfo(json, info);
}

CoreCardInfo coreCardInfoFromJson(const nlohmann::json& json) { return readCoreCardInfo(json); }
CoreCardInfo coreCardInfoFromJson(const nlohmann::ordered_json& json) {
  return readCoreCardInfo(json);
}

}  // namespace sdkcore
