// The `sdkcore` command: runs the library's capabilities without a host application.
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli_support.hpp"
#include "commands.hpp"

namespace {

using sdkcore::cli::Args;

struct Command {
  std::string_view name;
  int (*run)(const Args&);
  std::string_view summary;
};

constexpr Command kCommands[] = {
    {"version", sdkcore::cli::runVersion, "print the library version"},
    {"token", sdkcore::cli::runToken, "build a payment token from card data"},
    {"decrypt", sdkcore::cli::runDecrypt, "decrypt a token with a private key (merchant side)"},
    {"encrypt", sdkcore::cli::runEncrypt, "encrypt any text with the RSA cipher"},
    {"validate", sdkcore::cli::runValidate, "run one field validator"},
    {"base58", sdkcore::cli::runBase58, "encode or decode Base58"},
    {"pm-id", sdkcore::cli::runPmId, "encode or decode stored-payment-method identifiers"},
    {"card", sdkcore::cli::runCard,
     "card-entry helpers: brand, as-you-type check, grouping, expiry"},
    {"demo-key", sdkcore::cli::runDemoKey, "print the built-in demo key pair (test key only)"},
};

void printMainUsage(std::ostream& out) {
  out << "Usage: sdkcore SUBCOMMAND [OPTIONS]\n\nSubcommands:\n";
  for (const Command& command : kCommands) {
    out << "  " << command.name << std::string(10 - command.name.size(), ' ') << command.summary
        << '\n';
  }
  out << "\nRun 'sdkcore SUBCOMMAND --help' for the options of one subcommand.\n";
}

// 'status', once all that was written to standard output has reached it; else, saying so on
// standard error, the status of an output error.
int finished(std::string_view command, int status) {
  try {
    sdkcore::cli::flushStandardOutput();
    return status;
  } catch (const sdkcore::cli::OutputError& error) {
    std::cerr << "sdkcore" << (command.empty() ? "" : " ") << command << ": " << error.what()
              << '\n';
    return sdkcore::cli::kExitUsage;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> all(argv + 1, argv + argc);
  if (all.empty()) {
    std::cerr << "sdkcore: missing subcommand (see 'sdkcore --help')\n";
    return sdkcore::cli::kExitUsage;
  }
  if (all[0] == "--help" || all[0] == "-h" || all[0] == "help") {
    printMainUsage(std::cout);
    return finished("", sdkcore::cli::kExitSuccess);
  }
  const Args args(all.begin() + 1, all.end());
  for (const Command& command : kCommands) {
    if (command.name != all[0]) continue;
    try {
      const int status = command.run(args);
      return finished(command.name, status);
    } catch (const sdkcore::cli::OutputError& error) {
      std::cerr << "sdkcore " << command.name << ": " << error.what() << '\n';
      return sdkcore::cli::kExitUsage;
    } catch (const sdkcore::cli::UsageError& error) {
      std::cerr << "sdkcore " << command.name << ": " << error.what() << '\n';
      return sdkcore::cli::kExitUsage;
    } catch (const std::exception& error) {
      std::cerr << "sdkcore " << command.name << ": unexpected error: " << error.what() << '\n';
      return sdkcore::cli::kExitFailure;
    }
  }
  // The argument is not repeated: it may be card data typed in the wrong place.
  std::cerr << "sdkcore: unknown subcommand (see 'sdkcore --help')\n";
  return sdkcore::cli::kExitUsage;
}
