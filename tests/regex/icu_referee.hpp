#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <unicode/regex.h>

// ICU's regular expressions, the referee of the library's pattern engine in the tests and the
// fuzzer. Texts reach ICU as the library decodes them (unicode/utf8.hpp), so that only the
// matching is compared; replacements are taken literally, as the library takes them.
namespace sdkcore::testing {

class IcuReferee {
 public:
  // ICU's compiled 'pattern', or nullopt when ICU refuses it.
  static std::optional<IcuReferee> compile(std::string_view pattern, bool caseInsensitive);

  // ICU's answers; nullopt when ICU gave up (its step or stack limit), which cannot referee.
  std::optional<bool> findIn(std::string_view text) const;
  std::optional<std::string> replaceAll(std::string_view text, std::string_view replacement) const;
  // Whether the pattern matches all of 'text' (a single code point, say).
  bool matchesWhole(std::string_view text) const;

 private:
  explicit IcuReferee(std::shared_ptr<const icu::RegexPattern> pattern);
  std::shared_ptr<const icu::RegexPattern> pattern_;
};

}  // namespace sdkcore::testing
