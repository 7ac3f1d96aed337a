#include "json/strict_json.hpp"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "base/wiped_text.hpp"

namespace sdkcore {
namespace {

using nlohmann::json;

// One open array or object while parsing, for duplicate detection and for naming positions.
struct Frame {
  bool isObject = false;
  std::set<std::string> keys;  // member names seen so far (objects)
  std::string currentKey;      // the member whose value is being read (objects)
  std::size_t index = 0;       // elements completed so far (arrays)
};

// "line 2, column 5, byte offset 9" for the 1-based byte index nlohmann reports.
std::string positionText(std::string_view text, std::size_t byteIndex) {
  const std::size_t offset = std::min(byteIndex == 0 ? 0 : byteIndex - 1, text.size());
  const std::string_view before = text.substr(0, offset);
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t lineStart = before.rfind('\n');
  const std::size_t column = lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ", byte offset " +
         std::to_string(offset);
}

// An iterator over the text that counts the bytes the parser has read, so that a fault found in
// the parser's callback, which gets no position, can be placed.
class CountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator(const char* at, std::size_t* read) : at_(at), read_(read) {}
  reference operator*() const { return *at_; }
  CountingIterator& operator++() {
    ++at_;
    ++*read_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CountingIterator& other) const { return at_ == other.at_; }

 private:
  const char* at_;
  std::size_t* read_;
};

// Follows the parser's events. nlohmann's DOM parser keeps the last of duplicate members and has
// no depth limit, so both checks are made here, in the parser callback.
class Tracker {
 public:
  // 'enclosingLevels' levels of nesting around the text are not counted. 'read', when given,
  // counts the bytes of 'text' that the parser has read.
  Tracker(DefinedNames names, int enclosingLevels = 0, std::string_view text = {},
          const std::size_t* read = nullptr)
      : names_(names), depthLimit_(kMaxJsonDepth + enclosingLevels), text_(text), read_(read) {}

  bool onEvent(int depth, json::parse_event_t event, const json& parsed) {
    switch (event) {
      case json::parse_event_t::object_start:
      case json::parse_event_t::array_start:
        if (depth >= depthLimit_) {
          throw JsonInputError("JSON nesting deeper than " + std::to_string(kMaxJsonDepth) +
                               " levels" + here() + context());
        }
        frames_.push_back(Frame{event == json::parse_event_t::object_start, {}, {}, 0});
        inValue_ = false;
        break;
      case json::parse_event_t::key:
        onKey(parsed.get_ref<const std::string&>());
        break;
      case json::parse_event_t::value:
        completeElement();
        break;
      case json::parse_event_t::object_end:
      case json::parse_event_t::array_end:
        if (!frames_.empty()) frames_.pop_back();
        completeElement();
        break;
    }
    return true;
  }

  // Where the parser stands, for an error the lexer found (such as invalid UTF-8).
  std::string context() const {
    if (frames_.empty()) return "";
    if (frames_.back().isObject && !inValue_) {
      return " (in a member name of " + member(frames_.size() - 1) + ")";
    }
    return " (in " + member(frames_.size()) + ")";
  }

  // " at <position>" of the last byte the parser read, or "" when it is not counted.
  std::string here() const {
    return read_ == nullptr ? "" : " at " + positionText(text_, std::max<std::size_t>(*read_, 1));
  }

 private:
  void onKey(const std::string& key) {
    Frame& frame = frames_.back();
    frame.currentKey = key;
    inValue_ = true;
    if (!frame.keys.insert(key).second) {
      const std::string what = member(frames_.size());
      // An unknown member is not named, so its position locates it.
      throw JsonInputError(what + " given twice" + (what.starts_with("member ") ? "" : here()));
    }
  }

  void completeElement() {
    inValue_ = false;
    if (!frames_.empty() && !frames_.back().isObject) ++frames_.back().index;
  }

  bool defined(std::string_view name) const {
    return std::find(names_.begin(), names_.end(), name) != names_.end();
  }

  // The member of the first 'count' frames: `member "params.pan"` (or "items[2].id") while every
  // name on the way is defined, else `an unknown member of "params"`, naming the path up to the
  // first name that is not. No frame at all is "the top-level object".
  std::string member(std::size_t count) const {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) {
      const Frame& frame = frames_[i];
      if (!frame.isObject) {
        path += '[' + std::to_string(frame.index) + ']';
        continue;
      }
      if (!defined(frame.currentKey)) {
        return "an unknown member of " + (path.empty() ? "the top-level object" : quotedName(path));
      }
      if (!path.empty()) path += '.';
      path += frame.currentKey;
    }
    return path.empty() ? "the top-level object" : "member " + quotedName(path);
  }

  DefinedNames names_;
  int depthLimit_;
  std::string_view text_;
  const std::size_t* read_;
  std::vector<Frame> frames_;
  bool inValue_ = false;  // a member name was read and its value is being read
};

// What nlohmann's messages name as the expected token, always at their very end after
// "; expected ".
constexpr std::string_view kExpectedTokens[] = {"true literal",
                                                "false literal",
                                                "null literal",
                                                "string literal",
                                                "number literal",
                                                "'['",
                                                "'{'",
                                                "']'",
                                                "'}'",
                                                "':'",
                                                "','",
                                                "end of input",
                                                "'[', '{', or a literal"};

// The reason of nlohmann's message without its prefix and without the "last read" excerpt,
// which would copy bytes of the request (card data) into the message. The excerpt may itself
// hold "; expected ", so the expected token is recognised only as one of the names above.
std::string parseErrorReason(const std::string& what) {
  std::string reason = what;
  const std::size_t colon = reason.find(": ");
  if (colon != std::string::npos) reason.erase(0, colon + 2);
  const std::size_t lastRead = reason.find("; last read: '");
  if (lastRead == std::string::npos) return reason;
  std::string expected;
  for (const std::string_view token : kExpectedTokens) {
    const std::string tail = "; expected " + std::string(token);
    if (reason.ends_with(tail)) expected = tail;
  }
  reason.erase(lastRead);
  return reason + expected;
}

template <typename Iterator>
json parseTracked(Iterator begin, Iterator end, Tracker& tracker) {
  return json::parse(
      begin, end,
      [&tracker](int depth, json::parse_event_t event, json& parsed) {
        return tracker.onEvent(depth, event, parsed);
      },
      /*allow_exceptions=*/true, /*ignore_comments=*/false);
}

// Parses 'text' and throws JsonInputError for every fault, naming its position or member.
json parseReportingFaults(std::string_view text, DefinedNames names) {
  std::size_t read = 0;
  Tracker tracker(names, 0, text, &read);
  try {
    json parsed = parseTracked(CountingIterator(text.data(), &read),
                               CountingIterator(text.data() + text.size(), &read), tracker);
    // The lexer treats a NUL byte as the end of the input, so a value followed by a NUL parses
    // and whatever follows the NUL goes unread. A raw NUL is never valid JSON.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
      throw JsonInputError("malformed JSON at " + positionText(text, nul + 1) +
                           ": NUL byte after the value");
    }
    return parsed;
  } catch (const json::parse_error& error) {
    const std::string reason = parseErrorReason(error.what());
    const std::string position = positionText(text, error.byte);
    if (reason.find("ill-formed UTF-8") != std::string::npos) {
      throw JsonInputError("invalid UTF-8 inside a string at " + position + tracker.context());
    }
    throw JsonInputError("malformed JSON at " + position + ": " + reason);
  } catch (const json::out_of_range&) {
    // A number beyond the range of a double, such as 1e999; nlohmann gives no position for it.
    throw JsonInputError("number out of range" + tracker.here() + tracker.context());
  }
}

// Every token the lexer reads starts at the front of its two scratch buffers, which it frees
// without overwriting them, so the longest recent tokens (card data, in a request) would stay
// there. Read as the first element of `[<text>\n,"<filler>"]`, the text is followed by a token
// that overwrites the first kOverwrittenScratch bytes: any real card number, security code,
// expiry date or holder name many times over, even written with \u escapes. Returns nullopt when
// 'text' is not exactly one value that passes every check.
constexpr std::size_t kOverwrittenScratch = 256;

std::optional<json> parseOverwritingScratch(std::string_view text, DefinedNames names) {
  constexpr std::string_view kOpen = "[", kSeparator = "\n,\"", kClose = "\"]";
  const std::size_t filler = std::min(text.size(), kOverwrittenScratch);
  std::string wrapped;
  wrapped.reserve(kOpen.size() + text.size() + kSeparator.size() + filler + kClose.size());
  const WipeOnExit wipeWrapped(wrapped);
  wrapped.append(kOpen).append(text).append(kSeparator).append(filler, ' ').append(kClose);
  Tracker tracker(names, /*enclosingLevels=*/1);
  try {
    json parsed = parseTracked(wrapped.cbegin(), wrapped.cend(), tracker);
    if (parsed.size() != 2 || text.find('\0') != std::string_view::npos) return std::nullopt;
    return std::move(parsed[0]);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

void wipeStrings(nlohmann::json& value) noexcept {
  if (value.is_string()) return wipe(value.get_ref<std::string&>());
  // Parsed trees are at most kMaxJsonDepth deep, so the recursion is bounded.
  if (value.is_structured()) {
    for (json& element : value) wipeStrings(element);
  }
}

std::string quotedName(std::string_view name) {
  return json(std::string(name)).dump(-1, ' ', false, json::error_handler_t::replace);
}

nlohmann::json parseStrictJson(std::string_view text, DefinedNames names) {
  if (std::optional<json> value = parseOverwritingScratch(text, names)) return *std::move(value);
  // Faults are rare: they are described from a parse of the text alone.
  return parseReportingFaults(text, names);
}

}  // namespace sdkcore
