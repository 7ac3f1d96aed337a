#include <optional>
#include <string>
#include <string_view>

#include "cli_support.hpp"
#include "commands.hpp"
#include "demo_key.hpp"
#include "token_decryption.hpp"

namespace sdkcore::cli {
namespace {

constexpr const char* kUsage = R"(Usage: sdkcore decrypt [--private-key FILE] [TOKEN | -]

Decrypts a token (RSA PKCS #1 v1.5) on the merchant side, for tests and debugging, and prints
{"paymentString": "...", "fields": {"date", "uuid", "pan", "cvc", "expiry", "mdOrder",
"storedId", "cardholder", "registeredFrom"}}; "fields" only when the string has exactly nine
"/"-separated fields.

TOKEN is the Base64 token; - or no TOKEN reads standard input. White space in the Base64 text
(such as a trailing line feed) is skipped. Input that is a JSON object, such as the output of
'sdkcore token', is read for its "token" member.

Options:
  --private-key FILE   PEM private key (default: the built-in demo private key, a published
                       test key that is never for real card data)
  --help               print this help

Exit status: 0 decrypted, 1 the token does not decrypt, 2 usage or input error.
)";

// The members of the token command's output, which errors about the JSON input may name.
constexpr std::string_view kTokenResultNames[] = {"token", "errors", "error"};

// The Base64 token of 'input': the input itself, or the "token" member of a JSON object.
std::string tokenOf(const std::string& input) {
  const std::size_t first = input.find_first_not_of(" \t\r\n");
  if (first == std::string::npos || input[first] != '{') return input;
  const nlohmann::json json =
      asUsageError([&] { return parseStrictJson(input, kTokenResultNames); });
  const auto token = json.find("token");
  if (token == json.end() || !token->is_string()) {
    throw UsageError("the JSON input has no string member \"token\"");
  }
  return token->get<std::string>();
}

}  // namespace

int runDecrypt(const Args& rawArgs) {
  const ParsedArgs args = parseArgs(rawArgs, {"--private-key"}, {}, 1);
  if (args.help) return printUsage(kUsage);
  const std::optional<std::string> file = args.value("--private-key");
  const std::string privatePem =
      file ? readFile(*file, "--private-key") : std::string(demoPrivateKeyPem());
  const std::string token =
      tokenOf(args.positional.empty() ? readStdin() : valueOrStdin(args.positional[0]));
  // Warned only once the input is known to be usable, so a usage error stays one line.
  if (!file) warnDemoKeyInUse("decrypt");
  try {
    printOrderedJsonLine(paymentStringJson(decryptToken(token, privatePem)));
    return kExitSuccess;
  } catch (const DecryptionError& error) {
    printJsonLine(nlohmann::json{{"error", error.what()}});
    return kExitFailure;
  }
}

}  // namespace sdkcore::cli
