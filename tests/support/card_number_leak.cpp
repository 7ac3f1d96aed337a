#include "support/card_number_leak.hpp"

#include <cctype>

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

// 'text' with the digits of the three scripts in ASCII and the single spaces and dashes between
// two digits removed.
std::string normalized(std::string_view text) {
  std::string ascii;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 2) == "\xEF\xBC" && i + 2 < text.size() &&
        static_cast<unsigned char>(text[i + 2]) - 0x90U < 10) {
      ascii += static_cast<char>('0' + text[i + 2] - '\x90');
      i += 2;
    } else if (text[i] == '\xD9' && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) - 0xA0U < 10) {
      ascii += static_cast<char>('0' + text[i + 1] - '\xA0');
      i += 1;
    } else {
      ascii += text[i];
    }
  }
  std::string joined;
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    const bool separator = ascii[i] == ' ' || ascii[i] == '-';
    const auto digit = [&](std::size_t at) {
      return std::isdigit(static_cast<unsigned char>(ascii[at])) != 0;
    };
    const bool betweenDigits = i > 0 && i + 1 < ascii.size() && digit(i - 1) && digit(i + 1);
    if (!(separator && betweenDigits)) joined += ascii[i];
  }
  return joined;
}

}  // namespace

const std::vector<PanForm>& panForms() {
  static const std::vector<PanForm> forms = {
      form("Ascii", written(ascii), ascii),
      form("FullWidth", written(fullWidth), fullWidth),
      form("ArabicIndic", written(arabicIndic), arabicIndic),
      form("Spaces", written(ascii, " "), ascii),
      form("Dashes", written(ascii, "-"), ascii),
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
