#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Runs the built `sdkcore` program as a child process for the black-box tests.
namespace sdkcore::testing {

struct ProcessResult {
  std::string out;    // standard output (empty when an output callback was given)
  std::string err;    // standard error
  int status = -1;    // exit status, or -1 when the child did not exit normally
  long maxRssKb = 0;  // the child's peak resident set size
};

struct ProcessOptions {
  std::string input;  // written to the child's standard input, which is then closed
  // When set, called for more input after 'input' until it returns false (keeps large inputs
  // out of memory).
  std::function<bool(std::string&)> moreInput;
  // When set, receives standard output in chunks instead of ProcessResult::out.
  std::function<void(const char*, std::size_t)> onOutput;
  std::vector<std::string> environment;  // extra NAME=VALUE entries
  // Standard error is a pseudo-terminal (raw mode) instead of a pipe; ProcessResult::err holds
  // what the terminal received.
  bool stderrIsTerminal = false;
  // Standard input is a pseudo-terminal that hangs up after the input: reading it then fails.
  bool stdinFailsAfterInput = false;
  // How standard output ends: a pipe read to its end, a pipe closed once it held a line (as
  // `| head -1` does), a file opened for writing (such as /dev/full), or closed from the start.
  enum class Output { pipe, pipeClosedAfterALine, file, closed };
  Output output = Output::pipe;
  std::string outputFile;  // for Output::file
};

// True when this machine can open a pseudo-terminal. A chroot or container without /dev/pts
// mounted cannot; the terminal tests skip there, saying why.
bool pseudoTerminalAvailable();

// Options with 'input' on standard input and 'environment' added to the environment.
inline ProcessOptions withInput(std::string input, std::vector<std::string> environment = {}) {
  ProcessOptions options;
  options.input = std::move(input);
  options.environment = std::move(environment);
  return options;
}

// Runs the program at SDKCORE_CLI_PATH with 'args'. Throws std::runtime_error when it cannot start.
ProcessResult runCli(const std::vector<std::string>& args, const ProcessOptions& options = {});

// Writes 'content' to a new file in the test's temporary directory and returns its path.
std::string writeTempFile(const std::string& name, const std::string& content);

}  // namespace sdkcore::testing
