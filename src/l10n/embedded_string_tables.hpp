#pragma once

#include <span>
#include <string_view>

namespace sdkcore {

// One string table of the resource bundle as compiled into the library: the language code and
// the bytes of its "Localizable.json".
struct EmbeddedStringTable {
  std::string_view language;
  std::string_view json;
};

// The string tables of resources/SDKCore_SDKCore.bundle, sorted by language. Defined in
// embedded_string_tables.cpp, which cmake/embed_string_tables.cmake writes from the bundle.
std::span<const EmbeddedStringTable> embeddedStringTables() noexcept;

}  // namespace sdkcore
