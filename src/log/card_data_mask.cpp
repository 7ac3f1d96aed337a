#include "log/card_data_mask.hpp"

#include <array>
#include <cstdint>

#include "text/unicode_text.hpp"

namespace sdkcore {
namespace {

// The first 6 characters are kept only while at least 6 stay hidden, as a Luhn check digit among
// few hidden ones would make them guessable; the last 4 only from 8 characters on.
constexpr std::int64_t kKeptHead = 6;
constexpr std::int64_t kKeptTail = 4;
constexpr std::int64_t kHeadKeptFrom = 16;
constexpr std::int64_t kTailKeptFrom = 8;

// What masking needs to know of a text, gathered in one pass over its character boundaries
// (offsets in any code unit): the number of characters, where the first 6 end and where the last
// 4 begin.
class MaskLayout {
 public:
  // Takes the next boundary; the first is 0.
  void add(std::int64_t at) {
    if (boundaries_ == kKeptHead) headEnd_ = at;
    recent_[static_cast<std::size_t>(boundaries_) % recent_.size()] = at;
    ++boundaries_;
  }

  std::int64_t characters() const { return boundaries_ - 1; }
  std::int64_t keptHead() const { return characters() >= kHeadKeptFrom ? kKeptHead : 0; }
  std::int64_t keptTail() const { return characters() >= kTailKeptFrom ? kKeptTail : 0; }
  std::int64_t headEnd() const { return headEnd_; }
  std::int64_t tailBegin() const { return boundaryFromEnd(kKeptTail); }
  std::int64_t end() const { return boundaryFromEnd(0); }

 private:
  std::int64_t boundaryFromEnd(std::int64_t back) const {
    const auto index = static_cast<std::size_t>(characters() - back);
    return recent_[index % recent_.size()];
  }

  std::int64_t boundaries_ = 0;
  std::int64_t headEnd_ = 0;
  std::array<std::int64_t, kKeptTail + 1> recent_{};  // the last boundaries, by index mod 5
};

// The kept head, one "*" per hidden character, and the kept tail; 'slice(from, to)' returns the
// UTF-8 text between two boundaries.
template <typename Slice>
std::string masked(const MaskLayout& layout, Slice slice) {
  const std::int64_t head = layout.keptHead();
  const std::int64_t tail = layout.keptTail();
  std::string result = head > 0 ? slice(0, layout.headEnd()) : std::string();
  result.append(static_cast<std::size_t>(layout.characters() - head - tail), '*');
  if (tail > 0) result += slice(layout.tailBegin(), layout.end());
  return result;
}

// ASCII needs no segmentation: every byte is a character, except that CR LF is one.
std::string maskAscii(std::string_view pan) {
  MaskLayout layout;
  layout.add(0);
  for (std::size_t at = 0; at < pan.size();) {
    at += pan[at] == '\r' && at + 1 < pan.size() && pan[at + 1] == '\n' ? 2 : 1;
    layout.add(static_cast<std::int64_t>(at));
  }
  return masked(layout, [pan](std::int64_t from, std::int64_t to) {
    return std::string(
        pan.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
  });
}

std::string maskUnicode(std::string_view pan) {
  MaskLayout layout;
  forEachCharacterBoundary(pan, [&layout](std::size_t at) {
    layout.add(static_cast<std::int64_t>(at));
  });
  return masked(layout, [pan](std::int64_t from, std::int64_t to) {
    return toValidUtf8(
        pan.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
  });
}

}  // namespace

std::string maskCardNumber(std::string_view pan) {
  return isAscii(pan) ? maskAscii(pan) : maskUnicode(pan);
}

std::string maskSecurityCode(std::string_view cvc) {
  return std::string(static_cast<std::size_t>(characterCount(cvc)), '*');
}

}  // namespace sdkcore
