#include "json/scrubbed_json.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <system_error>

#include "base/wiped_text.hpp"

namespace sdkcore {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// 'c' moved 'step' places within its kind (digits, lower-case or upper-case ASCII letters),
// wrapping around; any other character as it is.
char rotated(char c, int step) {
  const auto within = [&](char first, int count) {
    return static_cast<char>(first + ((c - first) + step + count) % count);
  };
  if (isDigit(c)) return within('0', 10);
  if (c >= 'a' && c <= 'z') return within('a', 26);
  if (c >= 'A' && c <= 'Z') return within('A', 26);
  return c;
}

// Where the parts of a number token lie, read as the JSON grammar (and the parser) reads it:
// the longest prefix that can continue a number. 'valid' is false when the parser stops with an
// error inside it (a '-', '.' or exponent without the digit that must follow).
struct NumberToken {
  std::size_t end = 0;
  bool valid = false;
  bool isInteger = true;
  bool negativeExponent = false;
};

std::size_t skipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && isDigit(text[at])) ++at;
  return at;
}

NumberToken readNumber(std::string_view text, std::size_t at) {
  NumberToken token;
  if (text[at] == '-') ++at;
  token.end = at;
  if (at == text.size() || !isDigit(text[at])) return token;
  at = text[at] == '0' ? at + 1 : skipDigits(text, at);
  if (at < text.size() && text[at] == '.') {
    token.isInteger = false;
    token.end = ++at;
    if (at == text.size() || !isDigit(text[at])) return token;
    at = skipDigits(text, at);
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    token.isInteger = false;
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
      token.negativeExponent = text[at] == '-';
      ++at;
    }
    token.end = at;
    if (at == text.size() || !isDigit(text[at])) return token;
    at = skipDigits(text, at);
  }
  token.end = at;
  token.valid = true;
  return token;
}

// True when an integer literal lies outside what the parser reads as an integer (the signed
// 64-bit range below zero, the unsigned one from zero).
bool integerOutOfRange(std::string_view literal) {
  const bool negative = literal.front() == '-';
  const std::string_view digits = literal.substr(negative ? 1 : 0);
  const std::string_view limit = negative ? "9223372036854775808" : "18446744073709551615";
  return digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit);
}

// True when a valid number with a fraction or an exponent is too large for a double.
bool floatOverflows(std::string_view literal) {
  double value = 0;
  const auto [end, error] = std::from_chars(literal.data(), literal.data() + literal.size(), value);
  if (error != std::errc::result_out_of_range) return false;
  // Out of range either way: too large, or too small (which the parser takes as zero). Only the
  // decimal exponent tells them apart: where the first significant digit stands, plus the
  // exponent.
  const std::size_t exponentAt = literal.find_first_of("eE");
  const std::string_view mantissa = literal.substr(0, exponentAt);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;
  const long long position = static_cast<long long>(point) - static_cast<long long>(first);
  long long exponent = 0;
  if (exponentAt != std::string_view::npos) {
    std::string_view digits = literal.substr(exponentAt + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
      digits.remove_prefix(1);
    for (const char digit : digits) exponent = std::min(exponent * 10 + (digit - '0'), 1LL << 40);
    if (negative) exponent = -exponent;
  }
  return position + exponent > 0;
}

// Copies a text into its scrubbed form, one token at a time.
class Scrubber {
 public:
  Scrubber(std::string_view in, std::string& out) : in_(in), out_(out) {}

  // Returns the length of the longest token.
  std::size_t run() {
    while (at_ < in_.size()) {
      const char c = in_[at_];
      if (c == '"') {
        string();
      } else if (c == '-' || isDigit(c)) {
        number();
      } else {
        out_ += c;
        ++at_;
      }
    }
    return longest_;
  }

 private:
  // From the opening quote to the closing one, or to the end of the text.
  void string() {
    const std::size_t start = at_;
    out_ += in_[at_++];
    while (at_ < in_.size()) {
      const char c = in_[at_];
      if (c == '\\') {
        escape();
        continue;
      }
      out_ += rotated(c, 1);
      ++at_;
      if (c == '"') break;
    }
    longest_ = std::max(longest_, at_ - start);
  }

  // From a backslash: the escaped character as it is, but a \u escape of a letter or digit
  // rewritten for the scrubbed letter or digit. The hexadecimal digits of an incomplete \u escape
  // stay as they are, so that the parser stops at the same character.
  void escape() {
    out_ += in_[at_++];
    if (at_ == in_.size()) return;
    const char escaped = in_[at_++];
    out_ += escaped;
    if (escaped != 'u') return;
    std::size_t hexDigits = 0;
    while (hexDigits < 4 && at_ + hexDigits < in_.size() && isHexDigit(in_[at_ + hexDigits])) {
      ++hexDigits;
    }
    const std::string_view hex = in_.substr(at_, hexDigits);
    at_ += hexDigits;
    unsigned value = 0x80;
    if (hexDigits == 4) std::from_chars(hex.data(), hex.data() + 4, value, 16);
    const char ascii = value < 0x80 ? static_cast<char>(value) : '\0';
    if (rotated(ascii, 1) == ascii) {
      out_ += hex;
      return;
    }
    constexpr std::string_view kHex = "0123456789abcdef";
    const auto code = static_cast<unsigned char>(rotated(ascii, 1));
    out_ += "00";
    out_ += kHex[code >> 4];
    out_ += kHex[code & 0xf];
  }

  // A number token: its digits replaced so that the number keeps its shape, its kind and its
  // range. Numbers within range become no larger (1, then zeros; a negative exponent all nines),
  // numbers out of range no smaller (all nines; a negative exponent all zeros). A token the
  // parser stops inside keeps its shape.
  void number() {
    const std::size_t start = at_;
    const NumberToken token = readNumber(in_, at_);
    const std::string_view literal = in_.substr(start, token.end - start);
    const bool outOfRange =
        token.valid && (token.isInteger ? integerOutOfRange(literal) : floatOverflows(literal));
    bool inExponent = false;
    bool leading = true;
    for (const char c : literal) {
      if (c == 'e' || c == 'E') inExponent = true;
      if (!isDigit(c)) {
        out_ += c;
        continue;
      }
      out_ += scrubbedDigit(c, leading, inExponent, outOfRange, token.negativeExponent);
      leading = false;
    }
    at_ = token.end;
    longest_ = std::max(longest_, literal.size());
  }

  static char scrubbedDigit(char digit, bool leading, bool inExponent, bool outOfRange,
                            bool negativeExponent) {
    if (inExponent) return (negativeExponent != outOfRange) ? '9' : '0';
    if (leading && digit == '0') return '0';
    if (outOfRange) return '9';
    return leading ? '1' : '0';
  }

  std::string_view in_;
  std::string& out_;
  std::size_t at_ = 0;
  std::size_t longest_ = 0;
};

}  // namespace

ScrubbedJson::ScrubbedJson(std::string_view text) {
  // Exactly as long as the text: never grows, so no partial copy is left behind.
  text_.reserve(text.size());
  longestToken_ = Scrubber(text, text_).run();
}

ScrubbedJson::~ScrubbedJson() { wipe(text_); }

std::string unscrubbedName(std::string_view name) {
  std::string original(name);
  for (char& c : original) c = rotated(c, -1);
  return original;
}

}  // namespace sdkcore
