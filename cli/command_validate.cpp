#include "cli_support.hpp"
#include "commands.hpp"

namespace sdkcore::cli {

// Placeholder until the subcommand is built.
int runValidate(const Args&) {
  throw UsageError("this subcommand is not available in this build yet");
}

}  // namespace sdkcore::cli
