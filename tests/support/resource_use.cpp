#include "support/resource_use.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string_view>

namespace sdkcore::testing {
namespace {

// A line "<key>: <n> kB" of /proc/self/status, in MB; 0 when missing.
double statusMb(std::string_view key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(key)) return std::stod(line.substr(key.size())) / 1024;
  }
  return 0;
}

double cpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Makes the peak resident size start again from the current one (Linux 4.0 and later); where
// that is refused, the peak inherited from the parent only makes the growth look smaller.
void resetPeak() {
  const int fd = open("/proc/self/clear_refs", O_WRONLY);
  if (fd < 0) return;
  [[maybe_unused]] const ssize_t written = write(fd, "5", 1);
  close(fd);
}

void writeAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  return text;
}

[[noreturn]] void runChild(int out, const std::function<std::function<std::string()>()>& prepare) {
  std::ostringstream report;
  try {
    const std::function<std::string()> work = prepare();
    resetPeak();
    const double baseMb = statusMb("VmRSS:");
    const double start = cpuMs();
    const std::string answer = work();
    const double used = cpuMs() - start;
    report << used << ' ' << statusMb("VmHWM:") - baseMb << ' ' << answer;
  } catch (const std::exception& error) {
    report << "0 0 <died: exception " << error.what() << '>';
  }
  writeAll(out, report.str());
  _exit(0);
}

}  // namespace

bool resourceBoundsApply() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || !defined(__OPTIMIZE__) || \
    defined(SDKCORE_TEST_EMULATED)
  return false;
#elif defined(__has_feature)
  return !(__has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||
           __has_feature(undefined_behavior_sanitizer));
#else
  return true;
#endif
}

ResourceUse measureInChild(const std::function<std::function<std::string()>()>& prepare) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {"<died: no pipe>"};
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return {"<died: no fork>"};
  if (child == 0) {
    close(pipeFds[0]);
    runChild(pipeFds[1], prepare);
  }
  close(pipeFds[1]);
  const std::string report = readAll(pipeFds[0]);
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return {"<died: signal " + std::to_string(WTERMSIG(status)) + '>'};
  if (WEXITSTATUS(status) != 0) return {"<died: exit " + std::to_string(WEXITSTATUS(status)) + '>'};
  ResourceUse use;
  std::istringstream in(report);
  in >> use.cpuMs >> use.peakMb;
  in.get();
  std::getline(in, use.answer, '\0');
  return use;
}

}  // namespace sdkcore::testing
