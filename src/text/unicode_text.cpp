#include "text/unicode_text.hpp"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utypes.h>

#include "sdkcore/logger.hpp"

#include "base/wiped_text.hpp"

namespace sdkcore {
namespace {

[[noreturn]] void throwDataMissing(const std::string& what, UErrorCode status) {
  const auto error = std::make_shared<const UnicodeDataMissing>(
      "ICU data missing: cannot load " + what + " (" + u_errorName(status) + ")");
  Logger::shared().log(typeid(UnicodeDataMissing), std::string(Logger::TAG), error->what(), error);
  throw UnicodeDataMissing(*error);
}

// Returns this thread's character break iterator. Creating one loads and compiles the break
// rules, so it is done once per thread; an iterator is not safe to share between threads.
icu::BreakIterator& characterIterator() {
  thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> created(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
    // Anything else: the break rules are not in the ICU data the program has.
    if (U_FAILURE(status) || !created) throwDataMissing("the character break rules", status);
    return created;
  }();
  return *iterator;
}

// Counts the characters of ASCII text without ICU: one per byte, less one per CR LF.
std::int64_t asciiCharacterCount(std::string_view text) noexcept {
  auto count = static_cast<std::int64_t>(text.size());
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    --count;
  }
  return count;
}

// Eight bytes of 'text' from 'at' as one word, in memory order.
std::uint64_t wordAt(std::string_view text, std::size_t at) noexcept {
  std::uint64_t word;
  std::memcpy(&word, text.data() + at, sizeof word);
  return word;
}

constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// True when some byte of 'word' is at least 0x80, or below 'limit' (at most 0x80).
bool hasHighOrBelow(std::uint64_t word, std::uint64_t limit) noexcept {
  return ((word | (word - kEachByte * limit)) & kHighBits) != 0;
}

}  // namespace

WipedUnicodeString::~WipedUnicodeString() { wipe(); }

void WipedUnicodeString::moveFrom(icu::UnicodeString&& text) noexcept {
  wipe();
  icu::UnicodeString::operator=(std::move(text));
}

void WipedUnicodeString::wipe() noexcept {
  // The buffer comes back in place when this string owns it alone, the inline one included.
  const std::int32_t capacity = getCapacity();
  if (char16_t* buffer = getBuffer(capacity)) {
    wipeBytes(buffer, sizeof(char16_t) * static_cast<std::size_t>(capacity));
    releaseBuffer(0);
  }
}

WipedUnicodeString toUnicodeString(std::string_view utf8) {
  // ICU strings hold at most 2^31 - 1 code units; refuse rather than silently truncate.
  if (utf8.size() > static_cast<std::size_t>(INT32_MAX)) {
    throw std::length_error("text longer than 2147483647 bytes");
  }
  WipedUnicodeString text;
  text.moveFrom(icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size()))));
  return text;
}

std::string toUtf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

bool isAscii(std::string_view text) noexcept {
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    if ((wordAt(text, at) & kHighBits) != 0) return false;
  }
  for (; at < text.size(); ++at) {
    if (static_cast<unsigned char>(text[at]) >= 0x80) return false;
  }
  return true;
}

bool containsLineTerminator(std::string_view utf8) noexcept {
  // One pass over the bytes. LF, VT, FF and CR are single bytes; U+0085 is C2 85 and U+2028 and
  // U+2029 are E2 80 A8 and E2 80 A9. A lead byte never occurs inside another sequence, so this
  // finds exactly the characters that ICU decodes, even in ill-formed text. Runs of eight bytes
  // that are all ASCII above CR are skipped a word at a time.
  std::size_t start = 0;
  while (start + 8 <= utf8.size() && !hasHighOrBelow(wordAt(utf8, start), '\r' + 1)) start += 8;
  for (std::size_t i = start; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte >= '\n' && byte <= '\r') return true;
    if (byte < 0xC2) continue;
    const std::string_view rest = utf8.substr(i);
    if (rest.starts_with("\xC2\x85") || rest.starts_with("\xE2\x80\xA8") ||
        rest.starts_with("\xE2\x80\xA9")) {
      return true;
    }
  }
  return false;
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
  const WipedUnicodeString text = toUnicodeString(utf8);
  const std::vector<std::int32_t> boundaries = characterBoundaries(text);
  std::vector<std::string> characters;
  for (std::size_t i = 1; i < boundaries.size(); ++i) {
    characters.push_back(toUtf8(text.tempSubStringBetween(boundaries[i - 1], boundaries[i])));
  }
  return characters;
}

}  // namespace sdkcore
