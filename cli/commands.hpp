#pragma once

#include <string>
#include <vector>

// One function per subcommand. Each takes the arguments after the subcommand's name and returns
// the exit status (0 success, 1 the library answered with a failure, 2 usage or input error).
// They throw cli::UsageError for usage errors; main() prints it and exits 2.
namespace sdkcore::cli {

using Args = std::vector<std::string>;

int runVersion(const Args& args);
int runToken(const Args& args);
int runDecrypt(const Args& args);
int runEncrypt(const Args& args);
int runValidate(const Args& args);
int runBase58(const Args& args);
int runPmId(const Args& args);
int runDemoKey(const Args& args);
int runCard(const Args& args);

}  // namespace sdkcore::cli
