#include "cli_support.hpp"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

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

std::string readStdin() {
  std::ostringstream buffer;
  buffer << std::cin.rdbuf();
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
  std::ifstream in(path, std::ios::binary);
  if (!in) throw UsageError("cannot read file '" + path + "'");
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw UsageError("cannot read file '" + path + "'");
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
