#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace sdkcore {

// A set of string tables, one per language ("en", "de", ...): a "SDKCore_SDKCore.bundle"
// directory on disk, or the copy compiled into the library when no directory is found.
class ResourceBundle {
 public:
  // The bundle directory, or nullopt for the compiled-in tables.
  const std::optional<std::filesystem::path>& path() const noexcept;
  // Returns the text for 'key' in 'language''s table; nullopt when the language has no table or
  // the table has no entry.
  std::optional<std::string> text(std::string_view language, std::string_view key) const;
  // ... (layout of the tables is private)
};

}  // namespace sdkcore
