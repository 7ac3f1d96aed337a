#include "sdkcore/expiry_date.hpp"

#include <nlohmann/json.hpp>

#include "base/wiped_text.hpp"
#include "card/json_reading.hpp"
#include "l10n/localization.hpp"
#include "sdkcore/regex.hpp"
#include "sdkcore/string_extensions.hpp"
#include "text/character_cut.hpp"

namespace sdkcore {

std::string ExpiryDate::format() const {
  return std::to_string(expYear_) + std::to_string(expMonth_);
}

std::string ExpiryDate::formatExpiryDate() const {
  // % truncates toward zero, so a negative year keeps its sign: -2005 gives "-5".
  return std::to_string(expMonth_) + "/" + std::to_string(expYear_ % 100);
}

namespace {

template <typename Json>
void writeExpiryDate(Json& json, const ExpiryDate& date) {
  json = Json::object();
  json["expYear"] = date.expYear();
  json["expMonth"] = date.expMonth();
}

}  // namespace

void to_json(nlohmann::json& json, const ExpiryDate& date) { writeExpiryDate(json, date); }
void to_json(nlohmann::ordered_json& json, const ExpiryDate& date) { writeExpiryDate(json, date); }

namespace json_reading {

template <typename Json>
ExpiryDate readExpiryDate(const Json& json, const CodingPath& path) {
  requireObject(json, path);
  const std::int64_t year =
      readInt64(requireMember(json, "expYear", path), extended(path, "expYear"));
  const std::int64_t month =
      readInt64(requireMember(json, "expMonth", path), extended(path, "expMonth"));
  return ExpiryDate(year, month);
}

template ExpiryDate readExpiryDate(const nlohmann::json&, const CodingPath&);
template ExpiryDate readExpiryDate(const nlohmann::ordered_json&, const CodingPath&);

}  // namespace json_reading

ExpiryDate expiryDateFromJson(const nlohmann::json& json) {
  return json_reading::readExpiryDate(json, {});
}

ExpiryDate expiryDateFromJson(const nlohmann::ordered_json& json) {
  return json_reading::readExpiryDate(json, {});
}

namespace {

ExpDateError expDateError(std::string domain) {
  std::string description = localizedErrorDescription(domain, -1);
  return ExpDateError(std::move(domain), std::move(description));
}

}  // namespace

ExpiryDate toExpDate(std::string_view text) {
  // A search like the validators' pattern rule: `$` also matches before one final line
  // terminator, which then makes the year text unreadable below.
  static const Regex format = toRegex("^\\d{2}/\\d{2}$", RegexOptions::caseInsensitive);
  if (!format.findIn(text)) throw expDateError("Incorrect format, should be MM/YY.");
  std::string storage;
  const WipeOnExit wipeStorage(storage);
  const std::optional<std::int64_t> month = toIntOrNil(characterCut(text, 2, false, storage));
  const std::optional<std::int64_t> year = toIntOrNil(characterCut(text, 2, true, storage));
  if (!month || !year) throw expDateError("Invalid month or year");
  return ExpiryDate(2000 + *year, *month);
}

}  // namespace sdkcore

std::size_t std::hash<sdkcore::ExpiryDate>::operator()(
    const sdkcore::ExpiryDate& date) const noexcept {
  // Feeds the year, then the month, into the hash (boost::hash_combine's mixing step).
  std::size_t seed = std::hash<std::int64_t>{}(date.expYear());
  seed ^= std::hash<std::int64_t>{}(date.expMonth()) + 0x9e3779b97f4a7c15ULL + (seed << 6) +
          (seed >> 2);
  return seed;
}
