#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "sdkcore/strict_json.hpp"

// Conventions shared by every subcommand: exit statuses, argument parsing, reading values and
// files, and printing one JSON object per line.
namespace sdkcore::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A usage or input error: main() prints "sdkcore <subcommand>: <what()>" on one line and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Standard output could not be written (a full disk, a closed pipe or descriptor): main() prints
// "sdkcore <subcommand>: <what()>" on standard error and exits 2.
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws OutputError unless everything written to standard output so far has reached it.
void flushStandardOutput();

// The error for a write to standard output that failed with 'error' (an errno value; 0 when it
// is not known).
OutputError outputError(int error);

// Returns read(), with the library's JsonInputError (malformed JSON input) thrown as a
// UsageError with the same message.
template <typename Read>
auto asUsageError(Read&& read) -> decltype(read()) {
  try {
    return read();
  } catch (const JsonInputError& error) {
    throw UsageError(error.what());
  }
}

// The parsed command line of one subcommand.
struct ParsedArgs {
  std::map<std::string, std::string> values;  // "--flag" -> value, for flags that take one
  std::set<std::string> switches;             // "--flag" given, for flags without value
  std::vector<std::string> positional;        // everything else, "-" included
  std::vector<std::size_t> positionalAt;      // the index in the arguments of each positional
  bool help = false;                          // "--help" was given

  bool has(const std::string& flag) const { return values.count(flag) || switches.count(flag); }
  std::optional<std::string> value(const std::string& flag) const;
};

// Parses 'args'. 'valueFlags' take the next argument as their value; 'switchFlags' take none.
// Throws UsageError for an unknown flag, a flag given twice, a missing value, or more than
// 'maxPositional' positional arguments. Messages never repeat an argument's value: a flag is
// named by the part before any '=' (by its position when that part holds a digit or any
// character outside ASCII, such as digits of other scripts), an extra argument by its position
// on the command line (the subcommand is position 1).
ParsedArgs parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueFlags,
                     const std::set<std::string>& switchFlags, std::size_t maxPositional);

// Like parseArgs, but every argument after a "--" is positional, so a value may begin with '-';
// an error in the options names that way out.
ParsedArgs parseArgsWithDashValues(const std::vector<std::string>& args,
                                   const std::set<std::string>& valueFlags,
                                   const std::set<std::string>& switchFlags,
                                   std::size_t maxPositional);

// The most that a subcommand reads from standard input outside `token --batch`, as much as one
// line of a batch.
inline constexpr std::size_t kMaxStdinBytes = 1024 * 1024;

// Returns all of standard input, unchanged; throws UsageError when it cannot be read (a
// directory, a read error) or holds more than kMaxStdinBytes bytes.
std::string readStdin();
// Returns standard input, unchanged, but no more than its first 'maxBytes' bytes.
std::string readStdin(std::size_t maxBytes);
// Returns 'value', or all of standard input when it is "-".
std::string valueOrStdin(const std::string& value);
// Returns the bytes of the file at 'path', given to 'option'; throws UsageError naming the option
// (not the path, which may be anything typed) and the reason when it cannot be opened or read
// (missing, a directory, no permission).
std::string readFile(const std::string& path, std::string_view option);

// Prints 'json' compactly as one line on standard output. Invalid UTF-8 is replaced. Throws
// OutputError when the line does not reach standard output.
void printJsonLine(const nlohmann::json& json);
// The same for an object whose members keep their insertion order.
void printOrderedJsonLine(const nlohmann::ordered_json& json);

// Prints 'usage' on standard output (for --help) and returns 0.
int printUsage(const std::string& usage);

}  // namespace sdkcore::cli
