#pragma once

// Helpers for the localization tests: a scoped message language and scratch directories.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>
#include <unistd.h>

#include "sdkcore/localized_messages.hpp"

namespace sdkcore::testing_support {

// Sets the message language from a locale name for the lifetime of the object, then goes back
// to the environment's. A name that the library refuses fails the test.
class ScopedLocale {
 public:
  explicit ScopedLocale(std::string_view locale) {
    if (!setMessageLanguage(locale)) ADD_FAILURE() << "locale name refused: " << locale;
  }
  ~ScopedLocale() { resetMessageLanguage(); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;
};

// A fresh directory under the system's temporary directory, removed with its contents at the end.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("sdkcore_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes 'content' to the file at 'relative' (creating its directories).
  void write(const std::filesystem::path& relative, std::string_view content) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace sdkcore::testing_support
