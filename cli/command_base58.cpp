#include <cstdint>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli_support.hpp"
#include "commands.hpp"
#include "sdkcore/base58.hpp"
#include "sdkcore/binding_utils.hpp"

namespace sdkcore::cli {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kBase58Usage =
    "Usage: sdkcore base58 encode [--hex] [TEXT | -]\n"
    "       sdkcore base58 decode [--hex] TEXT\n"
    "\n"
    "encode prints the Base58 text of TEXT's UTF-8 bytes (of all of standard input for '-' or no\n"
    "TEXT) as one line. decode prints the decoded bytes raw; text that is not Base58 (or is\n"
    "empty) exits 1. Input over 65536 bytes (of data to encode, of text to decode) exits 2.\n"
    "\n"
    "  --hex  encode: TEXT is hexadecimal bytes; decode: print the bytes as lowercase "
    "hexadecimal.\n";

constexpr const char* kPmIdUsage =
    "Usage: sdkcore pm-id encode BINDING_ID\n"
    "       sdkcore pm-id decode PM_ID\n"
    "\n"
    "encode prints \"pm_\" followed by the Base58 form of the binding id's UTF-8 bytes. decode\n"
    "prints the binding id of a stored-payment-method identifier (trimmed of white space); a\n"
    "malformed identifier exits 1. A binding id, or the Base58 part of PM_ID, over 65536 bytes\n"
    "exits 2.\n";

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Conversion costs grow with the square of the length, so input over the codec's limit is an
// input error rather than minutes of work.
void requireConvertible(std::size_t size) {
  if (size > Base58::kMaxInputBytes) {
    throw UsageError("input too large: Base58 converts at most " +
                     std::to_string(Base58::kMaxInputBytes) + " bytes");
  }
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

Bytes parseHex(std::string_view text) {
  if (text.size() % 2 != 0) throw UsageError("TEXT is not hexadecimal: odd number of digits");
  Bytes bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = hexDigit(text[i]);
    const int low = hexDigit(text[i + 1]);
    if (high < 0 || low < 0) throw UsageError("TEXT is not hexadecimal");
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

std::string toHex(std::span<const std::uint8_t> bytes) {
  static constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

// Returns "encode" or "decode", the first positional argument.
std::string modeOf(const ParsedArgs& parsed) {
  if (parsed.positional.empty()) throw UsageError("missing mode: encode or decode");
  const std::string& mode = parsed.positional.front();
  if (mode != "encode" && mode != "decode") {
    throw UsageError("unknown mode (encode or decode)");
  }
  return mode;
}

const std::string& requiredArgument(const ParsedArgs& parsed, const char* name) {
  if (parsed.positional.size() < 2) throw UsageError(std::string("missing ") + name);
  return parsed.positional[1];
}

int base58Encode(const ParsedArgs& parsed) {
  const bool hex = parsed.has("--hex");
  // Two hexadecimal digits per byte; one byte more than allowed is enough to refuse the input.
  const std::size_t textLimit = (hex ? 2 : 1) * Base58::kMaxInputBytes;
  const bool fromStdin = parsed.positional.size() < 2 || parsed.positional[1] == "-";
  const std::string text = fromStdin ? readStdin(textLimit + 1) : parsed.positional[1];
  requireConvertible(hex ? (text.size() + 1) / 2 : text.size());
  const Bytes bytes = hex ? parseHex(text) : bytesOf(text);
  std::cout << Base58::encode(bytes) << '\n';
  return kExitSuccess;
}

int base58Decode(const ParsedArgs& parsed) {
  const std::string& text = requiredArgument(parsed, "TEXT");
  requireConvertible(text.size());
  const auto bytes = Base58::decode(text);
  if (!bytes) {
    std::cerr << "sdkcore base58: the text is not Base58 (or is empty)\n";
    return kExitFailure;
  }
  if (parsed.has("--hex")) {
    std::cout << toHex(*bytes) << '\n';
  } else {
    std::cout.write(reinterpret_cast<const char*>(bytes->data()),
                    static_cast<std::streamsize>(bytes->size()));
  }
  std::cout.flush();
  return kExitSuccess;
}

}  // namespace

int runBase58(const Args& args) {
  const ParsedArgs parsed = parseArgs(args, {}, {"--hex"}, 2);
  if (parsed.help) return printUsage(kBase58Usage);
  return modeOf(parsed) == "encode" ? base58Encode(parsed) : base58Decode(parsed);
}

int runPmId(const Args& args) {
  const ParsedArgs parsed = parseArgs(args, {}, {}, 2);
  if (parsed.help) return printUsage(kPmIdUsage);
  if (modeOf(parsed) == "encode") {
    // Read the argument before writing anything: a usage error must leave stdout empty.
    const std::string& bindingId = requiredArgument(parsed, "BINDING_ID");
    requireConvertible(bindingId.size());
    std::cout << "pm_" << Base58::encode(bytesOf(bindingId)) << '\n';
    return kExitSuccess;
  }
  const std::string& pmId = requiredArgument(parsed, "PM_ID");
  constexpr std::string_view kPrefix = "pm_";
  requireConvertible(pmId.size() - (pmId.starts_with(kPrefix) ? kPrefix.size() : 0));
  const std::string bindingId = BindingUtils::decodeBindingId(pmId);
  if (bindingId.empty()) {
    std::cerr << "sdkcore pm-id: not a stored payment method identifier\n";
    return kExitFailure;
  }
  std::cout << bindingId << '\n';
  return kExitSuccess;
}

}  // namespace sdkcore::cli
