#pragma once

#include <optional>
#include <string_view>

#include "regex/char_set.hpp"

namespace sdkcore::regex {

// The sets that the class escapes stand for, as ICU defines them: \d is General_Category Nd, \s
// is White_Space, and \w is Alphabetic, the marks (M), Nd, Pc, U+200C and U+200D. Built on first
// use and kept; thread-safe.
const CharSet& digitClass();
const CharSet& wordClass();
const CharSet& whiteSpaceClass();

// The set that \p{name} names: a general category or group by its short or long name (Lu,
// Uppercase_Letter, L, Letter, LC, ...), optionally as gc=... or General_Category=..., the binary
// properties White_Space and Alphabetic (with their aliases), Any, ASCII and Assigned. Names
// match loosely, as ICU matches them: case, spaces, hyphens and underscores do not count.
// nullopt for any other name.
std::optional<CharSet> propertyClass(std::string_view name);

}  // namespace sdkcore::regex
