#include "log/digit_run_mask.hpp"

#include <cstddef>
#include <cstdint>

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

// The bytes of one run: [begin, end) starts and ends with a digit.
struct Run {
  std::size_t begin;
  std::size_t end;
  std::size_t digits;
};

// The length in bytes of the decimal digit that starts at 'at', or 0 when none does.
std::size_t digitAt(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) return byte >= '0' && byte <= '9' ? 1 : 0;
  const unicode::Decoded decoded = unicode::decodeAt(text, at);
  return unicode::isDecimalDigit(decoded.codePoint) ? decoded.length : 0;
}

bool isSeparator(char c) { return c == ' ' || c == '-'; }

// Whether the byte can belong to a run: an ASCII digit, a separator, or any byte of a multi-byte
// character (which may be a digit of another script).
bool mayBeInRun(char c) {
  return (c >= '0' && c <= '9') || isSeparator(c) || static_cast<unsigned char>(c) >= 0x80;
}

// False only when 'text' holds no run to mask; cheap, as log texts (the merchant's key above all)
// rarely hold one. A run of kMaskedFrom digits spans at least kMaskedFrom bytes, so only every
// kMaskedFrom-th byte is looked at, and around one that may belong to a run, the bytes that may:
// a run needs kMaskedFrom of them that are no separators.
bool mayHoldLongRun(std::string_view text) {
  std::size_t from = 0;  // no run to mask starts before 'from'
  while (text.size() - from >= kMaskedFrom) {
    const std::size_t probe = from + kMaskedFrom - 1;
    if (!mayBeInRun(text[probe])) {
      from = probe + 1;
      continue;
    }
    std::size_t begin = probe;
    while (begin > from && mayBeInRun(text[begin - 1])) --begin;
    std::size_t end = probe + 1;
    while (end < text.size() && mayBeInRun(text[end])) ++end;
    std::size_t digits = 0;
    for (std::size_t at = begin; at < end; ++at) digits += isSeparator(text[at]) ? 0 : 1;
    if (digits >= kMaskedFrom) return true;
    from = end;
  }
  return false;
}

// The run that starts with the digit of 'length' bytes at 'begin'.
Run runFrom(std::string_view text, std::size_t begin, std::size_t length) {
  Run run{begin, begin + length, 1};
  for (;;) {
    std::size_t at = run.end;
    if (at < text.size() && isSeparator(text[at])) ++at;
    const std::size_t digit = at < text.size() ? digitAt(text, at) : 0;
    if (digit == 0) return run;
    run.end = at + digit;
    ++run.digits;
  }
}

// Calls 'onRun' for each run of at least kMaskedFrom digits, in order.
template <typename OnRun>
void forEachLongRun(std::string_view text, OnRun&& onRun) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t digit = digitAt(text, at);
    if (digit == 0) {
      ++at;
      continue;
    }
    const Run run = runFrom(text, at, digit);
    if (run.digits >= kMaskedFrom) onRun(run);
    at = run.end;
  }
}

void appendMasked(std::string& out, std::string_view text, const Run& run) {
  const std::size_t head = run.digits >= kHeadKeptFrom ? kKeptHead : 0;
  const std::size_t tailFrom = run.digits - kKeptTail;
  std::size_t index = 0;
  for (std::size_t at = run.begin; at < run.end;) {
    const std::size_t digit = digitAt(text, at);
    if (digit == 0) {
      out += text[at++];  // a separator
      continue;
    }
    if (index < head || index >= tailFrom) {
      out.append(text.substr(at, digit));
    } else {
      out += '*';
    }
    at += digit;
    ++index;
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
