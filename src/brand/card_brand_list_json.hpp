#pragma once

#include <span>

#include <nlohmann/json.hpp>

#include "sdkcore/card_brand.hpp"

namespace sdkcore {

// {"brands":[BRAND,...]}: 'brands' in the given order, each in the JSON form of to_json. The
// answer of `sdkcore card brand` and of the C interface's brand detection. Throws std::bad_alloc.
nlohmann::ordered_json cardBrandListJson(std::span<const CardBrand> brands);

}  // namespace sdkcore
