#include "unicode/properties.hpp"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/rbbi.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>

namespace sdkcore::unicode {
namespace {

constexpr char32_t kCodePoints = 0x110000;

// ICU's names of the values, in the order of GeneralCategory and GraphemeClusterBreak.
constexpr const char* kCategoryNames[] = {
    "Cn", "Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd", "Nl", "No", "Pc", "Pd", "Ps",
    "Pe", "Pi", "Pf", "Po", "Sm", "Sc", "Sk", "So", "Zs", "Zl", "Zp", "Cc", "Cf", "Cs", "Co"};
constexpr const char* kBreakNames[] = {
    "Other",   "CR",          "LF", "Control", "Extend", "ZWJ", "Regional_Indicator",
    "Prepend", "SpacingMark", "L",  "V",       "T",      "LV",  "LVT"};

std::string icuName(UProperty property, std::int32_t value, UPropertyNameChoice choice) {
  const char* name = u_getPropertyValueName(property, value, choice);
  return name ? name : "?";
}

std::string yesNo(bool value) { return value ? "yes" : "no"; }

// A set that ICU's character break rules (root locale) define as "$name=[...];".
icu::UnicodeSet icuRuleSet(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::BreakIterator> iterator(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  const auto* rules = dynamic_cast<const icu::RuleBasedBreakIterator*>(iterator.get());
  if (!rules) return {};
  const icu::UnicodeString text = rules->getRules(), start = icu::UnicodeString("$") + name + "=";
  const std::int32_t from = text.indexOf(start) + start.length();
  icu::UnicodeSet set(text.tempSubStringBetween(from, text.indexOf(u';', from)), status);
  return U_SUCCESS(status) && from >= start.length() ? set : icu::UnicodeSet();
}

// The conjunct classes as ICU's rules' sets give them, in the order of IndicConjunctBreak (a
// virama is in the last set too).
std::string icuConjunctClass(UChar32 c) {
  static const auto sets = [] {
    const std::array<icu::UnicodeSet, 3> found = {icuRuleSet("LinkingConsonant"),
                                                  icuRuleSet("Virama"), icuRuleSet("ExtCccZwj")};
    for (const auto& set : found) EXPECT_FALSE(set.isEmpty()) << "a set missing in ICU's rules";
    return found;
  }();
  for (std::size_t i = 0; i < sets.size(); ++i) {
    if (sets[i].contains(c)) return std::to_string(i + 1);
  }
  return "0";
}

struct PropertyCase {
  const char* name;
  std::string (*icu)(UChar32);
  std::string (*ours)(char32_t);
};

void PrintTo(const PropertyCase& property, std::ostream* out) { *out << property.name; }

const PropertyCase kProperties[] = {
    {"GeneralCategory",
     [](UChar32 c) {
       return icuName(UCHAR_GENERAL_CATEGORY, u_charType(c), U_SHORT_PROPERTY_NAME);
     },
     [](char32_t c) -> std::string { return kCategoryNames[int(generalCategory(c))]; }},
    {"WhiteSpace", [](UChar32 c) { return yesNo(u_isUWhiteSpace(c)); },
     [](char32_t c) { return yesNo(isWhiteSpace(c)); }},
    {"Alphabetic", [](UChar32 c) { return yesNo(u_hasBinaryProperty(c, UCHAR_ALPHABETIC)); },
     [](char32_t c) { return yesNo(isAlphabetic(c)); }},
    {"SimpleCaseFolding",
     [](UChar32 c) { return std::to_string(char32_t(u_foldCase(c, U_FOLD_CASE_DEFAULT))); },
     [](char32_t c) { return std::to_string(simpleCaseFold(c)); }},
    {"GraphemeClusterBreak",
     [](UChar32 c) {
       return icuName(UCHAR_GRAPHEME_CLUSTER_BREAK,
                      u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK), U_LONG_PROPERTY_NAME);
     },
     [](char32_t c) -> std::string { return kBreakNames[int(graphemeClusterBreak(c))]; }},
    {"ExtendedPictographic",
     [](UChar32 c) { return yesNo(u_hasBinaryProperty(c, UCHAR_EXTENDED_PICTOGRAPHIC)); },
     [](char32_t c) { return yesNo(isExtendedPictographic(c)); }},
    {"IndicConjunctBreak", icuConjunctClass,
     [](char32_t c) { return std::to_string(int(indicConjunctBreak(c))); }},
};

class PropertyTest : public testing::TestWithParam<PropertyCase> {};

// Every code point, and values past U+10FFFF (unassigned for both).
TEST_P(PropertyTest, AgreesWithIcuForEveryCodePoint) {
  int differences = 0;
  auto compare = [&](char32_t c) {
    const std::string ours = GetParam().ours(c), icu = GetParam().icu(UChar32(c));
    if (ours != icu && ++differences <= 10) {
      ADD_FAILURE() << "U+" << std::hex << std::uppercase << std::uint32_t(c) << ": " << ours
                    << ", ICU: " << icu;
    }
  };
  for (char32_t c = 0; c < kCodePoints; ++c) compare(c);
  for (const char32_t c : {0x110000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) compare(c);
  EXPECT_EQ(differences, 0);
}

INSTANTIATE_TEST_SUITE_P(Properties, PropertyTest, testing::ValuesIn(kProperties),
                         [](const auto& info) { return std::string(info.param.name); });

// Checks that 'ranges' are ascending, apart and hold exactly the code points 'has' holds.
template <typename Lookup>
void expectRanges(std::span<const CodePointRange> ranges, Lookup has) {
  auto range = ranges.begin();
  for (char32_t c = 0; c < kCodePoints; ++c) {
    if (range != ranges.end() && range->last < c) {
      ++range;
      ASSERT_TRUE(range == ranges.end() || range->first > range[-1].last + 1) << std::uint32_t(c);
    }
    const bool listed = range != ranges.end() && range->first <= c && c <= range->last;
    ASSERT_EQ(listed, has(c)) << "U+" << std::hex << std::uint32_t(c);
  }
}

// The lists that patterns build sets from hold what the lookups (checked above) give.
TEST(PropertyListTest, ListsHoldWhatTheLookupsGive) {
  char32_t next = 0;
  for (const CategoryRun& run : generalCategoryRuns()) {
    ASSERT_TRUE(run.first == next && run.last >= run.first) << std::uint32_t(run.first);
    for (char32_t c = run.first; c <= run.last; ++c) ASSERT_EQ(run.category, generalCategory(c));
    next = run.last + 1;
  }
  EXPECT_EQ(next, kCodePoints);
  expectRanges(whiteSpaceRanges(), isWhiteSpace);
  expectRanges(alphabeticRanges(), isAlphabetic);
  std::size_t folding = 0;
  for (char32_t c = 0; c < kCodePoints; ++c) {
    if (simpleCaseFold(c) == c) continue;
    ASSERT_LT(folding, simpleCaseFoldings().size());
    ASSERT_EQ(simpleCaseFoldings()[folding].from, c);
    ASSERT_EQ(simpleCaseFoldings()[folding++].to, simpleCaseFold(c));
  }
  EXPECT_EQ(folding, simpleCaseFoldings().size());
}

// The referee answers for the Unicode version of the tables.
TEST(UnicodeTablesTest, AreOfIcusUnicodeVersion) {
  EXPECT_EQ(std::string(kUnicodeVersion).rfind(U_UNICODE_VERSION ".", 0), 0u) << kUnicodeVersion;
}

std::string readFile(const std::filesystem::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

TEST(UnicodeTablesTest, GeneratorReproducesTheCommittedTables) {
  const std::filesystem::path ucd = SDKCORE_UCD_DIR, source = SDKCORE_SOURCE_DIR;
  if (!std::filesystem::exists(ucd / "UnicodeData.txt")) GTEST_SKIP() << "no UCD at " << ucd;
  if (std::string(SDKCORE_PYTHON).empty()) GTEST_SKIP() << "no python3 found at configure time";
  const std::filesystem::path output = testing::TempDir() + "unicode_tables.cpp";
  const std::string command = std::string("\"") + SDKCORE_PYTHON + "\" \"" +
                              (source / "scripts/generate_unicode_tables.py").string() + "\" \"" +
                              ucd.string() + "\" --output \"" + output.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const bool same = readFile(output) == readFile(source / "src/unicode/unicode_tables.cpp");
  std::filesystem::remove(output);
  EXPECT_TRUE(same) << "src/unicode/unicode_tables.cpp is not what the generator writes from "
                    << ucd << ": scripts/generate_unicode_tables.py --check shows the difference";
}

}  // namespace
}  // namespace sdkcore::unicode
