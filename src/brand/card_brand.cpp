// The JSON form of a brand and the brand-aware security code check.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "brand/ascii_digits.hpp"
#include "sdkcore/card_brand.hpp"

namespace sdkcore {
namespace {

template <typename Json>
Json prefixJson(const CardBrandPrefix& prefix) {
  if (prefix.first == prefix.last) return Json(prefix.first);
  return Json::array({prefix.first, prefix.last});
}

template <typename Json>
void writeCardBrand(Json& json, const CardBrand& brand) {
  json = Json::object();
  json["type"] = std::string(brand.type);
  json["niceType"] = std::string(brand.niceType);
  Json patterns = Json::array();
  for (const CardBrandPrefix& prefix : brand.prefixes) patterns.push_back(prefixJson<Json>(prefix));
  json["patterns"] = std::move(patterns);
  json["gaps"] = std::vector<int>(brand.gaps.begin(), brand.gaps.end());
  json["lengths"] = std::vector<int>(brand.lengths.begin(), brand.lengths.end());
  Json code = Json::object();
  code["name"] = std::string(brand.code.name);
  code["size"] = brand.code.size;
  json["code"] = std::move(code);
}

}  // namespace

void to_json(nlohmann::json& json, const CardBrand& brand) { writeCardBrand(json, brand); }
void to_json(nlohmann::ordered_json& json, const CardBrand& brand) { writeCardBrand(json, brand); }

nlohmann::ordered_json cardBrandListJson(std::span<const CardBrand> brands) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const CardBrand& brand : brands) list.push_back(brand);
  return {{"brands", std::move(list)}};
}

bool isValidSecurityCode(std::string_view text, std::string_view brandType) noexcept {
  if (text.empty() || !isAsciiDigits(text)) return false;
  if (const std::optional<CardBrand> brand = findCardBrand(brandType)) {
    return text.size() == static_cast<std::size_t>(brand->code.size);
  }
  return text.size() == 3 || text.size() == 4;
}

}  // namespace sdkcore
