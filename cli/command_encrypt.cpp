#include <cstdint>
#include <limits>
#include <string>

#include "cli_support.hpp"
#include "commands.hpp"
#include "demo_key.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/key.hpp"
#include "sdkcore/key_encryption.hpp"

namespace sdkcore::cli {
namespace {

constexpr const char* kUsage =
    "Usage: sdkcore encrypt [--pubkey FILE] [TEXT | -]\n"
    "\n"
    "Encrypts the UTF-8 bytes of TEXT (or of all of standard input, for '-' or no TEXT) with the\n"
    "RSA cipher (PKCS #1 v1.5) and prints {\"token\": \"BASE64\"}. A cipher failure prints\n"
    "{\"error\": \"keyCreationFailed\"} (or algorithmNotSupported, encryptionFailed) and exits 1.\n"
    "\n"
    "  --pubkey FILE  PEM text of the RSA public key; without it the built-in demo key is used,\n"
    "                 a published test key that must never protect real card data.\n";

std::string publicKeyText(const ParsedArgs& parsed) {
  if (const auto path = parsed.value("--pubkey")) return readFile(*path, "--pubkey");
  warnDemoKeyInUse("encrypt");
  return std::string(demoPublicKeyPem());
}

}  // namespace

int runEncrypt(const Args& args) {
  const ParsedArgs parsed = parseArgs(args, {"--pubkey"}, {}, 1);
  if (parsed.help) return printUsage(kUsage);
  const std::string keyText = publicKeyText(parsed);
  const std::string text =
      parsed.positional.empty() ? readStdin() : valueOrStdin(parsed.positional.front());
  const Key key(keyText, "RSA", std::numeric_limits<std::int64_t>::max());
  const KeyEncryption encryption = encryptWithKey(text, key);
  if (encryption.token) {
    printJsonLine({{"token", *encryption.token}});
    return kExitSuccess;
  }
  printJsonLine({{"error", std::string(caseName(*encryption.error))}});
  return kExitFailure;
}

}  // namespace sdkcore::cli
