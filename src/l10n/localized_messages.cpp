#include "sdkcore/localized_messages.hpp"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include <nlohmann/json.hpp>

#include "l10n/localization.hpp"

namespace sdkcore {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kErrorDescriptionKey = "sdkcore_error_description";
constexpr std::string_view kEnglishErrorDescription = "{domain} (error {code})";

// The host's main bundle: the directory of the running executable, found once.
const std::optional<fs::path>& mainBundleDirectory() {
  static const std::optional<fs::path> directory = [] {
    const std::optional<fs::path> exe = currentProcessLocation().executable;
    return exe ? std::optional<fs::path>(exe->parent_path()) : std::nullopt;
  }();
  return directory;
}

// An accessor's text: the host's text for 'key', or the key itself.
std::string hostTextOrKey(std::string_view key) {
  const std::optional<fs::path>& mainBundle = mainBundleDirectory();
  if (!mainBundle) return std::string(key);
  return hostText(*mainBundle, currentLanguage(), key).value_or(std::string(key));
}

std::optional<nlohmann::json> readJsonObject(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  nlohmann::json json = nlohmann::json::parse(std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>(), nullptr,
                                              /*allow_exceptions=*/false);
  if (!json.is_object()) return std::nullopt;
  return json;
}

}  // namespace

std::optional<std::string> hostText(const fs::path& mainBundle, std::string_view language,
                                    std::string_view key) {
  std::error_code error;
  fs::path languageDir = mainBundle / (std::string(language) + ".lproj");
  if (!fs::is_directory(languageDir, error)) languageDir = mainBundle / "en.lproj";
  const std::optional<nlohmann::json> table =
      readJsonObject(languageDir / ResourceBundle::kTableFileName);
  if (!table) return std::nullopt;
  const auto entry = table->find(key);
  if (entry == table->end() || !entry->is_string()) return std::nullopt;
  return entry->get<std::string>();
}

std::string formatErrorDescription(std::string_view format, std::string_view domain, int code) {
  static constexpr std::string_view kDomain = "{domain}";
  static constexpr std::string_view kCode = "{code}";
  std::string out;
  for (std::size_t at = 0; at < format.size();) {
    if (format.substr(at, kDomain.size()) == kDomain) {
      out += domain;
      at += kDomain.size();
    } else if (format.substr(at, kCode.size()) == kCode) {
      out += std::to_string(code);
      at += kCode.size();
    } else {
      out += format[at++];
    }
  }
  return out;
}

std::string localizedErrorDescription(std::string_view domain, int code) {
  const std::optional<std::string> format =
      sdkCoreBundle().text(currentLanguage(), kErrorDescriptionKey);
  // A language without the entry still needs a description naming the domain and code.
  return formatErrorDescription(format.value_or(std::string(kEnglishErrorDescription)), domain,
                                code);
}

const ResourceBundle& sdkCoreBundle() {
  static const ResourceBundle bundle = locateBundle(bundleCandidates(currentProcessLocation()));
  return bundle;
}

std::string localized(std::string_view key) {
  return sdkCoreBundle().text(currentLanguage(), key).value_or(std::string(key));
}

std::string cardIncorrectCVC() { return hostTextOrKey("vorlix_card_incorrect_cvc"); }
std::string cardIncorrectLength() { return hostTextOrKey("vorlix_card_incorrect_length"); }
std::string cardIncorrectNumber() { return hostTextOrKey("vorlix_card_incorrect_number"); }
std::string cardIncorrectExpiry() { return hostTextOrKey("vorlix_card_incorrect_expiry"); }
std::string cardIncorrectCardHolder() { return hostTextOrKey("vorlix_card_incorrect_card_holder"); }
std::string orderIncorrectLength() { return hostTextOrKey("vorlix_order_incorrect_length"); }
std::string bindingIncorrectLength() { return hostTextOrKey("vorlix_binding_incorrect_length"); }
std::string pubKeyRequired() { return hostTextOrKey("vorlix_pub_key_required"); }
std::string bindingRequired() { return hostTextOrKey("vorlix_binding_required"); }
std::string bindingIncorrect() { return hostTextOrKey("vorlix_binding_incorrect"); }
std::string requiredField() { return hostTextOrKey("vorlix_field_required"); }
std::string emailIncorrect() { return hostTextOrKey("vorlix_email_incorrect"); }
std::string phoneNumberIncorrect() { return hostTextOrKey("vorlix_phone_number_incorrect"); }

}  // namespace sdkcore
