#include <iostream>

#include "cli_support.hpp"
#include "commands.hpp"
#include "demo_key.hpp"

namespace sdkcore::cli {
namespace {

constexpr const char* kUsage =
    "Usage: sdkcore demo-key [--private]\n"
    "\n"
    "Prints the PEM text of the built-in demo public key (or, with --private, of its private "
    "key).\n"
    "The pair is a published test key: never use it for real card data.\n";

}  // namespace

int runDemoKey(const Args& args) {
  const ParsedArgs parsed = parseArgs(args, {}, {"--private"}, 0);
  if (parsed.help) return printUsage(kUsage);
  std::cerr << "sdkcore demo-key: warning: this is a published test key; never use it for real "
               "card data\n";
  std::cout << (parsed.has("--private") ? demoPrivateKeyPem() : demoPublicKeyPem());
  std::cout.flush();
  return kExitSuccess;
}

}  // namespace sdkcore::cli
