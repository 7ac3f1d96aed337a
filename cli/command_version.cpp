#include <iostream>

#include "cli_support.hpp"
#include "commands.hpp"
#include "sdkcore/sdk_core.hpp"

namespace sdkcore::cli {

int runVersion(const Args& args) {
  const ParsedArgs parsed = parseArgs(args, {}, {}, 0);
  if (parsed.help) return printUsage("Usage: sdkcore version\n\nPrints the library version.\n");
  std::cout << SdkCore::getSDKVersion() << '\n';
  return kExitSuccess;
}

}  // namespace sdkcore::cli
