#include "unicode/grapheme.hpp"

#include <array>
#include <cstdint>
#include <initializer_list>

#include "unicode/character_record.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore::unicode {
namespace {

using detail::CharacterRecord;
using Break = GraphemeClusterBreak;

constexpr std::uint16_t bit(Break b) noexcept { return std::uint16_t(1u << unsigned(b)); }

constexpr std::uint16_t bits(std::initializer_list<Break> breaks) noexcept {
  std::uint16_t set = 0;
  for (const Break b : breaks) set |= bit(b);
  return set;
}

// For each class, the classes that stay in its character when they follow it, by the rules that
// look at the pair alone (GB3 to GB9b of UAX #29).
constexpr std::array<std::uint16_t, 14> kJoinsAfter = [] {
  std::array<std::uint16_t, 14> joins{};
  for (auto& set : joins) set = bits({Break::Extend, Break::ZWJ, Break::SpacingMark});
  joins[unsigned(Break::CR)] = bit(Break::LF);
  joins[unsigned(Break::LF)] = joins[unsigned(Break::Control)] = 0;
  joins[unsigned(Break::Prepend)] = std::uint16_t(~bits({Break::CR, Break::LF, Break::Control}));
  joins[unsigned(Break::L)] |= bits({Break::L, Break::V, Break::LV, Break::LVT});
  joins[unsigned(Break::V)] |= bits({Break::V, Break::T});
  joins[unsigned(Break::LV)] |= bits({Break::V, Break::T});
  joins[unsigned(Break::T)] |= bit(Break::T);
  joins[unsigned(Break::LVT)] |= bit(Break::T);
  return joins;
}();

// Where a character stands in the sequences that the rules match over more than a pair.
enum class Emoji : std::uint8_t { None, Pictograph, PictographZwj };  // ExtPict Extend* (ZWJ)
enum class Conjunct : std::uint8_t { None, Consonant, Linked };  // consonant marks* (virama marks*)

struct ClusterState {
  Break previous;
  bool oddRegional;  // an odd number of regional indicators end here
  Emoji emoji;
  Conjunct conjunct;
};

Emoji nextEmoji(Emoji emoji, CharacterRecord r) noexcept {
  if (r.pictographic()) return Emoji::Pictograph;
  if (emoji != Emoji::Pictograph) return Emoji::None;
  const Break b = r.graphemeBreak();
  return b == Break::Extend ? Emoji::Pictograph
         : b == Break::ZWJ  ? Emoji::PictographZwj
                            : Emoji::None;
}

Conjunct nextConjunct(Conjunct conjunct, CharacterRecord r) noexcept {
  switch (r.conjunctBreak()) {
    case IndicConjunctBreak::Consonant:
      return Conjunct::Consonant;
    case IndicConjunctBreak::Linker:
      return conjunct == Conjunct::None ? Conjunct::None : Conjunct::Linked;
    case IndicConjunctBreak::Extend:
      return conjunct;
    case IndicConjunctBreak::None:
      break;
  }
  return Conjunct::None;
}

ClusterState startCluster(CharacterRecord r) noexcept {
  const Break b = r.graphemeBreak();
  return {b, b == Break::RegionalIndicator, nextEmoji(Emoji::None, r),
          nextConjunct(Conjunct::None, r)};
}

// Whether the character 'r' stays in the character that 'state' describes; moves the state on.
bool continues(ClusterState& state, CharacterRecord r) noexcept {
  const Break b = r.graphemeBreak();
  const bool joins = (kJoinsAfter[unsigned(state.previous)] & bit(b)) != 0 ||
                     (b == Break::RegionalIndicator && state.oddRegional) ||       // GB12, GB13
                     (r.pictographic() && state.emoji == Emoji::PictographZwj) ||  // GB11
                     (r.conjunctBreak() == IndicConjunctBreak::Consonant &&  // ICU's conjuncts
                      state.conjunct == Conjunct::Linked);
  state.oddRegional = b == Break::RegionalIndicator && !state.oddRegional;
  state.previous = b;
  state.emoji = nextEmoji(state.emoji, r);
  state.conjunct = nextConjunct(state.conjunct, r);
  return joins;
}

// True when an ASCII character may stay in the character of one of class 'previous' (GB3, GB9b).
bool asciiMayJoin(Break previous) noexcept {
  return previous == Break::Prepend || previous == Break::CR;
}

// The end of the character that starts at byte 'at' of 'text'.
std::size_t characterEnd(std::string_view text, std::size_t at) noexcept {
  Decoded d = decodeAt(text, at);
  ClusterState state = startCluster(detail::characterRecord(d.codePoint));
  for (at += d.length; at < text.size(); at += d.length) {
    if (static_cast<unsigned char>(text[at]) < 0x80 && !asciiMayJoin(state.previous)) break;
    d = decodeAt(text, at);
    if (!continues(state, detail::characterRecord(d.codePoint))) break;
  }
  return at;
}

}  // namespace

GraphemeBreaker::GraphemeBreaker(std::string_view text) noexcept : text_(text) {}

std::size_t GraphemeBreaker::next() noexcept {
  const std::size_t size = text_.size();
  if (at_ >= size) return std::string_view::npos;
  // Between two ASCII characters the only rule that joins is CR LF's.
  const auto first = static_cast<unsigned char>(text_[at_]);
  if (first < 0x80) {
    if (at_ + 1 == size) return at_ = size;
    const auto second = static_cast<unsigned char>(text_[at_ + 1]);
    if (second < 0x80) return at_ += first == '\r' && second == '\n' ? 2 : 1;
  }
  return at_ = characterEnd(text_, at_);
}

std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
  std::vector<std::size_t> boundaries{0};
  GraphemeBreaker breaker(text);
  for (std::size_t at = breaker.next(); at != std::string_view::npos; at = breaker.next()) {
    boundaries.push_back(at);
  }
  return boundaries;
}

}  // namespace sdkcore::unicode
