#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sdkcore/export.h"

namespace sdkcore {

// A set of string tables, one per language ("en", "de", ...): a "SDKCore_SDKCore.bundle"
// directory on disk, or the copy compiled into the library when no directory is found.
//
// On disk a bundle holds one directory per language, named after the ISO 639 code with the
// extension "lproj", each with a string table "Localizable.json": a flat JSON object from key to
// text, for example SDKCore_SDKCore.bundle/de.lproj/Localizable.json.
//
// The tables are read when the bundle is made and not again. Immutable afterwards, so it is safe
// to share between threads.
class SDKCORE_EXPORT ResourceBundle {
 public:
  // The name of the library's bundle directory.
  static constexpr std::string_view kDirectoryName = "SDKCore_SDKCore.bundle";
  // The file name of each language's string table.
  static constexpr std::string_view kTableFileName = "Localizable.json";

  // Reads every "<language>.lproj/Localizable.json" under 'directory'. A language whose table is
  // missing, unreadable, not a JSON object or not valid UTF-8 is left out (it then has no texts);
  // entries whose value is not a string are skipped. Never throws but for std::bad_alloc.
  static ResourceBundle fromDirectory(const std::filesystem::path& directory);
  // The string tables compiled into the library (the library's own bundle as it was at build
  // time); path() is nullopt.
  static ResourceBundle compiledIn();

  // The bundle directory, or nullopt for the compiled-in tables.
  const std::optional<std::filesystem::path>& path() const noexcept;
  // Returns the text for 'key' in 'language''s table; nullopt when the language has no table or
  // the table has no entry.
  std::optional<std::string> text(std::string_view language, std::string_view key) const;
  // The languages that have a table, sorted.
  std::vector<std::string> languages() const;

 private:
  using StringTable = std::map<std::string, std::string, std::less<>>;
  using Tables = std::map<std::string, StringTable, std::less<>>;

  ResourceBundle(std::optional<std::filesystem::path> path, Tables tables)
      : path_(std::move(path)), tables_(std::move(tables)) {}

  std::optional<std::filesystem::path> path_;
  Tables tables_;
};

}  // namespace sdkcore
