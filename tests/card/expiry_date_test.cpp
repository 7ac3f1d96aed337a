#include "sdkcore/expiry_date.hpp"

#include <optional>
#include <string>
#include <unordered_set>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "sdkcore/decoding_error.hpp"
#include "support/localization_test_support.hpp"

namespace sdkcore {
namespace {

struct FormatCase {
  std::int64_t year;
  std::int64_t month;
  std::string format;
  std::string formatExpiryDate;
};

class ExpiryDateFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(ExpiryDateFormatTest, WritesUnpaddedDigits) {
  const ExpiryDate date(GetParam().year, GetParam().month);
  EXPECT_EQ(date.format(), GetParam().format);
  EXPECT_EQ(date.formatExpiryDate(), GetParam().formatExpiryDate);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ExpiryDateFormatTest,
    testing::Values(FormatCase{2025, 12, "202512", "12/25"}, FormatCase{2025, 3, "20253", "3/25"},
                    FormatCase{2030, 1, "20301", "1/30"}, FormatCase{2105, 11, "210511", "11/5"},
                    FormatCase{2100, 7, "21007", "7/0"}, FormatCase{-2005, 1, "-20051", "1/-5"},
                    FormatCase{2025, 13, "202513", "13/25"}));

TEST(ExpiryDateTest, EqualValuesHashEquallyAndSwappedFieldsDiffer) {
  const std::hash<ExpiryDate> hash;
  EXPECT_EQ(ExpiryDate(2025, 3), ExpiryDate(2025, 3));
  EXPECT_EQ(hash(ExpiryDate(2025, 3)), hash(ExpiryDate(2025, 3)));
  EXPECT_NE(ExpiryDate(2025, 3), ExpiryDate(3, 2025));
  EXPECT_NE(hash(ExpiryDate(2025, 3)), hash(ExpiryDate(3, 2025)));
  EXPECT_NE(ExpiryDate(2025, 3), ExpiryDate(2025, 4));
  const std::unordered_set<ExpiryDate> set{ExpiryDate(2025, 3), ExpiryDate(2025, 3),
                                           ExpiryDate(3, 2025)};
  EXPECT_EQ(set.size(), 2u);
}

TEST(ExpiryDateJsonTest, WritesYearBeforeMonth) {
  EXPECT_EQ(nlohmann::ordered_json(ExpiryDate(2025, 12)).dump(),
            R"({"expYear":2025,"expMonth":12})");
}

TEST(ExpiryDateJsonTest, ReadsMembersInAnyOrderAndRoundTrips) {
  const auto parsed = nlohmann::json::parse(R"({"expMonth":3,"expYear":2025,"other":true})");
  EXPECT_EQ(parsed.get<ExpiryDate>(), ExpiryDate(2025, 3));
  const ExpiryDate extreme(INT64_MIN, INT64_MAX);
  EXPECT_EQ(nlohmann::json::parse(nlohmann::ordered_json(extreme).dump()).get<ExpiryDate>(),
            extreme);
  EXPECT_EQ(nlohmann::json::parse(R"({"expYear":2025.0,"expMonth":1e1})").get<ExpiryDate>(),
            ExpiryDate(2025, 10));
}

struct BadJsonCase {
  std::string json;
  DecodingError::Kind kind;
  std::vector<std::string> codingPath;
};

class ExpiryDateBadJsonTest : public testing::TestWithParam<BadJsonCase> {};

TEST_P(ExpiryDateBadJsonTest, FailsWithDecodingError) {
  const auto json = nlohmann::json::parse(GetParam().json);
  try {
    (void)expiryDateFromJson(json);
    FAIL() << "read " << GetParam().json;
  } catch (const DecodingError& error) {
    EXPECT_EQ(error.kind(), GetParam().kind) << error.description();
    EXPECT_EQ(error.codingPath(), GetParam().codingPath);
  }
}

using Kind = DecodingError::Kind;
INSTANTIATE_TEST_SUITE_P(
    Inputs, ExpiryDateBadJsonTest,
    testing::Values(
        BadJsonCase{R"({"expYear":2025})", Kind::keyNotFound, {}},
        BadJsonCase{R"({"expMonth":3})", Kind::keyNotFound, {}},
        BadJsonCase{R"({"expYear":null,"expMonth":3})", Kind::valueNotFound, {"expYear"}},
        BadJsonCase{R"({"expYear":"2025","expMonth":3})", Kind::typeMismatch, {"expYear"}},
        BadJsonCase{R"({"expYear":2025,"expMonth":true})", Kind::typeMismatch, {"expMonth"}},
        BadJsonCase{R"({"expYear":2025,"expMonth":3.5})", Kind::dataCorrupted, {"expMonth"}},
        BadJsonCase{
            R"({"expYear":9223372036854775808,"expMonth":3})", Kind::dataCorrupted, {"expYear"}},
        BadJsonCase{R"({"expYear":1e19,"expMonth":3})", Kind::dataCorrupted, {"expYear"}},
        BadJsonCase{R"([2025,3])", Kind::typeMismatch, {}},
        BadJsonCase{R"("12/25")", Kind::typeMismatch, {}},
        BadJsonCase{R"(null)", Kind::valueNotFound, {}}));

TEST(ExpiryDateJsonTest, MissingKeyIsNamedInTheDescription) {
  try {
    (void)expiryDateFromJson(nlohmann::json::parse(R"({"expYear":2025})"));
    FAIL();
  } catch (const DecodingError& error) {
    EXPECT_NE(error.description().find("expMonth"), std::string::npos) << error.description();
    EXPECT_STREQ(error.what(), error.description().c_str());
  }
}

// toExpDate reads the "MM/YY" text of a card.

constexpr const char* kBadFormat = "Incorrect format, should be MM/YY.";
constexpr const char* kBadNumber = "Invalid month or year";

struct ExpDateCase {
  std::string name;
  std::string text;
  std::optional<ExpiryDate> date;
  std::string errorDomain;
};

class ToExpDateTest : public testing::TestWithParam<ExpDateCase> {};

TEST_P(ToExpDateTest, ReadsMonthAndYear) {
  const ExpDateCase& c = GetParam();
  testing_support::ScopedLocale english("en");
  try {
    const ExpiryDate date = toExpDate(c.text);
    ASSERT_TRUE(c.date.has_value()) << "expected failure " << c.errorDomain;
    EXPECT_EQ(date, *c.date);
  } catch (const ExpDateError& error) {
    ASSERT_FALSE(c.date.has_value()) << error.what();
    EXPECT_EQ(error.domain(), c.errorDomain);
    EXPECT_EQ(error.code(), -1);
    EXPECT_EQ(error.localizedDescription(), c.errorDomain + " (error -1)");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToExpDateTest,
    testing::Values(ExpDateCase{"Plain", "12/25", ExpiryDate(2025, 12), ""},
                    ExpDateCase{"NoRangeCheck", "13/99", ExpiryDate(2099, 13), ""},
                    ExpDateCase{"Zeros", "00/00", ExpiryDate(2000, 0), ""},
                    ExpDateCase{"ShortMonth", "1/25", std::nullopt, kBadFormat},
                    ExpDateCase{"Hyphen", "12-25", std::nullopt, kBadFormat},
                    ExpDateCase{"LongYear", "12/2025", std::nullopt, kBadFormat},
                    ExpDateCase{"Letters", "ab/cd", std::nullopt, kBadFormat},
                    ExpDateCase{"Empty", "", std::nullopt, kBadFormat},
                    ExpDateCase{"LeadingSpace", " 12/25", std::nullopt, kBadFormat},
                    ExpDateCase{"TwoLineFeeds", "12/25\n\n", std::nullopt, kBadFormat},
                    ExpDateCase{"InvalidUtf8", "12/2\xFF", std::nullopt, kBadFormat},
                    // `$` lets one final line terminator stand, which then spoils the year text.
                    ExpDateCase{"TrailingLineFeed", "12/25\n", std::nullopt, kBadNumber},
                    ExpDateCase{"TrailingCrLf", "12/25\r\n", std::nullopt, kBadNumber},
                    ExpDateCase{"ArabicIndicDigits", "\xD9\xA1\xD9\xA2/\xD9\xA2\xD9\xA5",
                                std::nullopt, kBadNumber},
                    ExpDateCase{"FullWidthYear", "12/\xEF\xBC\x92\xEF\xBC\x95", std::nullopt,
                                kBadNumber}),
    [](const auto& info) { return info.param.name; });

TEST(ToExpDateTest, DescriptionFollowsCurrentLanguage) {
  testing_support::ScopedLocale german("de_DE");
  try {
    toExpDate("1/25");
    FAIL() << "expected ExpDateError";
  } catch (const ExpDateError& error) {
    EXPECT_EQ(error.domain(), kBadFormat);
    EXPECT_EQ(error.localizedDescription(), std::string(kBadFormat) + " (Fehler -1)");
  }
}

}  // namespace
}  // namespace sdkcore
