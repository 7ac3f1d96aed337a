// The pattern engine against ICU, its referee: from the input, a pattern of the supported subset
// (from a grammar, so that most inputs give a valid one) and a text mixing ASCII, other scripts'
// letters and digits, case-folding oddities, line terminators and ill-formed UTF-8. findIn and
// replaceAll, with and without case, must give ICU's answers.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "regex/icu_referee.hpp"
#include "sdkcore/regex.hpp"

namespace {

using sdkcore::RegexOptions;
using sdkcore::testing::IcuReferee;

// Characters for literals and set members: ASCII with case, the letters whose case variants
// are not ASCII (K and the Kelvin sign, s and the long s), ß and other characters whose full
// case folding is several, digits of other scripts, a combining accent, Greek sigma.
constexpr std::array<std::string_view, 30> kLiterals{
    "a",
    "b",
    "s",
    "S",
    "k",
    "K",
    "z",
    "1",
    "9",
    "_",
    "-",
    " ",
    "'",
    "@",
    "\xC3\x9F",      // ß
    "\xE1\xBA\x9E",  // ẞ
    "\xC5\xBF",      // ſ
    "\xE2\x84\xAA",  // Kelvin sign
    "\xC3\xA9",      // é
    "\xC3\x89",      // É
    "\xD9\xA1",      // Arabic-Indic one
    "\xEF\xAC\x86",  // ﬆ
    "\xC5\x89",      // ŉ
    "\xCA\xBC",      // ʼ
    "\xC4\xB0",      // İ
    "\xCF\x83",      // σ
    "\xCF\x82",      // ς
    "\xCE\xA3",      // Σ
    "\xE1\xBE\xB3",  // ᾳ
    "\xCE\xB9",      // ι
};

constexpr std::array<std::string_view, 14> kEscapes{"\\d", "\\D",     "\\w",     "\\W",  "\\s",
                                                    "\\S", "\\.",     "\\*",     "\\\\", "\\t",
                                                    "\\n", "\\x{DF}", "\\u0073", "\\r"};

constexpr std::array<std::string_view, 12> kProperties{
    "\\p{Lu}",          "\\p{Ll}",         "\\P{Lu}",     "\\p{L}",  "\\p{Nd}", "\\P{N}",
    "\\p{White_Space}", "\\p{Alphabetic}", "\\p{Letter}", "\\p{Mn}", "\\p{Zl}", "\\p{P}"};

// Text pieces: ASCII, the characters above, more digits and marks, every line terminator, and
// ill-formed sequences (a stray byte, a truncated sequence, a surrogate, a value above U+10FFFF).
constexpr std::array<std::string_view, 32> kTextPieces{"a",
                                                       "b",
                                                       "s",
                                                       "S",
                                                       "k",
                                                       "K",
                                                       "ss",
                                                       "SS",
                                                       "1",
                                                       " ",
                                                       ".",
                                                       "-",
                                                       "\n",
                                                       "\r",
                                                       "\r\n",
                                                       "\v",
                                                       "\f",
                                                       "\xC2\x85",
                                                       "\xE2\x80\xA8",
                                                       "\xE2\x80\xA9",
                                                       "\xC2\xA0",
                                                       "\xEF\xBC\x91",
                                                       "e\xCC\x81",
                                                       "\xE2\x80\x8D",
                                                       "\xEF\xBF\xBD",
                                                       "\xFF",
                                                       "\xE2\x82",
                                                       "\xED\xA0\x80",
                                                       "\xF4\x90\x80\x80",
                                                       "\xF0\x9F\x98\x80",
                                                       "st",
                                                       "\xCA\xBCn"};

class PatternWriter {
 public:
  explicit PatternWriter(FuzzedDataProvider& input) : input_(input) {}

  std::string alternation(int depth) {
    std::string out = sequence(depth);
    while (input_.remaining_bytes() > 0 && input_.ConsumeIntegralInRange(0, 5) == 0) {
      out += '|' + sequence(depth);
    }
    return out;
  }

 private:
  std::string sequence(int depth) {
    std::string out;
    const int items = input_.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < items; ++i) out += item(depth);
    return out;
  }

  std::string item(int depth) {
    const int kind = input_.ConsumeIntegralInRange(0, 15);
    if (kind == 0) return "^";
    if (kind == 1) return "$";
    return atom(kind, depth) + quantifier();
  }

  std::string atom(int kind, int depth) {
    switch (kind) {
      case 2:
        return ".";
      case 3:
        return pick(kEscapes);
      case 4:
        return pick(kProperties);
      case 5:
      case 6:
        return bracket();
      case 7:
        if (depth > 0) return "(" + alternation(depth - 1) + ")";
        return "a";
      case 8:
        if (depth > 0) return "(?:" + alternation(depth - 1) + ")";
        return "b";
      default:
        return pick(kLiterals);
    }
  }

  std::string quantifier() {
    static constexpr std::array<std::string_view, 12> kQuantifiers{
        "", "", "", "", "?", "*", "+", "{2}", "{0,2}", "{1,}", "{2,3}", "{2,}"};
    std::string out(pick(kQuantifiers));
    if (!out.empty() && input_.ConsumeIntegralInRange(0, 3) == 0) out += '?';
    return out;
  }

  std::string bracket() {
    std::string out = input_.ConsumeBool() ? "[^" : "[";
    const int members = input_.ConsumeIntegralInRange(1, 3);
    for (int i = 0; i < members; ++i) {
      switch (input_.ConsumeIntegralInRange(0, 4)) {
        case 0:
          out += pick(kEscapes);
          break;
        case 1:
          out += pick(kProperties);
          break;
        case 2:
          out += pick(kLiterals) + "-" + std::string(pick(kLiterals));
          break;
        default:
          out += pick(kLiterals);
      }
    }
    return out + "]";
  }

  template <std::size_t N>
  std::string pick(const std::array<std::string_view, N>& choices) {
    return std::string(choices[input_.ConsumeIntegralInRange<std::size_t>(0, N - 1)]);
  }

  FuzzedDataProvider& input_;
};

std::string textFrom(FuzzedDataProvider& input) {
  std::string text;
  const int pieces = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < pieces && input.remaining_bytes() > 0; ++i) {
    text += kTextPieces[input.ConsumeIntegralInRange<std::size_t>(0, kTextPieces.size() - 1)];
  }
  return text;
}

void compare(const std::string& pattern, bool caseInsensitive, const std::string& text) {
  std::optional<sdkcore::Regex> ours;
  try {
    ours = sdkcore::toRegex(pattern,
                            caseInsensitive ? RegexOptions::caseInsensitive : RegexOptions::none);
  } catch (const std::invalid_argument&) {
    return;  // outside the subset, or invalid: nothing to compare
  }
  const std::optional<IcuReferee> icu = IcuReferee::compile(pattern, caseInsensitive);
  if (!icu) std::fprintf(stderr, "ICU refuses /%s/ (i=%d)\n", pattern.c_str(), caseInsensitive);
  SDKCORE_FUZZ_CHECK(icu.has_value());
  const std::optional<bool> found = icu->findIn(text);
  const std::optional<std::string> replaced = icu->replaceAll(text, "<>");
  if (!found || !replaced) return;  // ICU gave up
  const bool ourFound = ours->findIn(text);
  const std::string ourReplaced = ours->replaceAll(text, "<>");
  if (ourFound != *found || ourReplaced != *replaced) {
    std::fprintf(stderr, "/%s/ (i=%d) on \"%s\": found %d, ICU %d; replaced \"%s\", ICU \"%s\"\n",
                 pattern.c_str(), caseInsensitive, text.c_str(), ourFound, *found,
                 ourReplaced.c_str(), replaced->c_str());
  }
  SDKCORE_FUZZ_CHECK(ourFound == *found);
  SDKCORE_FUZZ_CHECK(ourReplaced == *replaced);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string pattern = PatternWriter(input).alternation(2);
  const std::string text = textFrom(input);
  compare(pattern, false, text);
  compare(pattern, true, text);
  return 0;
}
