#include "sdkcore/zkit_registered_from.hpp"

#include <array>

#include <nlohmann/json.hpp>

#include "sdkcore/decoding_error.hpp"

namespace sdkcore {
namespace {

constexpr std::array kAllCases{ZKITRegisteredFrom::ZKIT_CORE, ZKITRegisteredFrom::ZKIT_FORMS,
                               ZKITRegisteredFrom::ZKIT_PAYMENT};

}  // namespace

std::string_view rawValue(ZKITRegisteredFrom from) noexcept {
  switch (from) {
    case ZKITRegisteredFrom::ZKIT_CORE:
      return "ZKIT_CORE";
    case ZKITRegisteredFrom::ZKIT_FORMS:
      return "ZKIT_FORMS";
    case ZKITRegisteredFrom::ZKIT_PAYMENT:
      return "ZKIT_PAYMENT";
  }
  return "ZKIT_CORE";  // unreachable for valid enumerators
}

std::optional<ZKITRegisteredFrom> registeredFromRawValue(std::string_view raw) noexcept {
  for (ZKITRegisteredFrom from : kAllCases) {
    if (rawValue(from) == raw) return from;
  }
  return std::nullopt;
}

std::string debugString(ZKITRegisteredFrom from) {
  return "SDKCore.ZKITRegisteredFrom." + std::string(rawValue(from));
}

void to_json(nlohmann::json& json, ZKITRegisteredFrom from) { json = rawValue(from); }

void to_json(nlohmann::ordered_json& json, ZKITRegisteredFrom from) { json = rawValue(from); }

namespace {

template <typename Json>
ZKITRegisteredFrom readRegisteredFrom(const Json& json) {
  if (!json.is_string()) {
    if (json.is_null()) {
      throw DecodingError(DecodingError::Kind::valueNotFound,
                          "Expected String value but found null instead.", {});
    }
    throw DecodingError(
        DecodingError::Kind::typeMismatch,
        std::string("Expected to decode String but found ") + json.type_name() + " instead.", {});
  }
  const auto& raw = json.template get_ref<const std::string&>();
  if (auto from = registeredFromRawValue(raw)) return *from;
  throw DecodingError(DecodingError::Kind::dataCorrupted,
                      "Cannot initialize ZKITRegisteredFrom from invalid String value " + raw, {});
}

}  // namespace

void from_json(const nlohmann::json& json, ZKITRegisteredFrom& from) {
  from = readRegisteredFrom(json);
}

void from_json(const nlohmann::ordered_json& json, ZKITRegisteredFrom& from) {
  from = readRegisteredFrom(json);
}

}  // namespace sdkcore
