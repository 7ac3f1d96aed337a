#include "json/strict_json.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace sdkcore {
namespace {

struct RejectCase {
  std::string name;
  std::string text;
  std::string messagePart;  // the message must contain this
  friend void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }
};

class StrictJsonRejects : public ::testing::TestWithParam<RejectCase> {};

// The names the inputs below define; any other name is described, never repeated.
constexpr std::string_view kNames[] = {"a", "params", "pan", "cvc", "x", "timestamp"};

TEST_P(StrictJsonRejects, NamesTheProblem) {
  const RejectCase& c = GetParam();
  try {
    parseStrictJson(c.text, kNames);
    FAIL() << "accepted " << c.text;
  } catch (const JsonInputError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find(c.messagePart), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

std::string nested(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::string nestedObjects(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "{\"a\": ";
  return text + "1" + std::string(depth, '}');
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrictJsonRejects,
    ::testing::Values(
        RejectCase{"Duplicate", R"({"a": 1, "a": 2})", "member \"a\" given twice"},
        RejectCase{"NestedDuplicate", R"({"params": {"pan": "1", "cvc": "2", "pan": "3"}})",
                   "member \"params.pan\" given twice"},
        RejectCase{"DuplicateWrittenWithEscapes", R"({"params": {"pan": "1", "p\u0061n": "2"}})",
                   "member \"params.pan\" given twice"},
        RejectCase{"DuplicateInArrayElement", R"([{"x": 1}, {"x": 1, "x": 2}])",
                   "member \"[1].x\" given twice"},
        RejectCase{"TooDeep", nested(65), "deeper than 64 levels"},
        RejectCase{"TooDeepObjects", nestedObjects(70),
                   "deeper than 64 levels at line 1, column 385, byte offset 384 (in member "
                   "\"a.a.a"},
        RejectCase{
            "UnknownDuplicate", R"({"params": {"pan": "1", "y": 1, "y": 2}})",
            "an unknown member of \"params\" given twice at line 1, column 35, byte offset 34"},
        RejectCase{"UnknownTopLevelDuplicate", R"({"y": 1, "y": 2})",
                   "an unknown member of the top-level object given twice at line 1"},
        RejectCase{"KnownNameUnderUnknown", R"({"y": {"a": 1, "a": 2}})",
                   "an unknown member of the top-level object given twice"},
        RejectCase{"InvalidUtf8UnderUnknown", "{\"params\": {\"y\": \"\xff\"}}",
                   "(in an unknown member of \"params\")"},
        RejectCase{"InvalidUtf8InValue", "{\"params\": {\"pan\": \"41\xff\"}}",
                   "invalid UTF-8 inside a string at line 1, column 23, byte offset 22 (in member "
                   "\"params.pan\")"},
        RejectCase{"InvalidUtf8InKey", "{\"a\": 1, \"b\xc3\": 2}", "in a member name"},
        RejectCase{"OverlongUtf8", "[\"\xc0\xaf\"]", "invalid UTF-8"},
        RejectCase{"EncodedSurrogate", "[\"\xed\xa0\x80\"]", "invalid UTF-8"},
        RejectCase{"Truncated", R"({"a": [1, 2)", "malformed JSON at line 1, column 12"},
        RejectCase{"SecondLine", "{\n  \"a\" 1}",
                   "malformed JSON at line 2, column 7, byte offset 8"},
        RejectCase{"TrailingContent", R"({"a": 1} x)", "expected end of input"},
        RejectCase{"TwoValues", R"(1, "x")", "expected end of input"},
        RejectCase{"UnterminatedString", R"("abc)", "malformed JSON"},
        RejectCase{"Empty", "", "malformed JSON at line 1, column 1"},
        RejectCase{"Comment", "{/* c */}", "malformed JSON"},
        RejectCase{"TrailingComma", R"({"a": 1,})", "malformed JSON"},
        RejectCase{"RawControlCharacter", "[\"a\tb\"]", "malformed JSON"},
        RejectCase{"NumberOutOfRange", R"({"timestamp": 1e999})",
                   "number out of range at line 1, column 20, byte offset 19 (in member "
                   "\"timestamp\")"},
        // Read as floating-point numbers, these would round to the nearest 64-bit integer.
        RejectCase{"IntegerBelowTheSignedRange", R"({"a": -9223372036854775809})",
                   "number out of range at line 1, column 27, byte offset 26 (in member \"a\")"},
        RejectCase{"IntegerAboveTheUnsignedRange", R"([18446744073709551616])",
                   "number out of range"},
        RejectCase{"LoneSurrogateEscape", R"(["\ud800"])", "malformed JSON"},
        // The parser takes a NUL byte for the end of the input, which would let anything after
        // it through unread.
        RejectCase{"NulAfterTheValue", std::string("{\"a\": 1}\0{\"b\": 2}", 18),
                   "malformed JSON at line 1, column 9, byte offset 8: NUL byte"},
        RejectCase{"NulAtTheEnd", std::string("[1]\0", 4), "byte offset 3: NUL byte"},
        RejectCase{"NulInsideAString", std::string("[\"a\0b\"]", 7), "malformed JSON"},
        RejectCase{"NulBetweenTokens", std::string("[1,\0 2]", 7), "malformed JSON"}),
    [](const auto& info) { return info.param.name; });

TEST(StrictJson, MessageNeverQuotesTheInput) {
  // The second holds text that looks like the end of the parser's own message.
  for (const std::string text :
       {R"({"pan": 4111111111111111x})", R"({"a":1,"'; expected 4111111111111111":x})"}) {
    try {
      parseStrictJson(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const JsonInputError& error) {
      EXPECT_EQ(std::string(error.what()).find("4111"), std::string::npos) << error.what();
    }
  }
}

TEST(StrictJson, AcceptsDepthOfSixtyFourAndEqualKeysInSiblingObjects) {
  EXPECT_NO_THROW(parseStrictJson(nested(64)));
  const auto json =
      parseStrictJson(R"({"a": {"k": 1}, "b": {"k": 2}, "c": ["x", "x"], "k1": 1, "k2": 2})");
  EXPECT_EQ(json["b"]["k"], 2);
  EXPECT_EQ(json["k2"], 2);
  EXPECT_EQ(parseStrictJson(" \"x\"\n"), "x");
}

// The reader of a request parses the text only after a check of a scrubbed copy; both must agree
// on every value.
TEST(StrictJson, ReadsNumbersAndTextsAsTheyAre) {
  const auto json = parseStrictJson(
      R"([-9223372036854775808, 18446744073709551615, 0, -0.5e-3, 1.7976931348623157e308, )"
      R"(4.9e-324, 2e-400, "4111 1111\u0031x", {"pan4": "Zz9"}])");
  EXPECT_EQ(json[0].get<std::int64_t>(), INT64_MIN);
  EXPECT_EQ(json[1].get<std::uint64_t>(), UINT64_MAX);
  EXPECT_TRUE(json[2].is_number_unsigned());
  EXPECT_EQ(json[3], -0.0005);
  EXPECT_EQ(json[4], 1.7976931348623157e308);
  EXPECT_EQ(json[5], 4.9e-324);
  EXPECT_EQ(json[6], 0.0);
  EXPECT_EQ(json[7], "4111 11111x");
  EXPECT_EQ(json[8]["pan4"], "Zz9");
}

TEST(StrictJson, KeepsEscapedAndMultiByteText) {
  const auto json = parseStrictJson("{\"name\": \"J\\u00d6RG \xe2\x82\xac\\n\"}");
  EXPECT_EQ(json["name"], "J\xc3\x96RG \xe2\x82\xac\n");
}

}  // namespace
}  // namespace sdkcore
