#include "sdkcore/binding_utils.hpp"

#include <gtest/gtest.h>

#include <ostream>

#include "sdkcore/base58.hpp"

namespace sdkcore {
namespace {

std::string pmIdOf(std::string_view bindingId) {
  return "pm_" + Base58::encode(std::span(reinterpret_cast<const std::uint8_t*>(bindingId.data()),
                                          bindingId.size()));
}

struct DecodeCase {
  std::string name;
  std::string storedId;
  std::string expected;
};

void PrintTo(const DecodeCase& value, std::ostream* out) { *out << value.name; }

class DecodeBindingIdTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeBindingIdTest, GivesTheBindingId) {
  EXPECT_EQ(BindingUtils::decodeBindingId(GetParam().storedId), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, DecodeBindingIdTest,
    ::testing::Values(
        DecodeCase{"Plain", "pm_3WhDgViUq4", "BIND-77"},
        DecodeCase{"SpacesTrimmed", "pm_QpJitz5kj4n3", "BIND-77"},
        DecodeCase{"LineBreaksAndTabsTrimmed", pmIdOf("\r\n\tBIND-77\n\r\t"), "BIND-77"},
        DecodeCase{"UnicodeSpacesTrimmed",
                   pmIdOf("\xC2\xA0\xE3\x80\x80"
                          "BIND\xE2\x80\x83"
                          "77\xE2\x80\xA8\xC2\x85"),
                   "BIND\xE2\x80\x83"
                   "77"},
        DecodeCase{"InnerSpaceKept", pmIdOf(" a b "), "a b"},
        DecodeCase{"ZeroWidthSpaceIsNotWhiteSpace", pmIdOf("\xE2\x80\x8BX"), "\xE2\x80\x8BX"},
        DecodeCase{"OnlyWhiteSpace", pmIdOf(" \n "), ""},
        DecodeCase{"NonAsciiId", pmIdOf("Zürich-7"), "Zürich-7"},
        DecodeCase{"PrefixAlone", "pm_", ""}, DecodeCase{"NoPrefix", "3WhDgViUq4", ""},
        DecodeCase{"UpperCasePrefix", "PM_3WhDgViUq4", ""},
        DecodeCase{"InvalidBase58", "pm_3WhDgViUq0", ""},
        DecodeCase{"WhiteSpaceAroundIsNotTrimmedBeforeDecoding", "pm_3WhDgViUq4 ", ""},
        DecodeCase{"Empty", "", ""}, DecodeCase{"InvalidUtf8", pmIdOf("BIND\xFF"), ""},
        DecodeCase{"OverlongUtf8", pmIdOf("\xC0\xAF"), ""},
        DecodeCase{"Surrogate", pmIdOf("\xED\xA0\x80"), ""},
        DecodeCase{"TruncatedUtf8", pmIdOf("BIND\xE2\x80"), ""},
        // Each "1" is one zero byte, and U+0000 is neither white space nor invalid.
        DecodeCase{"LongestBase58Part", "pm_" + std::string(65536, '1'), std::string(65536, '\0')},
        DecodeCase{"Base58PartOverTheLimit", "pm_" + std::string(65537, '1'), ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sdkcore
