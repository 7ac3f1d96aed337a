#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "sdkcore/export.h"

namespace sdkcore {

// Options of toRegex(), a bit set.
enum class RegexOptions : std::uint32_t { none = 0, caseInsensitive = 1 };

// A compiled regular expression in ICU syntax: \d is any Unicode decimal digit (Nd), \w and \s
// are Unicode-aware, `^` matches only at the start of the input, and `$` matches at the end and
// also just before one line terminator that ends the input (CR LF counts as one). Matching is
// case-sensitive unless compiled with RegexOptions::caseInsensitive.
//
// Made by toRegex() (below). The pattern is compiled once; copies share it.
// Immutable and safe to use from any number of threads at once.
class SDKCORE_EXPORT Regex {
 public:
  // Returns true when the expression matches somewhere in the whole of 'text'. Invalid UTF-8 is
  // read with each ill-formed sequence as U+FFFD, so it matches only what accepts that
  // character. Never throws.
  bool findIn(std::string_view text) const noexcept;
  // Returns 'text' with every match replaced by 'replacement', which is taken literally ("$1" and
  // "\" have no special meaning). The result is valid UTF-8 (ill-formed input sequences come back
  // as U+FFFD). Throws std::runtime_error if ICU fails (memory exhaustion, backtracking limits).
  std::string replaceAll(std::string_view text, std::string_view replacement) const;
  // The pattern text the expression was compiled from.
  const std::string& pattern() const noexcept;

 private:
  friend Regex toRegex(std::string_view pattern, RegexOptions options);
  struct Impl;
  explicit Regex(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
  std::shared_ptr<const Impl> impl_;
};

// Compiles 'pattern' (ICU syntax, see Regex). Throws std::invalid_argument naming the pattern
// when it is invalid or when 'options' holds an unknown bit. Thread-safe.
SDKCORE_EXPORT Regex toRegex(std::string_view pattern, RegexOptions options = RegexOptions::none);

}  // namespace sdkcore
