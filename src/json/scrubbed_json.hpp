#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sdkcore {

// A copy of a JSON text that a parser reads exactly as it reads the text: the same faults at the
// same positions, the same structure, numbers of the same kind and range, member names that
// unscrubbedName() turns back into the text's. It holds no ASCII letter or digit of the text's
// strings (each is replaced by the next one of its kind, also where a \u escape writes it) and
// none of the digits of its numbers. A parse that fails leaves what it read in freed memory (the
// lexer's buffers, the messages it builds), so faults are looked for in this copy, never in the
// text. The copy is wiped when it goes.
class ScrubbedJson {
 public:
  explicit ScrubbedJson(std::string_view text);
  ~ScrubbedJson();
  ScrubbedJson(const ScrubbedJson&) = delete;
  ScrubbedJson& operator=(const ScrubbedJson&) = delete;

  std::string_view text() const noexcept { return text_; }

  // The length of the longest token of the original text (a string with its quotes, or a
  // number), for overwriting what a parser of that text keeps of its tokens.
  std::size_t longestToken() const noexcept { return longestToken_; }

 private:
  std::string text_;
  std::size_t longestToken_ = 0;
};

// The member name that a parser read from a scrubbed text, as the original text writes it.
std::string unscrubbedName(std::string_view name);

}  // namespace sdkcore
