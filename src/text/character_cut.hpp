#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sdkcore {

// The first 'count' characters of 'text' (the last ones with 'fromEnd'), as take() and
// takeLast() cut them, without their copy: a view into 'text' when each of its characters is
// one byte (ASCII without CR), and otherwise a view of 'storage', which receives the cut text.
// Throws std::invalid_argument for a negative count, and what take() throws.
std::string_view characterCut(std::string_view text, std::int64_t count, bool fromEnd,
                              std::string& storage);

}  // namespace sdkcore
