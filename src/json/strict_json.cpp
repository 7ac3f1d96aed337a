#include "json/strict_json.hpp"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <set>
#include <string_view>
#include <vector>

#include "base/wiped_text.hpp"
#include "json/scrubbed_json.hpp"

namespace sdkcore {
namespace {

using nlohmann::json;

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

// One open array or object while checking, for duplicate detection and for naming positions.
// Member names may be card data typed in the wrong place: they are wiped when the frame goes.
struct Frame {
  bool isObject = false;
  std::set<std::string> keys;  // member names seen so far (objects)
  std::string currentKey;      // the member whose value is being read (objects)
  std::size_t index = 0;       // elements completed so far (arrays)

  ~Frame() {
    wipe(currentKey);
    // The set is not searched again: its names may be overwritten in place.
    for (const std::string& key : keys) wipe(const_cast<std::string&>(key));
  }
};

// Checks a scrubbed text (see ScrubbedJson) by following the parser's events: nlohmann's parser
// keeps the last of duplicate members, has no depth limit and reads an integer literal beyond 64
// bits as a floating-point number, so those checks are made here. Every fault, its own or the
// parser's, is thrown as JsonInputError naming its position or member.
class Tracker {
 public:
  // 'read' counts the bytes of 'text' that the parser has read.
  Tracker(DefinedNames names, std::string_view text, const std::size_t* read)
      : names_(names), text_(text), read_(read) {
    // Never reallocated, so that no frame is moved and left behind in freed memory.
    frames_.reserve(kMaxJsonDepth + 1);
  }

  bool null() { return completeElement(); }
  bool boolean(bool) { return completeElement(); }
  bool number_integer(json::number_integer_t) { return completeElement(); }
  bool number_unsigned(json::number_unsigned_t) { return completeElement(); }
  bool number_float(json::number_float_t, const std::string& literal) {
    if (literal.find_first_of(".eE") == std::string::npos) throw outOfRange();
    return completeElement();
  }
  bool string(std::string&) { return completeElement(); }
  bool binary(json::binary_t&) { return completeElement(); }
  bool start_object(std::size_t) { return open(true); }
  bool start_array(std::size_t) { return open(false); }
  bool end_object() { return close(); }
  bool end_array() { return close(); }
  bool key(std::string& name) {
    onKey(unscrubbedName(name));
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const json::exception& error) {
    const auto* parseError = dynamic_cast<const json::parse_error*>(&error);
    // Else a number beyond the range of a double, such as 1e999.
    if (parseError == nullptr) throw outOfRange();
    throw malformed(parseError->what(), parseError->byte);
  }

 private:
  bool open(bool isObject) {
    if (frames_.size() >= static_cast<std::size_t>(kMaxJsonDepth)) {
      throw JsonInputError("JSON nesting deeper than " + std::to_string(kMaxJsonDepth) + " levels" +
                           here() + context());
    }
    frames_.emplace_back().isObject = isObject;
    inValue_ = false;
    return true;
  }

  bool close() {
    if (!frames_.empty()) frames_.pop_back();
    return completeElement();
  }

  void onKey(std::string name) {
    const WipeOnExit wipeName(name);
    Frame& frame = frames_.back();
    wipe(frame.currentKey);
    frame.currentKey = name;
    inValue_ = true;
    if (!frame.keys.insert(name).second) {
      const std::string what = member(frames_.size());
      // An unknown member is not named, so its position locates it.
      throw JsonInputError(what + " given twice" + (what.starts_with("member ") ? "" : here()));
    }
  }

  bool completeElement() {
    inValue_ = false;
    if (!frames_.empty() && !frames_.back().isObject) ++frames_.back().index;
    return true;
  }

  JsonInputError outOfRange() const {
    return JsonInputError("number out of range" + here() + context());
  }

  JsonInputError malformed(const std::string& what, std::size_t byte) const;

  // Where the parser stands, for an error the lexer found (such as invalid UTF-8).
  std::string context() const {
    if (frames_.empty()) return "";
    if (frames_.back().isObject && !inValue_) {
      return " (in a member name of " + member(frames_.size() - 1) + ")";
    }
    return " (in " + member(frames_.size()) + ")";
  }

  // " at <position>" of the last byte the parser read.
  std::string here() const {
    return " at " + positionText(text_, std::max<std::size_t>(*read_, 1));
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

JsonInputError Tracker::malformed(const std::string& what, std::size_t byte) const {
  const std::string reason = parseErrorReason(what);
  const std::string position = positionText(text_, byte);
  if (reason.find("ill-formed UTF-8") != std::string::npos) {
    return JsonInputError("invalid UTF-8 inside a string at " + position + context());
  }
  return JsonInputError("malformed JSON at " + position + ": " + reason);
}

// Throws JsonInputError for every fault of the scrubbed text, naming its position or member.
void checkStrictly(std::string_view scrubbed, DefinedNames names) {
  std::size_t read = 0;
  Tracker tracker(names, scrubbed, &read);
  json::sax_parse(CountingIterator(scrubbed.data(), &read),
                  CountingIterator(scrubbed.data() + scrubbed.size(), &read), &tracker,
                  json::input_format_t::json, /*strict=*/true, /*ignore_comments=*/false);
  // The lexer treats a NUL byte as the end of the input, so a value followed by a NUL parses
  // and whatever follows the NUL goes unread. A raw NUL is never valid JSON.
  if (const std::size_t nul = scrubbed.find('\0'); nul != std::string_view::npos) {
    throw JsonInputError("malformed JSON at " + positionText(scrubbed, nul + 1) +
                         ": NUL byte after the value");
  }
}

// Builds the tree of a text that checkStrictly() found valid. A tree left unfinished (memory
// exhausted) has its strings wiped.
class TreeBuilder {
 public:
  ~TreeBuilder() { wipeStrings(root_); }

  json take() { return std::move(root_); }

  bool null() { return add(nullptr); }
  bool boolean(bool value) { return add(value); }
  bool number_integer(json::number_integer_t value) { return add(value); }
  bool number_unsigned(json::number_unsigned_t value) { return add(value); }
  bool number_float(json::number_float_t value, const std::string&) { return add(value); }
  bool string(std::string& value) { return add(value); }
  bool binary(json::binary_t& value) { return add(json::binary(value)); }
  bool start_object(std::size_t) {
    open_.push_back(add(json::object()));
    return true;
  }
  bool start_array(std::size_t) {
    open_.push_back(add(json::array()));
    return true;
  }
  bool key(std::string& name) {
    member_ = &(*open_.back())[name];
    return true;
  }
  bool end_object() { return close(); }
  bool end_array() { return close(); }
  bool parse_error(std::size_t, const std::string&, const json::exception&) {
    throw JsonInputError("malformed JSON");
  }

 private:
  // Places 'value' where the parser stands and returns where it went.
  template <typename Value>
  json* add(Value&& value) {
    if (open_.empty()) {
      root_ = json(std::forward<Value>(value));
      return &root_;
    }
    json& container = *open_.back();
    if (container.is_array()) {
      container.push_back(json(std::forward<Value>(value)));
      return &container.back();
    }
    *member_ = json(std::forward<Value>(value));
    return member_;
  }

  bool close() {
    open_.pop_back();
    return true;
  }

  json root_;
  std::vector<json*> open_;
  json* member_ = nullptr;
};

// Every token the lexer reads starts at the front of its two scratch buffers, which grow as a
// token needs and are freed without being overwritten: a growth would leave the beginning of a
// token (card data, in a request) in a freed block, and the buffers keep the longest tokens. So
// the text is read as the middle element of `["<filler>",<text>\n,"<filler>"]`, with fillers as
// long as its longest token: the first makes the buffers large enough for every token of the
// text, the last overwrites all that they kept of them.
json parseChecked(std::string_view text, std::size_t longestToken) {
  constexpr std::string_view kOpen = "[\"", kBeforeText = "\",", kAfterText = "\n,\"",
                             kClose = "\"]";
  std::string wrapped;
  wrapped.reserve(kOpen.size() + kBeforeText.size() + text.size() + kAfterText.size() +
                  2 * longestToken + kClose.size());
  const WipeOnExit wipeWrapped(wrapped);
  wrapped.append(kOpen).append(longestToken, ' ').append(kBeforeText).append(text);
  wrapped.append(kAfterText).append(longestToken, ' ').append(kClose);
  TreeBuilder builder;
  json::sax_parse(wrapped.cbegin(), wrapped.cend(), &builder, json::input_format_t::json,
                  /*strict=*/true, /*ignore_comments=*/false);
  json parsed = builder.take();
  return std::move(parsed.at(1));
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
  // Faults are looked for in the scrubbed copy, so that a parse that fails never reads card data;
  // the text itself is parsed only once it is known to be valid.
  const ScrubbedJson scrubbed(text);
  checkStrictly(scrubbed.text(), names);
  return parseChecked(text, scrubbed.longestToken());
}

}  // namespace sdkcore
