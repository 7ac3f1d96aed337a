#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "sdkcore/export.h"

// Card-entry helpers for a payment form: the card brands the library knows, brand detection as
// the shopper types, display grouping, and as-you-type validity of the number, the expiry and
// the security code. They answer "what may this field still become", which the validators
// (CardNumberValidator and the like) do not: those check a finished field by their own rules.
//
// Typed card numbers: spaces and '-' are ignored; any other character, including digits of
// scripts other than ASCII, makes the text match no brand. No function keeps or logs the text.
// All functions are thread-safe.
namespace sdkcore {

// Leading digits that mark a brand's numbers: every prefix of as many digits as 'first' has,
// from 'first' to 'last' inclusive (a single prefix has first == last).
struct CardBrandPrefix {
  std::uint32_t first;
  std::uint32_t last;
};

// The security code printed on a brand's cards.
struct CardSecurityCode {
  std::string_view name;  // "CVV", "CVC", "CID", ...
  int size;               // its number of digits
};

// One brand of the library's table. Refers to storage that lives as long as the program, so it
// is a cheap value to copy and safe to share between threads.
struct CardBrand {
  std::string_view type;                      // stable id, such as "american-express"
  std::string_view niceType;                  // display name, such as "American Express"
  std::span<const CardBrandPrefix> prefixes;  // in the table's order
  std::span<const int> gaps;                  // digit counts after which a space is shown: 4, 8, 12
  std::span<const int> lengths;               // the full number lengths the brand issues, ascending
  CardSecurityCode code;
  bool luhn;  // whether a valid number must pass the Luhn check
};

// Every brand, in table order: the order in which ambiguous answers list them.
SDKCORE_EXPORT std::span<const CardBrand> cardBrands() noexcept;

// The brand whose type is 'type', or nullopt.
SDKCORE_EXPORT std::optional<CardBrand> findCardBrand(std::string_view type) noexcept;

// The brands the typed 'text' may belong to, in table order. A brand is a candidate when one of
// its prefixes is complete in the text or can still be completed by typing more. When every
// candidate has a complete prefix, only the one with the longest prefix remains (the first in
// table order on a tie): "401178" is Elo alone, "4011" is Visa and Elo. The empty text has
// every brand; a text with a character other than digits, spaces and '-' has none.
// Never throws but for std::bad_alloc.
SDKCORE_EXPORT std::vector<CardBrand> detectCardBrands(std::string_view text);

// The digits of 'text' (other characters dropped), with a space at each gap of its first
// candidate brand, or after every fourth digit when it has none: "378282246310005" gives
// "3782 822463 10005". Never throws but for std::bad_alloc.
SDKCORE_EXPORT std::string formatCardNumber(std::string_view text);

// Whether the typed 'text' is a complete, valid number: it has exactly one candidate brand, one
// of that brand's lengths and, where the brand uses it, a passing Luhn check.
// Never throws but for std::bad_alloc.
SDKCORE_EXPORT bool isValidCardNumber(std::string_view text);

// Whether the typed 'text' is valid or can still become valid by typing more: it has several
// candidates (the empty text included), or one that it is valid for or shorter than the brand's
// longest length. A form marks the field as wrong only when this is false.
// Never throws but for std::bad_alloc.
SDKCORE_EXPORT bool isPotentiallyValidCardNumber(std::string_view text);

// Where a typed expiry date stands.
enum class ExpiryStatus {
  invalid,           // wrong, and typing more cannot mend it
  potentiallyValid,  // not a valid date yet, but typing more can make it one
  valid,
};

// The status of the typed expiry 'text' in the month 'now'. Accepted forms: a month of one or
// two ASCII digits, then "/" with optional spaces around it or nothing, then a year of two
// digits (20YY) or four: "1/30", "01 / 2030", "0130". Valid: month 1 to 12, neither before 'now'
// nor in a year more than 19 years after that of 'now'. Potentially valid: valid, or it can
// become valid by typing more ("", "1", "12/", "12/2"). A 'now' that is not ok() makes every
// text invalid. Never throws.
SDKCORE_EXPORT ExpiryStatus expiryStatus(std::string_view text,
                                         std::chrono::year_month now) noexcept;

// Whether 'text' is a security code for the brand whose type is 'brandType': ASCII digits only,
// as many as the brand's code has, or 3 or 4 for an unknown or empty type. Never throws.
SDKCORE_EXPORT bool isValidSecurityCode(std::string_view text, std::string_view brandType) noexcept;

// JSON form {"type":"visa","niceType":"Visa","patterns":[4,[2221,2229]],"gaps":[4,8,12],
// "lengths":[16,18,19],"code":{"name":"CVV","size":3}}: a single prefix is a number, a range a
// two-element array. ordered_json keeps that member order (plain nlohmann::json sorts keys).
SDKCORE_EXPORT void to_json(nlohmann::json& json, const CardBrand& brand);
SDKCORE_EXPORT void to_json(nlohmann::ordered_json& json, const CardBrand& brand);

// {"brands":[BRAND,...]}: 'brands' in the given order, each in the JSON form of to_json. The
// answer of `sdkcore card brand` and of the C interface's brand detection. Throws std::bad_alloc.
SDKCORE_EXPORT nlohmann::ordered_json cardBrandListJson(std::span<const CardBrand> brands);

}  // namespace sdkcore
