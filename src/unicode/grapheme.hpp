#pragma once

// Extended grapheme clusters (user-perceived characters) as ICU 72's character break iterator
// finds them: the rules of UAX #29 for Unicode 15.0, plus ICU's rule that keeps a consonant,
// a virama (and a ZWJ) and a following consonant together in the scripts that form conjuncts that
// way (Devanagari, Bengali, Gujarati, Oriya, Telugu, Malayalam). The text is UTF-8, read as
// unicode/utf8.hpp reads it: an ill-formed subsequence is one U+FFFD. Thread-safe: no state is
// kept between calls.

#include <cstddef>
#include <string_view>
#include <vector>

namespace sdkcore::unicode {

// Walks the character boundaries of a UTF-8 text, as byte offsets, in order: 0 first (for a
// non-empty text), text.size() last. Holds a view of the text: the text must outlive it.
class GraphemeBreaker {
 public:
  explicit GraphemeBreaker(std::string_view text) noexcept;
  // The byte offset of the next boundary after the current one, or std::string_view::npos when
  // the end of the text was the last. The first call returns the end of the first character.
  std::size_t next() noexcept;

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// Every boundary of 'text', from 0 to text.size() inclusive (just {0} for an empty text).
std::vector<std::size_t> graphemeBoundaries(std::string_view text);

}  // namespace sdkcore::unicode
