#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace sdkcore {

enum class RegexOptions : std::uint32_t { none = 0, caseInsensitive = 1 };

// A compiled regular expression (ICU syntax: Unicode-aware \d and \w; `$` also matches before
// one final line terminator). Immutable and safe to share between threads.
class Regex {
 public:
  // Returns true when the expression matches somewhere in 'text'. Invalid UTF-8 never matches
  // more than its valid parts allow; never throws.
  bool findIn(std::string_view text) const noexcept;
  // Returns 'text' with every match replaced by 'replacement' (taken literally).
  std::string replaceAll(std::string_view text, std::string_view replacement) const;
  const std::string& pattern() const noexcept;

 private:
  friend Regex toRegex(std::string_view pattern, RegexOptions options);
  struct Impl;
  explicit Regex(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
  std::shared_ptr<const Impl> impl_;
};

}  // namespace sdkcore
