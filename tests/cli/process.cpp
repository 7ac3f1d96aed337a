#include "process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace sdkcore::testing {
namespace {

// The three channels of the child, [0] the reading end and [1] the writing end; each end is
// closed once. A terminal channel is a pseudo-terminal in raw mode, master and slave.
struct Pipe {
  int fd[2] = {-1, -1};
  explicit Pipe(bool terminal = false) {
    if (!terminal) {
      if (pipe2(fd, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
      return;
    }
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&fd[0], &fd[1], nullptr, &raw, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
    fcntl(fd[0], F_SETFD, FD_CLOEXEC);
    fcntl(fd[1], F_SETFD, FD_CLOEXEC);
  }
  ~Pipe() {
    closeEnd(0);
    closeEnd(1);
  }
  void closeEnd(int end) {
    if (fd[end] >= 0) close(fd[end]);
    fd[end] = -1;
  }
};

// Makes the child's standard output what 'options' asks for.
void addOutput(posix_spawn_file_actions_t& actions, const ProcessOptions& options, Pipe& out) {
  using Output = ProcessOptions::Output;
  if (options.output == Output::file) {
    posix_spawn_file_actions_addopen(&actions, 1, options.outputFile.c_str(), O_WRONLY, 0);
  } else if (options.output == Output::closed) {
    posix_spawn_file_actions_addclose(&actions, 1);
  } else {
    posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
  }
}

pid_t spawn(const std::vector<std::string>& args, const ProcessOptions& options, Pipe& in,
            Pipe& out, Pipe& err) {
  const std::vector<std::string>& env = options.environment;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.fd[0], 0);
  addOutput(actions, options, out);
  posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);
  // Under an emulator the program is a target binary, which only the emulator can start.
#ifdef SDKCORE_TEST_EMULATOR
  std::vector<std::string> argStrings = {SDKCORE_TEST_EMULATOR, SDKCORE_CLI_PATH};
#else
  std::vector<std::string> argStrings = {SDKCORE_CLI_PATH};
#endif
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argStrings) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStrings;
  for (char** e = environ; *e != nullptr; ++e) envStrings.emplace_back(*e);
  envStrings.insert(envStrings.end(), env.begin(), env.end());
  std::vector<char*> envp;
  for (std::string& entry : envStrings) envp.push_back(entry.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argStrings[0]);
  in.closeEnd(0);
  out.closeEnd(1);
  err.closeEnd(1);
  return pid;
}

}  // namespace

bool pseudoTerminalAvailable() {
  int master = -1;
  int slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return false;
  close(master);
  close(slave);
  return true;
}

ProcessResult runCli(const std::vector<std::string>& args, const ProcessOptions& options) {
  signal(SIGPIPE, SIG_IGN);  // a child that stops reading must not kill the test
  Pipe in(options.stdinFailsAfterInput), out, err(options.stderrIsTerminal);
  const pid_t pid = spawn(args, options, in, out, err);
  const bool closeAfterALine = options.output == ProcessOptions::Output::pipeClosedAfterALine;
  ProcessResult result;
  std::string pending = options.input;
  std::size_t written = 0;
  bool moreInput = static_cast<bool>(options.moreInput);
  fcntl(in.fd[1], F_SETFL, O_NONBLOCK);
  std::array<char, 65536> buffer;
  while (out.fd[0] >= 0 || err.fd[0] >= 0) {
    if (in.fd[1] >= 0 && written == pending.size()) {
      pending.clear();
      written = 0;
      if (!moreInput || !(moreInput = options.moreInput(pending))) {
        if (pending.empty()) in.closeEnd(1);
      }
    }
    std::array<pollfd, 3> fds = {pollfd{out.fd[0], POLLIN, 0}, pollfd{err.fd[0], POLLIN, 0},
                                 pollfd{in.fd[1], POLLOUT, 0}};
    if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      Pipe& pipe = i == 0 ? out : err;
      const ssize_t n = read(pipe.fd[0], buffer.data(), buffer.size());
      if (n <= 0) {
        pipe.closeEnd(0);
      } else if (i == 0 && options.onOutput) {
        options.onOutput(buffer.data(), static_cast<std::size_t>(n));
      } else {
        (i == 0 ? result.out : result.err).append(buffer.data(), static_cast<std::size_t>(n));
      }
      if (i == 0 && closeAfterALine && result.out.find('\n') != std::string::npos) {
        pipe.closeEnd(0);
      }
    }
    if (fds[2].revents & (POLLERR | POLLHUP)) {
      in.closeEnd(1);
    } else if (fds[2].revents & POLLOUT) {
      const ssize_t n = write(in.fd[1], pending.data() + written, pending.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 && errno == EPIPE) in.closeEnd(1);
    }
  }
  in.closeEnd(1);
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.maxRssKb = usage.ru_maxrss;
  return result;
}

namespace {

// This process's folder of test files, removed when the process exits.
class TempDir {
 public:
  TempDir()
      : path_(std::filesystem::temp_directory_path() /
              ("sdkcore_cli_tests_" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

std::string writeTempFile(const std::string& name, const std::string& content) {
  static const TempDir dir;
  const std::filesystem::path path = dir.path() / name;
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

}  // namespace sdkcore::testing
