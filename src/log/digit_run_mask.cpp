#include "log/digit_run_mask.hpp"

#include <cstddef>

#include "unicode/properties.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore {
namespace {

// Longer texts are not remembered by maskDigitRunsOfRepeatedText.
constexpr std::size_t kMaxRemembered = 16 * 1024;
// Shorter runs are dates, amounts, phone numbers; no card number is that short.
constexpr std::size_t kMaskedFrom = 12;
// As for the card number: the first 6 stay only while at least 6 digits stay hidden.
constexpr std::size_t kHeadKeptFrom = 16;
constexpr std::size_t kKeptHead = 6;
constexpr std::size_t kKeptTail = 4;
// The most characters between two digits of one run: what copying a number from a web page, a
// PDF or a banking app brings (" - ", CR LF, a no-break space and a joiner) stays within it.
constexpr std::size_t kMaxSeparators = 3;

// The bytes of one run: [begin, end) starts and ends with a digit.
struct Run {
  std::size_t begin;
  std::size_t end;
  std::size_t digits;
};

// What a character is to a run: a digit, a letter (which ends it), or anything else, which may
// separate two digits of one run.
enum class Kind { digit, letter, separator };

struct Character {
  Kind kind;
  std::size_t length;  // in bytes, at least 1
};

Kind kindOf(unicode::GeneralCategory category) {
  using unicode::GeneralCategory;
  switch (category) {
    case GeneralCategory::Nd:
      return Kind::digit;
    case GeneralCategory::Lu:
    case GeneralCategory::Ll:
    case GeneralCategory::Lt:
    case GeneralCategory::Lm:
    case GeneralCategory::Lo:
      return Kind::letter;
    default:
      return Kind::separator;
  }
}

// The character that starts at 'at'; an ill-formed UTF-8 sequence is one separator.
Character characterAt(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) {
    if (byte >= '0' && byte <= '9') return {Kind::digit, 1};
    const auto lower = static_cast<unsigned char>(byte | 0x20);
    return {lower >= 'a' && lower <= 'z' ? Kind::letter : Kind::separator, 1};
  }
  const unicode::Decoded decoded = unicode::decodeAt(text, at);
  return {kindOf(unicode::generalCategory(decoded.codePoint)), decoded.length};
}

bool isAsciiLetter(char c) {
  const auto lower = static_cast<unsigned char>(c) | 0x20;
  return lower >= 'a' && lower <= 'z';
}

// Whether the byte may begin or continue a digit: an ASCII digit, or any byte of a multi-byte
// character (which may be a digit of another script).
bool mayBeDigit(char c) { return (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80; }

// False only when 'text' holds no run to mask; cheap, as log texts (the merchant's key above all)
// rarely hold one. A run of kMaskedFrom digits spans at least kMaskedFrom bytes and no ASCII
// letter, so only every kMaskedFrom-th byte is looked at, and around one that is no ASCII letter,
// the bytes up to the nearest ASCII letters: a run needs kMaskedFrom of them that may be digits.
bool mayHoldLongRun(std::string_view text) {
  std::size_t from = 0;  // no run to mask starts before 'from'
  while (text.size() - from >= kMaskedFrom) {
    const std::size_t probe = from + kMaskedFrom - 1;
    if (isAsciiLetter(text[probe])) {
      from = probe + 1;
      continue;
    }
    std::size_t begin = probe;
    while (begin > from && !isAsciiLetter(text[begin - 1])) --begin;
    std::size_t end = probe + 1;
    while (end < text.size() && !isAsciiLetter(text[end])) ++end;
    std::size_t digits = 0;
    for (std::size_t at = begin; at < end; ++at) digits += mayBeDigit(text[at]) ? 1 : 0;
    if (digits >= kMaskedFrom) return true;
    from = end;
  }
  return false;
}

// The digit that follows 'at' after at most kMaxSeparators separators, with 'at' moved to it;
// of length 0 when a letter, a longer gap or the end of the text comes first.
Character digitAfterSeparators(std::string_view text, std::size_t& at) {
  constexpr Character kNone{Kind::separator, 0};
  for (std::size_t separators = 0; at < text.size(); ++separators) {
    const Character next = characterAt(text, at);
    if (next.kind != Kind::separator) return next.kind == Kind::digit ? next : kNone;
    if (separators == kMaxSeparators) return kNone;
    at += next.length;
  }
  return kNone;
}

// The run that starts with the digit of 'length' bytes at 'begin'.
Run runFrom(std::string_view text, std::size_t begin, std::size_t length) {
  Run run{begin, begin + length, 1};
  for (;;) {
    std::size_t at = run.end;
    const Character digit = digitAfterSeparators(text, at);
    if (digit.length == 0) return run;
    run.end = at + digit.length;
    ++run.digits;
  }
}

// Calls 'onRun' for each run of at least kMaskedFrom digits, in order.
template <typename OnRun>
void forEachLongRun(std::string_view text, OnRun&& onRun) {
  for (std::size_t at = 0; at < text.size();) {
    const Character character = characterAt(text, at);
    if (character.kind != Kind::digit) {
      at += character.length;
      continue;
    }
    const Run run = runFrom(text, at, character.length);
    if (run.digits >= kMaskedFrom) onRun(run);
    at = run.end;
  }
}

void appendMasked(std::string& out, std::string_view text, const Run& run) {
  const std::size_t head = run.digits >= kHeadKeptFrom ? kKeptHead : 0;
  const std::size_t tailFrom = run.digits - kKeptTail;
  std::size_t index = 0;
  for (std::size_t at = run.begin; at < run.end;) {
    const Character character = characterAt(text, at);
    const bool kept = character.kind != Kind::digit || index < head || index >= tailFrom;
    if (kept) {
      out.append(text.substr(at, character.length));  // a separator, or a digit that stays
    } else {
      out += '*';
    }
    if (character.kind == Kind::digit) ++index;
    at += character.length;
  }
}

}  // namespace

std::string_view maskDigitRuns(std::string_view text, std::string& storage) {
  if (!mayHoldLongRun(text)) return text;
  bool masked = false;
  std::size_t copied = 0;
  forEachLongRun(text, [&](const Run& run) {
    if (!masked) {
      // A masked digit is never longer than the digit it replaces.
      storage.clear();
      storage.reserve(text.size());
      masked = true;
    }
    storage.append(text.substr(copied, run.begin - copied));
    appendMasked(storage, text, run);
    copied = run.end;
  });
  if (!masked) return text;
  storage.append(text.substr(copied));
  return storage;
}

std::string_view maskDigitRunsOfRepeatedText(std::string_view text, std::string& storage) {
  thread_local std::string lastWithoutRun;
  if (!lastWithoutRun.empty() && text == lastWithoutRun) return text;
  const std::string_view shown = maskDigitRuns(text, storage);
  if (shown.data() == text.data() && text.size() <= kMaxRemembered) lastWithoutRun.assign(text);
  return shown;
}

}  // namespace sdkcore
