#include "cli_support.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <system_error>

namespace sdkcore::cli {

std::optional<std::string> ParsedArgs::value(const std::string& flag) const {
  auto it = values.find(flag);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueFlags,
                     const std::set<std::string>& switchFlags, std::size_t maxPositional) {
  ParsedArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      if (parsed.has(arg)) throw UsageError("option " + arg + " given twice");
      if (valueFlags.count(arg)) {
        if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
        parsed.values[arg] = args[++i];
      } else if (switchFlags.count(arg)) {
        parsed.switches.insert(arg);
      } else {
        throw UsageError("unknown option " + arg);
      }
    } else {
      parsed.positional.push_back(arg);
    }
  }
  if (!parsed.help && parsed.positional.size() > maxPositional) {
    throw UsageError("unexpected argument '" + parsed.positional[maxPositional] + "'");
  }
  return parsed;
}

ParsedArgs parseArgsWithDashValues(const std::vector<std::string>& args,
                                   const std::set<std::string>& valueFlags,
                                   const std::set<std::string>& switchFlags,
                                   std::size_t maxPositional) {
  const auto separator = std::find(args.begin(), args.end(), "--");
  ParsedArgs parsed;
  try {
    parsed = parseArgs(std::vector<std::string>(args.begin(), separator), valueFlags, switchFlags,
                       maxPositional);
  } catch (const UsageError& error) {
    throw UsageError(std::string(error.what()) + " (put -- before a value that begins with '-')");
  }
  if (separator != args.end()) {
    parsed.positional.insert(parsed.positional.end(), separator + 1, args.end());
  }
  if (!parsed.help && parsed.positional.size() > maxPositional) {
    throw UsageError("unexpected argument '" + parsed.positional[maxPositional] + "'");
  }
  return parsed;
}

namespace {

// An open file descriptor, closed when the object goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Appends everything 'fd' yields to 'out'. Returns 0, or the errno of a failed read (a
// directory fails here with EISDIR).
int readAll(int fd, std::string& out) {
  std::array<char, 64 * 1024> buffer;
  for (;;) {
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count == 0) return 0;
    if (count < 0 && errno != EINTR) return errno;
    if (count > 0) out.append(buffer.data(), static_cast<std::size_t>(count));
  }
}

std::string reason(int error) { return std::generic_category().message(error); }

}  // namespace

std::string readStdin() {
  std::ostringstream buffer;
  buffer << std::cin.rdbuf();
  // std::cin reads through C stdio, where a read error (a directory, a hang-up) shows only in
  // ferror(); the stream itself just sees the end.
  if (std::cin.bad() || std::ferror(stdin)) throw UsageError("cannot read standard input");
  return buffer.str();
}

std::string readStdin(std::size_t maxBytes) {
  std::string text(maxBytes, '\0');
  std::cin.read(text.data(), static_cast<std::streamsize>(maxBytes));
  text.resize(static_cast<std::size_t>(std::cin.gcount()));
  return text;
}

std::string valueOrStdin(const std::string& value) { return value == "-" ? readStdin() : value; }

std::string readFile(const std::string& path) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  int error = file.get() < 0 ? errno : 0;
  std::string content;
  if (error == 0) error = readAll(file.get(), content);
  if (error != 0) {
    throw UsageError("cannot read file '" + path + "': " + reason(error));
  }
  return content;
}

void printJsonLine(const nlohmann::json& json) {
  std::cout << json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  std::cout.flush();
}

void printOrderedJsonLine(const nlohmann::ordered_json& json) {
  std::cout << json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  std::cout.flush();
}

int printUsage(const std::string& usage) {
  std::cout << usage;
  if (!usage.empty() && usage.back() != '\n') std::cout << '\n';
  return kExitSuccess;
}

}  // namespace sdkcore::cli
