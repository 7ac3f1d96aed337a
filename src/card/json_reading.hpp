#pragma once

// Reading helpers shared by the card model's JSON forms. They check every type themselves before
// touching a value, so no exception of nlohmann/json escapes: each failure is a DecodingError with
// the coding path of the failing value.

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "sdkcore/card_identifier.hpp"
#include "sdkcore/decoding_error.hpp"
#include "sdkcore/expiry_date.hpp"

namespace sdkcore::json_reading {

using CodingPath = std::vector<std::string>;

inline CodingPath extended(const CodingPath& path, std::string_view key) {
  CodingPath result = path;
  result.emplace_back(key);
  return result;
}

// Throws the error for 'json' not being of the expected type ("Int64", "String", ...): a null
// gives valueNotFound, anything else typeMismatch.
template <typename Json>
[[noreturn]] void throwWrongType(const Json& json, std::string_view expected,
                                 const CodingPath& path) {
  if (json.is_null()) {
    throw DecodingError(DecodingError::Kind::valueNotFound,
                        "Expected " + std::string(expected) + " value but found null instead.",
                        path);
  }
  throw DecodingError(DecodingError::Kind::typeMismatch,
                      "Expected to decode " + std::string(expected) + " but found " +
                          json.type_name() + " instead.",
                      path);
}

// Checks that 'json' is an object.
template <typename Json>
void requireObject(const Json& json, const CodingPath& path) {
  if (!json.is_object()) throwWrongType(json, "Dictionary<String, Any>", path);
}

// Returns the member 'key' of the object 'json'; throws keyNotFound when it is missing.
template <typename Json>
const Json& requireMember(const Json& json, std::string_view key, const CodingPath& path) {
  auto it = json.find(std::string(key));
  if (it == json.end()) {
    throw DecodingError(DecodingError::Kind::keyNotFound,
                        "No value associated with key \"" + std::string(key) + "\".", path);
  }
  return *it;
}

// Returns the member 'key' of the object 'json', or null when it is missing or null.
template <typename Json>
const Json* optionalMember(const Json& json, std::string_view key) {
  auto it = json.find(std::string(key));
  if (it == json.end() || it->is_null()) return nullptr;
  return &*it;
}

// Reads a JSON number as a signed 64-bit integer. A fraction or a value out of range is data
// corrupted; a floating-point number with an exact integer value is accepted.
template <typename Json>
std::int64_t readInt64(const Json& json, const CodingPath& path) {
  if (json.is_number_integer() && !json.is_number_unsigned()) {
    return json.template get<std::int64_t>();
  }
  if (json.is_number_unsigned()) {
    const auto value = json.template get<std::uint64_t>();
    if (value <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
      return static_cast<std::int64_t>(value);
    }
  } else if (json.is_number_float()) {
    const auto value = json.template get<double>();
    // 2^63 is exactly representable; the range check keeps the conversion defined.
    if (std::trunc(value) == value && value >= -9223372036854775808.0 &&
        value < 9223372036854775808.0) {
      return static_cast<std::int64_t>(value);
    }
  } else {
    throwWrongType(json, "Int64", path);
  }
  throw DecodingError(DecodingError::Kind::dataCorrupted,
                      "Parsed JSON number <" + json.dump() + "> does not fit in Int64.", path);
}

// Reads a JSON string.
template <typename Json>
std::string readString(const Json& json, const CodingPath& path) {
  if (!json.is_string()) throwWrongType(json, "String", path);
  return json.template get_ref<const std::string&>();
}

// Reads an optional string member: missing or null gives nullopt, a non-string fails.
template <typename Json>
std::optional<std::string> readOptionalString(const Json& object, std::string_view key,
                                              const CodingPath& path) {
  const Json* member = optionalMember(object, key);
  if (member == nullptr) return std::nullopt;
  return readString(*member, extended(path, key));
}

// The readers of the nested records, at a given coding path. Instantiated for nlohmann::json and
// nlohmann::ordered_json in the records' own source files.
template <typename Json>
ExpiryDate readExpiryDate(const Json& json, const CodingPath& path);
template <typename Json>
CardIdentifier readCardIdentifier(const Json& json, const CodingPath& path);

}  // namespace sdkcore::json_reading
