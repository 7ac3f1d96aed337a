#include "cli_support.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

namespace sdkcore::cli {

std::optional<std::string> ParsedArgs::value(const std::string& flag) const {
  auto it = values.find(flag);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

namespace {

// The position of args[index] on the command line: the subcommand is argument 1.
std::string positionText(std::size_t index) { return "position " + std::to_string(index + 2); }

// Usage errors never repeat an argument, which may be card data typed in the wrong place: an
// unexpected argument is named by its position.
UsageError unexpectedArgument(const ParsedArgs& parsed, std::size_t maxPositional) {
  return UsageError("an unexpected argument at " +
                    positionText(parsed.positionalAt[maxPositional]));
}

// An unknown option is named by the part before any '=', and only when that part holds no digit;
// otherwise by its position.
UsageError unknownOption(const std::string& arg, std::size_t index) {
  const std::string name = arg.substr(0, arg.find('='));
  // Bytes outside ASCII may be digits of another script, which a card number may be typed in.
  const bool mayHoldDigits = std::any_of(name.begin(), name.end(), [](char c) {
    return (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80;
  });
  if (mayHoldDigits) return UsageError("an unknown option at " + positionText(index));
  return UsageError("unknown option " + name);
}

}  // namespace

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueFlags,
                     const std::set<std::string>& switchFlags, std::size_t maxPositional) {
  ParsedArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      // Only known flags get here or into 'parsed', so naming them repeats no data.
      if (parsed.has(arg)) throw UsageError("option " + arg + " given twice");
      if (valueFlags.count(arg)) {
        if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
        parsed.values[arg] = args[++i];
      } else if (switchFlags.count(arg)) {
        parsed.switches.insert(arg);
      } else {
        throw unknownOption(arg, i);
      }
    } else {
      parsed.positional.push_back(arg);
      parsed.positionalAt.push_back(i);
    }
  }
  if (!parsed.help && parsed.positional.size() > maxPositional) {
    throw unexpectedArgument(parsed, maxPositional);
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
    for (auto it = separator + 1; it != args.end(); ++it) {
      parsed.positional.push_back(*it);
      parsed.positionalAt.push_back(static_cast<std::size_t>(it - args.begin()));
    }
  }
  if (!parsed.help && parsed.positional.size() > maxPositional) {
    throw unexpectedArgument(parsed, maxPositional);
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
  std::string text = readStdin(kMaxStdinBytes + 1);
  // std::cin reads through C stdio, where a read error (a directory, a hang-up) shows only in
  // ferror(); the stream itself just sees the end.
  if (std::cin.bad() || std::ferror(stdin)) throw UsageError("cannot read standard input");
  if (text.size() > kMaxStdinBytes) {
    throw UsageError("standard input holds more than " + std::to_string(kMaxStdinBytes) + " bytes");
  }
  return text;
}

std::string readStdin(std::size_t maxBytes) {
  std::string text(maxBytes, '\0');
  std::cin.read(text.data(), static_cast<std::streamsize>(maxBytes));
  text.resize(static_cast<std::size_t>(std::cin.gcount()));
  return text;
}

std::string valueOrStdin(const std::string& value) { return value == "-" ? readStdin() : value; }

std::string readFile(const std::string& path, std::string_view option) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  int error = file.get() < 0 ? errno : 0;
  std::string content;
  if (error == 0) error = readAll(file.get(), content);
  if (error != 0) {
    throw UsageError("cannot read the file given to " + std::string(option) + ": " + reason(error));
  }
  return content;
}

OutputError outputError(int error) {
  const std::string what = "cannot write standard output";
  return OutputError(error != 0 ? what + ": " + reason(error) : what);
}

void flushStandardOutput() {
  std::cout.flush();
  // std::cout writes through C stdio, where a write that failed shows in ferror(); errno tells
  // why only when this flush is the write that failed.
  const bool flushed = std::fflush(stdout) == 0;
  const int error = flushed ? 0 : errno;
  if (!flushed || !std::cout || std::ferror(stdout)) throw outputError(error);
}

void printJsonLine(const nlohmann::json& json) {
  std::cout << json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  flushStandardOutput();
}

void printOrderedJsonLine(const nlohmann::ordered_json& json) {
  std::cout << json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  flushStandardOutput();
}

int printUsage(const std::string& usage) {
  std::cout << usage;
  if (!usage.empty() && usage.back() != '\n') std::cout << '\n';
  return kExitSuccess;
}

}  // namespace sdkcore::cli
