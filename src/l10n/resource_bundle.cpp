#include "sdkcore/resource_bundle.hpp"

#include <fstream>
#include <iterator>
#include <system_error>

#include <nlohmann/json.hpp>

#include "l10n/embedded_string_tables.hpp"

namespace sdkcore {
namespace {

namespace fs = std::filesystem;

// Parses one string table; nullopt when it is not a JSON object (or not valid UTF-8, which the
// parser rejects). Non-string values are skipped.
std::optional<std::map<std::string, std::string, std::less<>>> parseTable(std::string_view text) {
  const nlohmann::json json =
      nlohmann::json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
  if (!json.is_object()) return std::nullopt;
  std::map<std::string, std::string, std::less<>> table;
  for (const auto& [key, value] : json.items()) {
    if (value.is_string()) table.emplace(key, value.get<std::string>());
  }
  return table;
}

std::optional<std::string> readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return content;
}

}  // namespace

ResourceBundle ResourceBundle::fromDirectory(const fs::path& directory) {
  Tables tables;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const fs::path& entry = it->path();
    if (entry.extension() != ".lproj" || !fs::is_directory(entry, error)) continue;
    const std::optional<std::string> content = readFile(entry / kTableFileName);
    if (!content) continue;
    if (auto table = parseTable(*content)) tables.emplace(entry.stem().string(), std::move(*table));
  }
  return ResourceBundle(directory, std::move(tables));
}

ResourceBundle ResourceBundle::compiledIn() {
  Tables tables;
  for (const EmbeddedStringTable& embedded : embeddedStringTables()) {
    if (auto table = parseTable(embedded.json)) {
      tables.emplace(std::string(embedded.language), std::move(*table));
    }
  }
  return ResourceBundle(std::nullopt, std::move(tables));
}

const std::optional<fs::path>& ResourceBundle::path() const noexcept { return path_; }

std::optional<std::string> ResourceBundle::text(std::string_view language,
                                                std::string_view key) const {
  const auto table = tables_.find(language);
  if (table == tables_.end()) return std::nullopt;
  const auto entry = table->second.find(key);
  if (entry == table->second.end()) return std::nullopt;
  return entry->second;
}

std::vector<std::string> ResourceBundle::languages() const {
  std::vector<std::string> result;
  for (const auto& [language, table] : tables_) result.push_back(language);
  return result;
}

}  // namespace sdkcore
