#pragma once

#include <nlohmann/json.hpp>

#include "sdkcore/strict_json.hpp"

namespace sdkcore {

// Overwrites every string value in 'value' (member names are left as they are), for a tree that
// held card data, before it is destroyed.
void wipeStrings(nlohmann::json& value) noexcept;

}  // namespace sdkcore
