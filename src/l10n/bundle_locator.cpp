#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <system_error>

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

#include "l10n/localization.hpp"

namespace sdkcore {
namespace {

namespace fs = std::filesystem;

// Paths from the installed library's directory (lib or bin) to the installed bundle's parent;
// given by the build from the install layout.
#ifndef SDKCORE_LIBDIR_TO_BUNDLE
#define SDKCORE_LIBDIR_TO_BUNDLE "../share/sdkcore"
#endif
#ifndef SDKCORE_BINDIR_TO_BUNDLE
#define SDKCORE_BINDIR_TO_BUNDLE "../share/sdkcore"
#endif

std::optional<fs::path> canonicalOrNothing(const fs::path& path) {
  std::error_code error;
  fs::path resolved = fs::canonical(path, error);
  if (error) return std::nullopt;
  return resolved;
}

#if defined(__APPLE__)
// Apple systems have no /proc; dyld knows the path the program was started by.
std::optional<fs::path> executablePath() {
  std::uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::string path(size, '\0');
  if (_NSGetExecutablePath(path.data(), &size) != 0) return std::nullopt;
  path.resize(std::min(path.find('\0'), path.size()));
  return canonicalOrNothing(path);
}
#else
std::optional<fs::path> executablePath() { return canonicalOrNothing("/proc/self/exe"); }
#endif

// The file that holds this function: the shared library, or the executable when the library is
// linked statically. An empty name (glibc gives one for the main program) means the executable.
std::optional<fs::path> libraryCodePath() {
  // A marker object inside the library; dladdr maps its address to the file that holds it.
  static const char marker = 0;
  Dl_info info{};
  if (dladdr(&marker, &info) == 0 || info.dli_fname == nullptr || info.dli_fname[0] == '\0') {
    return executablePath();
  }
  return canonicalOrNothing(info.dli_fname);
}

void addOnce(std::vector<fs::path>& list, fs::path path) {
  path = path.lexically_normal();
  for (const fs::path& existing : list) {
    if (existing == path) return;
  }
  list.push_back(std::move(path));
}

}  // namespace

ProcessLocation currentProcessLocation() { return {executablePath(), libraryCodePath()}; }

std::vector<fs::path> bundleCandidates(const ProcessLocation& location) {
  std::vector<fs::path> candidates;
  if (location.executable) {
    const fs::path& exe = *location.executable;
    addOnce(candidates, exe.parent_path() / ".." / "share" / exe.filename());
  }
  if (location.libraryCode) {
    const fs::path codeDir = location.libraryCode->parent_path();
    addOnce(candidates, codeDir);
    addOnce(candidates, codeDir / SDKCORE_LIBDIR_TO_BUNDLE);
    addOnce(candidates, codeDir / SDKCORE_BINDIR_TO_BUNDLE);
  }
  if (location.executable) addOnce(candidates, location.executable->parent_path());
  return candidates;
}

ResourceBundle locateBundle(const std::vector<fs::path>& candidates) {
  for (const fs::path& candidate : candidates) {
    const fs::path bundle = candidate / ResourceBundle::kDirectoryName;
    std::error_code error;
    if (!fs::is_directory(bundle, error)) continue;
    // On Apple platforms the package manager's resource bundle of the Swift target SDKCore has
    // this name too, and holds the privacy manifest but no string table: look further.
    ResourceBundle found = ResourceBundle::fromDirectory(bundle);
    if (!found.languages().empty()) return found;
  }
  return ResourceBundle::compiledIn();
}

}  // namespace sdkcore
