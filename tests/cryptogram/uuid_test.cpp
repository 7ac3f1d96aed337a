#include "cryptogram/uuid.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <string>

namespace sdkcore {
namespace {

constexpr const char* kVersion4Form =
    "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}";

struct FormatCase {
  const char* name;
  std::array<std::uint8_t, 16> bytes;
  const char* expected;
};

class FormatVersion4Uuid : public ::testing::TestWithParam<FormatCase> {};

std::string textOf(const UuidText& text) { return std::string(text.begin(), text.end()); }

TEST_P(FormatVersion4Uuid, SetsVersionAndVariantBits) {
  EXPECT_EQ(textOf(version4UuidText(GetParam().bytes)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatVersion4Uuid,
    ::testing::Values(FormatCase{"Zeros", {}, "00000000-0000-4000-8000-000000000000"},
                      FormatCase{"Ones",
                                 {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                  0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                                 "FFFFFFFF-FFFF-4FFF-BFFF-FFFFFFFFFFFF"},
                      FormatCase{"Counting",
                                 {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
                                  0x0B, 0x0C, 0x0D, 0x0E, 0x0F},
                                 "00010203-0405-4607-8809-0A0B0C0D0E0F"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RandomUuid, IsUpperCaseVersion4AndFreshEachTime) {
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::string uuid = textOf(randomUuidText());
    ASSERT_THAT(uuid, ::testing::MatchesRegex(kVersion4Form));
    seen.insert(uuid);
  }
  EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace sdkcore
