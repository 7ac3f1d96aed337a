#include <algorithm>
#include <chrono>
#include <ctime>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_support.hpp"
#include "commands.hpp"
#include "sdkcore/card_brand.hpp"

namespace sdkcore::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: sdkcore card brand TEXT\n"
    "       sdkcore card check TEXT\n"
    "       sdkcore card format TEXT\n"
    "       sdkcore card expiry TEXT [--now YYYY-MM]\n"
    "       (put -- before a TEXT that begins with '-')\n"
    "\n"
    "Card-entry helpers for a payment form, on TEXT as typed. In a card number, spaces and '-'\n"
    "are ignored and any other character matches no brand.\n"
    "  brand   the brands TEXT may belong to, in table order, each with its prefixes, lengths,\n"
    "          grouping and security code: {\"brands\":[{\"type\":\"visa\",...}]}\n"
    "  check   {\"brands\":[\"visa\"],\"isPotentiallyValid\":true,\"isValid\":true}; exits 1 when "
    "not valid\n"
    "  format  the digits grouped as the brand prints them: {\"formatted\":\"4111 1111 1111 "
    "1111\"}\n"
    "  expiry  {\"isPotentiallyValid\":true,\"isValid\":false} for an expiry such as 12/30;\n"
    "          exits 1 when not valid\n"
    "\n"
    "  --now YYYY-MM  expiry only: the month to judge against (default: this month, local time)\n";

using Action = int (*)(const std::string& text, const ParsedArgs& parsed);

nlohmann::ordered_json brandTypes(const std::vector<CardBrand>& brands) {
  nlohmann::ordered_json types = nlohmann::ordered_json::array();
  for (const CardBrand& brand : brands) types.push_back(std::string(brand.type));
  return types;
}

int brand(const std::string& text, const ParsedArgs&) {
  printOrderedJsonLine(cardBrandListJson(detectCardBrands(text)));
  return kExitSuccess;
}

int check(const std::string& text, const ParsedArgs&) {
  const bool valid = isValidCardNumber(text);
  nlohmann::ordered_json json;
  json["brands"] = brandTypes(detectCardBrands(text));
  json["isPotentiallyValid"] = isPotentiallyValidCardNumber(text);
  json["isValid"] = valid;
  printOrderedJsonLine(json);
  return valid ? kExitSuccess : kExitFailure;
}

int format(const std::string& text, const ParsedArgs&) {
  printOrderedJsonLine({{"formatted", formatCardNumber(text)}});
  return kExitSuccess;
}

std::chrono::year_month parseMonth(const std::string& text) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const bool digits = text.size() == 7 && text[4] == '-' &&
                      std::all_of(text.begin(), text.begin() + 4, isDigit) &&
                      std::all_of(text.begin() + 5, text.end(), isDigit);
  const std::chrono::year_month month =
      digits ? std::chrono::year(std::stoi(text.substr(0, 4))) /
                   std::chrono::month(static_cast<unsigned>(std::stoi(text.substr(5))))
             : std::chrono::year_month();
  if (!month.ok()) throw UsageError("--now needs a month as YYYY-MM, such as 2030-01");
  return month;
}

std::chrono::year_month currentMonth() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) throw std::runtime_error("cannot read the local time");
  return std::chrono::year(local.tm_year + 1900) /
         std::chrono::month(static_cast<unsigned>(local.tm_mon + 1));
}

int expiry(const std::string& text, const ParsedArgs& parsed) {
  const std::optional<std::string> now = parsed.value("--now");
  const ExpiryStatus status = expiryStatus(text, now ? parseMonth(*now) : currentMonth());
  nlohmann::ordered_json json;
  json["isPotentiallyValid"] = status != ExpiryStatus::invalid;
  json["isValid"] = status == ExpiryStatus::valid;
  printOrderedJsonLine(json);
  return status == ExpiryStatus::valid ? kExitSuccess : kExitFailure;
}

struct NamedAction {
  std::string_view name;
  Action run;
};

constexpr NamedAction kActions[] = {
    {"brand", brand}, {"check", check}, {"format", format}, {"expiry", expiry}};

}  // namespace

int runCard(const Args& args) {
  const ParsedArgs parsed = parseArgsWithDashValues(args, {"--now"}, {}, 2);
  if (parsed.help) return printUsage(std::string(kUsage));
  if (parsed.positional.empty()) throw UsageError("missing action: brand, check, format or expiry");
  const std::string& name = parsed.positional.front();
  const auto* action = std::find_if(std::begin(kActions), std::end(kActions),
                                    [&](const NamedAction& known) { return known.name == name; });
  if (action == std::end(kActions)) {
    throw UsageError("unknown action (brand, check, format or expiry)");
  }
  if (parsed.has("--now") && action->run != expiry) {
    throw UsageError("--now applies to 'expiry' only");
  }
  if (parsed.positional.size() < 2) throw UsageError("missing TEXT");
  return action->run(parsed.positional[1], parsed);
}

}  // namespace sdkcore::cli
