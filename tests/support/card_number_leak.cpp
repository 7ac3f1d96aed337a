#include "support/card_number_leak.hpp"

#include "unicode/properties.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore::testing {
namespace {

// kLeakPan with each digit written by 'digit', and 'separator' after every fourth but the last.
template <typename Digit>
std::string written(Digit digit, std::string_view separator = {}) {
  std::string text;
  for (std::size_t i = 0; i < kLeakPan.size(); ++i) {
    if (i > 0 && i % 4 == 0) text += separator;
    text += digit(kLeakPan[i] - '0');
  }
  return text;
}

std::string ascii(int d) { return std::string(1, static_cast<char>('0' + d)); }
// U+FF10 + d and U+0660 + d in UTF-8.
std::string fullWidth(int d) { return {'\xEF', '\xBC', static_cast<char>(0x90 + d)}; }
std::string arabicIndic(int d) { return {'\xD9', static_cast<char>(0xA0 + d)}; }

PanForm form(std::string name, std::string text, std::string (*digit)(int)) {
  std::string lastFour;
  for (char c : kLeakPan.substr(kLeakPan.size() - 4)) lastFour += digit(c - '0');
  return {std::move(name), std::move(text), std::move(lastFour)};
}

// One character of a text as a reader sees it: an ASCII digit (the digits of the three scripts
// read as ASCII), a letter, or anything else. The escapes that log lines write for control and
// separator characters (\n, \r, \t, \0, \u{...}) are one character each, as the reader takes
// them.
struct ReadCharacter {
  char digit;  // '0'..'9', or 0 for no digit
  bool letter;
  std::size_t length;
};

std::size_t escapeLength(std::string_view text, std::size_t at) {
  if (text[at] != '\\' || at + 1 >= text.size()) return 0;
  const char next = text[at + 1];
  if (next == 'n' || next == 'r' || next == 't' || next == '0') return 2;
  if (next != 'u' || text.substr(at + 2, 1) != "{") return 0;
  const std::size_t close = text.find('}', at);
  return close == std::string_view::npos ? 0 : close + 1 - at;
}

ReadCharacter readAt(std::string_view text, std::size_t at) {
  if (const std::size_t escape = escapeLength(text, at)) return {0, false, escape};
  if (text.substr(at, 2) == "\xEF\xBC" && at + 2 < text.size() &&
      static_cast<unsigned char>(text[at + 2]) - 0x90U < 10) {
    return {static_cast<char>('0' + text[at + 2] - '\x90'), false, 3};
  }
  if (text[at] == '\xD9' && at + 1 < text.size() &&
      static_cast<unsigned char>(text[at + 1]) - 0xA0U < 10) {
    return {static_cast<char>('0' + text[at + 1] - '\xA0'), false, 2};
  }
  const unicode::Decoded decoded = unicode::decodeAt(text, at);
  if (decoded.codePoint >= '0' && decoded.codePoint <= '9') {
    return {static_cast<char>(decoded.codePoint), false, 1};
  }
  using unicode::GeneralCategory;
  const GeneralCategory category = unicode::generalCategory(decoded.codePoint);
  const bool letter = category >= GeneralCategory::Lu && category <= GeneralCategory::Lo;
  return {0, letter, decoded.length};
}

// 'text' with the digits of the three scripts in ASCII and every gap of up to three characters
// that are neither letters nor digits between two digits removed: the digits as a reader joins
// them. Any other character becomes one space or, for a letter, 'x'.
std::string normalized(std::string_view text) {
  std::string joined;
  std::size_t gap = 0;  // characters since the last digit, when they are all no letters
  bool afterDigit = false;
  for (std::size_t at = 0; at < text.size();) {
    const ReadCharacter c = readAt(text, at);
    at += c.length;
    if (c.digit != 0) {
      if (!afterDigit || gap > 3) joined += ' ';
      joined += c.digit;
      afterDigit = true;
      gap = 0;
    } else if (c.letter) {
      joined += 'x';
      afterDigit = false;
    } else {
      ++gap;
    }
  }
  return joined;
}

// kLeakPan in ASCII, split after 'at' digits by 'separator'.
PanForm splitAt(std::string name, std::size_t at, std::string_view separator) {
  const std::string pan(kLeakPan);
  return form(std::move(name), pan.substr(0, at) + std::string(separator) + pan.substr(at), ascii);
}

}  // namespace

const std::vector<PanForm>& panForms() {
  static const std::vector<PanForm> forms = {
      form("Ascii", written(ascii), ascii),
      form("FullWidth", written(fullWidth), fullWidth),
      form("ArabicIndic", written(arabicIndic), arabicIndic),
      form("Spaces", written(ascii, " "), ascii),
      form("Dashes", written(ascii, "-"), ascii),
      form("Dots", written(ascii, "."), ascii),
      form("Slashes", written(ascii, "/"), ascii),
      form("Underscores", written(ascii, "_"), ascii),
      form("Commas", written(ascii, ","), ascii),
      form("Parentheses", written(ascii, ") ("), ascii),
      form("TwoSpaces", written(ascii, "  "), ascii),
      form("Tabs", written(ascii, "\t"), ascii),
      form("SpaceDashSpace", written(ascii, " - "), ascii),
      form("LineFeeds", written(ascii, "\n"), ascii),
      form("NoBreakSpaces", written(ascii, "\u00A0"), ascii),
      form("FigureSpaces", written(ascii, "\u2007"), ascii),
      form("NarrowNoBreakSpaces", written(ascii, "\u202F"), ascii),
      form("ThinSpaces", written(ascii, "\u2009"), ascii),
      form("ZeroWidthJoiners", written(ascii, "\u200D"), ascii),
      splitAt("SixAndTenAroundADot", 6, "."),
      splitAt("EightAndEightAroundCrLf", 8, "\r\n"),
  };
  return forms;
}

bool showsPanDigits(std::string_view text, std::size_t count) {
  const std::string plain = normalized(text);
  for (std::size_t start = 0; start + count <= kLeakPan.size(); ++start) {
    if (plain.find(kLeakPan.substr(start, count)) != std::string::npos) return true;
  }
  return false;
}

}  // namespace sdkcore::testing
