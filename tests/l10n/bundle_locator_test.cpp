#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "l10n/localization.hpp"
#include "support/localization_test_support.hpp"

namespace sdkcore {
namespace {

namespace fs = std::filesystem;
using testing_support::ScopedLocale;
using testing_support::ScratchDirectory;

TEST(BundleCandidatesTest, HostResourcesThenLibraryThenMainBundle) {
  const std::vector<fs::path> candidates =
      bundleCandidates({"/opt/shop/bin/shop", "/opt/shop/lib/libsdkcore.so.3"});
  ASSERT_GE(candidates.size(), 3u);
  EXPECT_EQ(candidates.front(), fs::path("/opt/shop/share/shop"));
  EXPECT_EQ(candidates[1], fs::path("/opt/shop/lib"));
  EXPECT_EQ(candidates.back(), fs::path("/opt/shop/bin"));
}

TEST(BundleCandidatesTest, StaticLinkGivesNoRepeats) {
  const std::vector<fs::path> candidates =
      bundleCandidates({"/opt/shop/bin/shop", "/opt/shop/bin/shop"});
  EXPECT_EQ(candidates[1], fs::path("/opt/shop/bin"));
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    for (std::size_t j = i + 1; j < candidates.size(); ++j) EXPECT_NE(candidates[i], candidates[j]);
  }
}

TEST(BundleCandidatesTest, UnknownLocationsAreLeftOut) {
  EXPECT_TRUE(bundleCandidates({}).empty());
  const std::vector<fs::path> candidates =
      bundleCandidates({std::nullopt, "/usr/lib/libsdkcore.so"});
  ASSERT_FALSE(candidates.empty());
  EXPECT_EQ(candidates.front(), fs::path("/usr/lib"));
}

TEST(BundleCandidatesTest, ThisProcessIsFound) {
  const ProcessLocation location = currentProcessLocation();
  ASSERT_TRUE(location.executable.has_value());
  EXPECT_EQ(location.executable->filename(), "sdkcore_l10n_tests");
  // Linked statically, the library's code is in the test program itself.
  ASSERT_TRUE(location.libraryCode.has_value());
  if (location.libraryCode != location.executable) {
    EXPECT_EQ(location.libraryCode->filename().string().rfind("libsdkcore", 0), 0u);
  }
}

class LocateBundleTest : public testing::Test {
 protected:
  // Makes a bundle under 'dir' whose English text for "k" is 'text'.
  static void makeBundle(const ScratchDirectory& dir, const std::string& text) {
    dir.write(fs::path("SDKCore_SDKCore.bundle") / "en.lproj" / "Localizable.json",
              "{\"k\": \"" + text + "\"}");
  }
};

TEST_F(LocateBundleTest, EarliestCandidateWins) {
  ScratchDirectory empty, first, second;
  makeBundle(first, "first");
  makeBundle(second, "second");
  const ResourceBundle bundle = locateBundle({empty.path(), first.path(), second.path()});
  EXPECT_EQ(bundle.path(), first.path() / "SDKCore_SDKCore.bundle");
  EXPECT_EQ(bundle.text("en", "k"), "first");
}

TEST_F(LocateBundleTest, AFileNamedLikeTheBundleIsSkipped) {
  ScratchDirectory file, dir;
  file.write("SDKCore_SDKCore.bundle", "not a directory");
  makeBundle(dir, "dir");
  EXPECT_EQ(locateBundle({file.path(), dir.path()}).text("en", "k"), "dir");
}

// The Swift package's resource bundle has the library bundle's name on Apple platforms, and holds
// the privacy manifest alone.
TEST_F(LocateBundleTest, ABundleWithoutStringTablesIsSkipped) {
  ScratchDirectory package, dir;
  package.write(fs::path("SDKCore_SDKCore.bundle") / "PrivacyInfo.xcprivacy", "<plist/>");
  EXPECT_FALSE(locateBundle({package.path()}).path().has_value());
  makeBundle(dir, "dir");
  EXPECT_EQ(locateBundle({package.path(), dir.path()}).text("en", "k"), "dir");
}

TEST_F(LocateBundleTest, CompiledInTablesServeWhenNoBundleIsOnDisk) {
  ScratchDirectory empty;
  const ResourceBundle bundle = locateBundle({empty.path(), "/nonexistent"});
  EXPECT_FALSE(bundle.path().has_value());
  EXPECT_EQ(bundle.text("en", "vorlix_field_required"), "This field is required");
  EXPECT_EQ(bundle.text("de", "vorlix_field_required"), "Dieses Feld ist erforderlich");
}

struct LanguageCase {
  std::string name;
  std::string locale;
  std::string language;
};

class CurrentLanguageTest : public testing::TestWithParam<LanguageCase> {};

TEST_P(CurrentLanguageTest, TakesLanguageOfDefaultLocale) {
  ScopedLocale locale(GetParam().locale);
  EXPECT_EQ(currentLanguage(), GetParam().language);
}

INSTANTIATE_TEST_SUITE_P(Locales, CurrentLanguageTest,
                         testing::Values(LanguageCase{"English", "en", "en"},
                                         LanguageCase{"Region", "de_AT", "de"},
                                         LanguageCase{"Posix", "en_US_POSIX", "en"},
                                         LanguageCase{"Russian", "ru_RU", "ru"},
                                         LanguageCase{"NoLanguage", "_US", "en"}),
                         [](const testing::TestParamInfo<LanguageCase>& info) {
                           return info.param.name;
                         });

struct HostCase {
  std::string name;
  std::string language;
  std::string key;
  std::optional<std::string> text;
};

class HostTextTest : public testing::TestWithParam<HostCase> {};

TEST_P(HostTextTest, ReadsMainBundleTables) {
  ScratchDirectory host;
  host.write("en.lproj/Localizable.json", R"({"k": "host en", "only_en": "x"})");
  host.write("de.lproj/Localizable.json", R"({"k": "host de"})");
  host.write("fr.lproj/Localizable.json", R"({"k": )");
  EXPECT_EQ(hostText(host.path(), GetParam().language, GetParam().key), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, HostTextTest,
    testing::Values(HostCase{"CurrentLanguage", "de", "k", "host de"},
                    HostCase{"NoFallbackWithinLanguage", "de", "only_en", std::nullopt},
                    HostCase{"LanguageWithoutDirectoryUsesEnglish", "ja", "k", "host en"},
                    HostCase{"MissingKey", "en", "absent", std::nullopt},
                    HostCase{"MalformedTable", "fr", "k", std::nullopt}),
    [](const testing::TestParamInfo<HostCase>& info) { return info.param.name; });

TEST(HostTextTest, NoTablesGiveNothing) {
  ScratchDirectory host;
  EXPECT_EQ(hostText(host.path(), "en", "k"), std::nullopt);
}

TEST(HostTextTest, ReadAtEveryCall) {
  ScratchDirectory host;
  host.write("en.lproj/Localizable.json", R"({"k": "old"})");
  EXPECT_EQ(hostText(host.path(), "en", "k"), "old");
  host.write("en.lproj/Localizable.json", R"({"k": "new"})");
  EXPECT_EQ(hostText(host.path(), "en", "k"), "new");
}

struct FormatCase {
  std::string name;
  std::string format;
  std::string domain;
  std::string expected;
};

class FormatErrorDescriptionTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatErrorDescriptionTest, FillsPlaceholders) {
  EXPECT_EQ(formatErrorDescription(GetParam().format, GetParam().domain, -1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatErrorDescriptionTest,
    testing::Values(FormatCase{"English", "{domain} (error {code})", "Bad", "Bad (error -1)"},
                    FormatCase{"Reordered", "{code}: {domain}", "Bad", "-1: Bad"},
                    FormatCase{"DomainNotRescanned", "{domain}", "{code}", "{code}"},
                    FormatCase{"NoPlaceholders", "plain", "Bad", "plain"},
                    FormatCase{"Unclosed", "{domain", "Bad", "{domain"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

}  // namespace
}  // namespace sdkcore
