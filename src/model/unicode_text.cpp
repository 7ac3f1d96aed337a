#include "model/unicode_text.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>

#include <unicode/brkiter.h>
#include <unicode/locid.h>

namespace sdkcore {
namespace {

// Returns this thread's character break iterator. Creating one loads and compiles the break
// rules, so it is done once per thread; an iterator is not safe to share between threads.
icu::BreakIterator& characterIterator() {
  thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> created(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    // Only a missing ICU data file or memory exhaustion can fail here.
    if (U_FAILURE(status) || !created) throw std::bad_alloc();
    return created;
  }();
  return *iterator;
}

// Counts characters of ASCII text without ICU: every byte is a character, except that the
// grapheme rules keep CR LF together.
std::int64_t asciiCharacterCount(std::string_view text) noexcept {
  std::int64_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++count;
  }
  return count;
}

}  // namespace

icu::UnicodeString toUnicodeString(std::string_view utf8) {
  // ICU strings hold at most 2^31 - 1 code units; refuse rather than silently truncate.
  if (utf8.size() > static_cast<std::size_t>(INT32_MAX)) {
    throw std::length_error("text longer than 2147483647 bytes");
  }
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
}

std::string toUtf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

bool isAscii(std::string_view text) noexcept {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool containsLineTerminator(std::string_view utf8) noexcept {
  // A lead byte never occurs inside another sequence, so a byte search finds exactly the
  // characters that ICU decodes, even in ill-formed text.
  constexpr std::string_view kMultiByte[] = {"\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"};
  if (utf8.find_first_of("\n\v\f\r") != std::string_view::npos) return true;
  return std::any_of(std::begin(kMultiByte), std::end(kMultiByte),
                     [utf8](std::string_view t) { return utf8.find(t) != std::string_view::npos; });
}

void forEachCharacterBoundary(const icu::UnicodeString& text,
                              const std::function<void(std::int32_t)>& visit) {
  icu::BreakIterator& iterator = characterIterator();
  iterator.setText(text);
  // The iterator aliases the text it is given; on every way out, point it at a string that
  // outlives every call instead of 'text', which the caller may destroy.
  struct Detach {
    icu::BreakIterator& iterator;
    ~Detach() {
      static const icu::UnicodeString kNoText;
      iterator.setText(kNoText);
    }
  } detach{iterator};
  for (std::int32_t at = iterator.first(); at != icu::BreakIterator::DONE; at = iterator.next()) {
    visit(at);
  }
}

std::vector<std::int32_t> characterBoundaries(const icu::UnicodeString& text) {
  std::vector<std::int32_t> boundaries;
  forEachCharacterBoundary(text, [&boundaries](std::int32_t at) { boundaries.push_back(at); });
  return boundaries;
}

std::int64_t characterCount(std::string_view utf8) {
  if (isAscii(utf8)) return asciiCharacterCount(utf8);
  return static_cast<std::int64_t>(characterBoundaries(toUnicodeString(utf8)).size()) - 1;
}

std::vector<std::string> splitCharacters(std::string_view utf8) {
  const icu::UnicodeString text = toUnicodeString(utf8);
  const std::vector<std::int32_t> boundaries = characterBoundaries(text);
  std::vector<std::string> characters;
  for (std::size_t i = 1; i < boundaries.size(); ++i) {
    characters.push_back(toUtf8(text.tempSubStringBetween(boundaries[i - 1], boundaries[i])));
  }
  return characters;
}

}  // namespace sdkcore
