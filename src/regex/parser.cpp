#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "regex/classes.hpp"
#include "regex/syntax_tree.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore::regex {
namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool isHexDigit(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char32_t hexValue(char32_t c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

bool isAsciiAlphanumeric(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The escapes outside the subset, by their letter, with what they are.
std::optional<std::string> unsupportedEscape(char32_t letter) {
  switch (letter) {
    case 'b':
    case 'B':
      return "word boundary \\b or \\B";
    case 'A':
    case 'Z':
    case 'z':
    case 'G':
      return "anchor \\A, \\Z, \\z or \\G";
    case 'X':
      return "grapheme cluster \\X";
    case 'R':
      return "line break \\R";
    case 'h':
    case 'H':
    case 'v':
    case 'V':
      return "horizontal or vertical space class \\h, \\H, \\v or \\V";
    case 'N':
      return "named character \\N{...}";
    case 'k':
      return "named backreference \\k";
    case 'Q':
    case 'E':
      return "quoting \\Q...\\E";
    case 'c':
      return "control character escape \\c";
    case '0':
      return "octal escape \\0";
    default:
      break;
  }
  if (letter >= '1' && letter <= '9') return "backreference \\" + std::string(1, char(letter));
  return std::nullopt;
}

// The constructs that start with "(?" and are outside the subset.
std::string groupConstruct(char32_t next, char32_t afterNext) {
  switch (next) {
    case '=':
      return "lookahead (?=";
    case '!':
      return "negative lookahead (?!";
    case '>':
      return "atomic group (?>";
    case '#':
      return "comment (?#";
    case '<':
      if (afterNext == '=') return "lookbehind (?<=";
      if (afterNext == '!') return "negative lookbehind (?<!";
      return "named group (?<name>";
    default:
      return "inline flags (?flags)";
  }
}

Node nodeOf(NodeKind kind) {
  Node node;
  node.kind = kind;
  return node;
}

// What an escape stands for: one code point or a set.
using EscapeValue = std::variant<char32_t, CharSet>;

class Parser {
 public:
  Parser(std::string_view pattern, bool caseInsensitive) : caseInsensitive_(caseInsensitive) {
    if (!unicode::isValidUtf8(pattern)) fail("pattern that is not valid UTF-8", 0);
    for (std::size_t at = 0; at < pattern.size();) {
      const unicode::Decoded d = unicode::decodeAt(pattern, at);
      text_.push_back(d.codePoint);
      at += d.length;
    }
  }

  SyntaxTree run() {
    tree_.root = alternation();
    if (at_ < text_.size()) fail("unmatched ')'", at_);
    return std::move(tree_);
  }

 private:
  [[noreturn]] static void fail(const std::string& problem, std::size_t offset) {
    throw PatternError(problem, offset);
  }
  [[noreturn]] static void unsupported(const std::string& construct, std::size_t offset) {
    fail(construct + " is not supported", offset);
  }

  bool more() const { return at_ < text_.size(); }
  char32_t peek(std::size_t ahead = 0) const {
    return at_ + ahead < text_.size() ? text_[at_ + ahead] : 0;
  }
  bool take(char32_t c) {
    if (!more() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  std::uint32_t add(Node node) {
    tree_.nodes.push_back(std::move(node));
    return static_cast<std::uint32_t>(tree_.nodes.size() - 1);
  }
  std::uint32_t addLiteral(char32_t c) {
    Node node = nodeOf(NodeKind::literal);
    node.codePoint = c;
    return add(std::move(node));
  }
  std::uint32_t addSet(CharSet set) {
    setRanges_ += set.ranges().size();
    if (setRanges_ > kMaxSetRanges) {
      unsupported("pattern whose sets hold more than " + std::to_string(kMaxSetRanges) + " ranges",
                  at_);
    }
    tree_.sets.push_back(std::move(set));
    Node node = nodeOf(NodeKind::set);
    node.set = static_cast<std::uint32_t>(tree_.sets.size() - 1);
    return add(std::move(node));
  }
  // A set as ICU compiles it: one with a single member is that literal character (which then
  // joins the literal characters around it).
  std::uint32_t addClass(CharSet set) {
    if (const std::optional<char32_t> only = set.onlyMember()) return addLiteral(*only);
    return addSet(std::move(set));
  }
  std::uint32_t addParent(NodeKind kind, std::vector<std::uint32_t> children) {
    Node node = nodeOf(kind);
    node.children = std::move(children);
    return add(std::move(node));
  }

  std::uint32_t alternation() {
    std::vector<std::uint32_t> alternatives{sequence()};
    while (take('|')) alternatives.push_back(sequence());
    if (alternatives.size() == 1) return alternatives[0];
    return addParent(NodeKind::alternate, std::move(alternatives));
  }

  std::uint32_t sequence() {
    std::vector<std::uint32_t> items;
    while (more() && peek() != '|' && peek() != ')') items.push_back(quantified());
    if (items.empty()) return add(nodeOf(NodeKind::empty));
    if (items.size() == 1) return items[0];
    return addParent(NodeKind::concat, std::move(items));
  }

  std::uint32_t quantified() {
    const std::uint32_t item = atom();
    if (!more()) return item;
    const std::size_t start = at_;
    std::uint32_t min = 0;
    std::uint32_t max = 0;
    if (!quantifier(min, max)) return item;
    const NodeKind kind = tree_.nodes[item].kind;
    if (kind == NodeKind::begin || kind == NodeKind::end) unsupported("quantified anchor", start);
    Node node = nodeOf(NodeKind::repeat);
    node.offset = static_cast<std::uint32_t>(start);
    node.min = min;
    node.max = max;
    node.children = {item};
    if (take('?')) {
      node.greedy = false;
    } else if (peek() == '+') {
      unsupported("possessive quantifier", at_);
    }
    if (more() && isQuantifierStart(peek())) fail("quantifier without an operand", at_);
    return add(std::move(node));
  }

  static bool isQuantifierStart(char32_t c) { return c == '?' || c == '*' || c == '+' || c == '{'; }

  // Reads ?, *, + or an interval; false (reading nothing) when none starts here.
  bool quantifier(std::uint32_t& min, std::uint32_t& max) {
    switch (peek()) {
      case '?':
        ++at_, min = 0, max = 1;
        return true;
      case '*':
        ++at_, min = 0, max = kUnbounded;
        return true;
      case '+':
        ++at_, min = 1, max = kUnbounded;
        return true;
      case '{':
        interval(min, max);
        return true;
      default:
        return false;
    }
  }

  void interval(std::uint32_t& min, std::uint32_t& max) {
    const std::size_t start = at_++;
    min = count(start);
    max = min;
    if (take(',')) max = peek() == '}' ? kUnbounded : count(start);
    if (!take('}')) fail("malformed interval", at_);
    if (max < min) fail("interval whose maximum is below its minimum", start);
  }

  std::uint32_t count(std::size_t intervalStart) {
    if (!(peek() >= '0' && peek() <= '9')) fail("malformed interval", at_);
    std::uint64_t value = 0;
    while (peek() >= '0' && peek() <= '9') {
      value = value * 10 + (text_[at_++] - '0');
      if (value > kMaxRepetitionCount) {
        unsupported("repetition count above " + std::to_string(kMaxRepetitionCount), intervalStart);
      }
    }
    return static_cast<std::uint32_t>(value);
  }

  std::uint32_t atom() {
    const std::size_t start = at_;
    const char32_t c = text_[at_++];
    switch (c) {
      case '(':
        return group(start);
      case '*':
      case '+':
      case '?':
      case '{':
        fail("quantifier without an operand", start);
      case '}':
        fail("unmatched '}'", start);
      case '^':
        return add(nodeOf(NodeKind::begin));
      case '$':
        return add(nodeOf(NodeKind::end));
      case '.':
        return add(nodeOf(NodeKind::any));
      case '[':
        return bracket(start);
      case '\\':
        return escapeAtom(start);
      default:
        return addLiteral(c);
    }
  }

  std::uint32_t group(std::size_t start) {
    if (peek() == '?') {
      if (peek(1) != ':') unsupported(groupConstruct(peek(1), peek(2)), start);
      at_ += 2;
    }
    if (++depth_ > kMaxGroupNesting) {
      unsupported("nesting of groups deeper than " + std::to_string(kMaxGroupNesting), start);
    }
    const std::uint32_t inner = alternation();
    --depth_;
    if (!take(')')) fail("missing ')'", start);
    return addParent(NodeKind::group, {inner});
  }

  // An escape outside a set. The class escapes \d, \w, \s and their negations are not closed
  // over case; \p{} and \P{} are (before negating), as ICU compiles them.
  std::uint32_t escapeAtom(std::size_t start) {
    const char32_t letter = peek();
    const bool property = letter == 'p' || letter == 'P';
    EscapeValue value = escape(start);
    if (const char32_t* c = std::get_if<char32_t>(&value)) return addLiteral(*c);
    CharSet& set = std::get<CharSet>(value);
    if (property) return addClass(std::move(set));
    return addSet(std::move(set));
  }

  EscapeValue escape(std::size_t start) {
    if (!more()) fail("'\\' at the end of the pattern", start);
    const char32_t letter = text_[at_++];
    switch (letter) {
      case 'd':
        return digitClass();
      case 'D':
        return digitClass().complement();
      case 'w':
        return wordClass();
      case 'W':
        return wordClass().complement();
      case 's':
        return whiteSpaceClass();
      case 'S':
        return whiteSpaceClass().complement();
      case 'p':
      case 'P':
        return property(start, letter == 'P');
      case 't':
        return char32_t{'\t'};
      case 'n':
        return char32_t{'\n'};
      case 'r':
        return char32_t{'\r'};
      case 'f':
        return char32_t{'\f'};
      case 'e':
        return char32_t{0x1B};
      case 'a':
        return char32_t{0x07};
      case 'u':
        return codePoint(hexDigits(4, 4, start), start);
      case 'x':
        return hexEscape(start);
      default:
        break;
    }
    if (const std::optional<std::string> construct = unsupportedEscape(letter)) {
      unsupported(*construct, start);
    }
    if (letter < 0x7F && letter >= ' ' && !isAsciiAlphanumeric(letter)) return letter;
    unsupported("escape \\" + std::string(1, isAsciiAlphanumeric(letter) ? char(letter) : '?'),
                start);
  }

  char32_t hexEscape(std::size_t start) {
    if (!take('{')) return codePoint(hexDigits(1, 2, start), start);
    const char32_t value = codePoint(hexDigits(1, 6, start), start);
    if (!take('}')) fail("malformed \\x{...} escape", start);
    return value;
  }

  std::uint32_t hexDigits(std::size_t fewest, std::size_t most, std::size_t start) {
    std::uint32_t value = 0;
    std::size_t digits = 0;
    while (digits < most && isHexDigit(peek())) {
      value = value * 16 + hexValue(text_[at_++]);
      ++digits;
    }
    if (digits < fewest) fail("malformed hexadecimal escape", start);
    return value;
  }

  static char32_t codePoint(std::uint32_t value, std::size_t start) {
    if (value > kMaxCodePoint) fail("code point above U+10FFFF", start);
    if (isSurrogate(value)) unsupported("surrogate code point", start);
    return value;
  }

  CharSet property(std::size_t start, bool negated) {
    if (!take('{')) fail("property escape without '{'", start);
    const std::size_t nameStart = at_;
    while (more() && peek() != '}') {
      if (peek() >= 0x80) fail("malformed property name", at_);
      ++at_;
    }
    if (!more()) fail("property escape without '}'", start);
    const std::string name(text_.begin() + nameStart, text_.begin() + at_);
    ++at_;
    std::optional<CharSet> set = propertyClass(name);
    if (!set) unsupported("property \\p{" + name + "}", start);
    if (caseInsensitive_) *set = set->caseClosure();
    return negated ? set->complement() : *std::move(set);
  }

  // A bracket set: literals, ranges and escapes, optionally negated; no nested sets and no set
  // operations. With case-insensitive matching the members are closed over case before negating.
  std::uint32_t bracket(std::size_t start) {
    const bool negated = take('^');
    if (peek() == ':') unsupported("POSIX-like set [:...:]", start);
    CharSet set;
    bool afterLiteral = false;  // a "-" here makes a range from 'previous'
    char32_t previous = 0;
    for (bool first = true;; first = false) {
      if (!more()) fail("missing ']'", start);
      if (peek() == ']' && !first) break;
      setSyntaxCheck();
      if (peek() == '-' && afterLiteral && peek(1) != ']') {
        ++at_;
        range(set, previous);
        afterLiteral = false;
        continue;
      }
      EscapeValue item = setItem();
      afterLiteral = std::holds_alternative<char32_t>(item);
      if (afterLiteral) {
        previous = std::get<char32_t>(item);
        set.add(previous, previous);
      } else {
        set.add(std::get<CharSet>(item));
      }
    }
    ++at_;
    set.normalize();
    if (caseInsensitive_) set = set.caseClosure();
    return addClass(negated ? set.complement() : std::move(set));
  }

  void setSyntaxCheck() const {
    if (peek() == '[') unsupported("nested set", at_);
    if (peek() == '&' && peek(1) == '&') unsupported("set intersection &&", at_);
    if (peek() == '-' && peek(1) == '-') unsupported("set difference --", at_);
  }

  void range(CharSet& set, char32_t first) {
    const std::size_t at = at_;
    if (peek() == '[') unsupported("nested set", at_);
    EscapeValue item = setItem();
    const char32_t* last = std::get_if<char32_t>(&item);
    if (last == nullptr) fail("range that ends in a class", at);
    if (*last < first) fail("range out of order", at);
    set.add(first, *last);
  }

  EscapeValue setItem() {
    const std::size_t start = at_;
    const char32_t c = text_[at_++];
    if (c != '\\') return c;
    return escape(start);
  }

  std::vector<char32_t> text_;
  std::size_t at_ = 0;
  bool caseInsensitive_;
  std::size_t depth_ = 0;
  std::size_t setRanges_ = 0;
  SyntaxTree tree_;
};

}  // namespace

SyntaxTree parse(std::string_view pattern, bool caseInsensitive) {
  return Parser(pattern, caseInsensitive).run();
}

bool matchesEmpty(const SyntaxTree& tree, std::uint32_t node) {
  const Node& n = tree.nodes[node];
  switch (n.kind) {
    case NodeKind::literal:
    case NodeKind::set:
    case NodeKind::any:
      return false;
    case NodeKind::group:
      return matchesEmpty(tree, n.children[0]);
    case NodeKind::repeat:
      return n.min == 0 || matchesEmpty(tree, n.children[0]);
    case NodeKind::concat:
      for (const std::uint32_t child : n.children) {
        if (!matchesEmpty(tree, child)) return false;
      }
      return true;
    case NodeKind::alternate:
      for (const std::uint32_t child : n.children) {
        if (matchesEmpty(tree, child)) return true;
      }
      return false;
    default:
      return true;
  }
}

}  // namespace sdkcore::regex
