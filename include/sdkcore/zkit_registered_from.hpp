#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "sdkcore/export.h"

namespace sdkcore {

// Which module of the kit makes a token request; its raw text ends the payment string. All
// functions below are thread-safe.
enum class ZKITRegisteredFrom : std::uint8_t {
  ZKIT_CORE,
  ZKIT_FORMS,
  ZKIT_PAYMENT,
};

// Returns the raw text of 'from', equal to its case name ("ZKIT_CORE").
SDKCORE_EXPORT std::string_view rawValue(ZKITRegisteredFrom from) noexcept;

// Returns the case whose raw text equals 'raw' exactly (case-sensitive, no trimming),
// or nullopt for any other text.
SDKCORE_EXPORT std::optional<ZKITRegisteredFrom> registeredFromRawValue(
    std::string_view raw) noexcept;

// Returns the text form "SDKCore.ZKITRegisteredFrom.ZKIT_CORE".
SDKCORE_EXPORT std::string debugString(ZKITRegisteredFrom from);

// JSON coding as the raw text (a single JSON string), for nlohmann::json and ordered_json.
// Reading a string that is no raw text throws `DecodingError` of kind dataCorrupted; null throws
// valueNotFound and any other non-string typeMismatch.
SDKCORE_EXPORT void to_json(nlohmann::json& json, ZKITRegisteredFrom from);
SDKCORE_EXPORT void to_json(nlohmann::ordered_json& json, ZKITRegisteredFrom from);
SDKCORE_EXPORT void from_json(const nlohmann::json& json, ZKITRegisteredFrom& from);
SDKCORE_EXPORT void from_json(const nlohmann::ordered_json& json, ZKITRegisteredFrom& from);

}  // namespace sdkcore
