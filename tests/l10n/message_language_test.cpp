#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "l10n/localization.hpp"
#include "sdkcore/localized_messages.hpp"

namespace sdkcore {
namespace {

struct LocaleNameCase {
  const char* name;
  std::string_view locale;
  std::optional<std::string> language;  // nullopt: refused
};

void PrintTo(const LocaleNameCase& c, std::ostream* out) { *out << c.name; }

class LanguageOfLocaleNameTest : public ::testing::TestWithParam<LocaleNameCase> {};

TEST_P(LanguageOfLocaleNameTest, TakesTheLanguagePart) {
  EXPECT_EQ(languageOfLocaleName(GetParam().locale), GetParam().language);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Names, LanguageOfLocaleNameTest,
    ::testing::Values(
        LocaleNameCase{"Code", "de", "de"}, LocaleNameCase{"Region", "de_AT", "de"},
        LocaleNameCase{"Bcp47", "zh-Hant-TW", "zh"}, LocaleNameCase{"UpperCase", "DE_at", "de"},
        LocaleNameCase{"CodeSetAndModifier", "de_DE.UTF-8@euro", "de"},
        LocaleNameCase{"ModifierAlone", "sr@latin", "sr"}, LocaleNameCase{"C", "C", "en"},
        LocaleNameCase{"CWithCodeSet", "C.UTF-8", "en"}, LocaleNameCase{"Posix", "POSIX", "en"},
        LocaleNameCase{"EnUsPosix", "en_US_POSIX", "en"},
        LocaleNameCase{"ThreeLetters", "deu_DE", "de"}, LocaleNameCase{"Russian", "rus", "ru"},
        // Only terminology codes have a two-letter form; "ger" is the bibliographic one.
        LocaleNameCase{"Bibliographic", "ger", "ger"},
        LocaleNameCase{"NoTwoLetterForm", "fil_PH", "fil"},
        LocaleNameCase{"RegionAlone", "_US", "en"}, LocaleNameCase{"Undetermined", "und", "en"},
        LocaleNameCase{"Root", "root", "en"}, LocaleNameCase{"Empty", "", "en"},
        LocaleNameCase{"EightLetters", "abcdefgh", "abcdefgh"},
        LocaleNameCase{"NineLetters", "abcdefghi", std::nullopt},
        LocaleNameCase{"OneLetter", "x", std::nullopt},
        LocaleNameCase{"Digits", "12", std::nullopt},
        LocaleNameCase{"LeadingSpace", " de", std::nullopt},
        LocaleNameCase{"Path", "/tmp/x", std::nullopt},
        LocaleNameCase{"NotAscii", "d\xC3\xA9", std::nullopt},
        LocaleNameCase{"EmbeddedNul", "de\0"sv, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// Sets LC_ALL, LC_MESSAGES and LANG for the scope (nullptr: unset) and restores them, with the
// language read afresh on both sides.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* values[] = {lcAll, lcMessages, lang};
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      const char* old = std::getenv(kVariables[i]);
      saved_[i] = old ? std::optional<std::string>(old) : std::nullopt;
      assign(kVariables[i], values[i]);
    }
    resetMessageLanguage();
  }
  ~ScopedEnvironment() {
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      assign(kVariables[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }
    resetMessageLanguage();
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  static void assign(const char* variable, const char* value) {
    if (value) {
      setenv(variable, value, 1);
    } else {
      unsetenv(variable);
    }
  }

  static constexpr const char* kVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> saved_[3];
};

struct EnvironmentCase {
  const char* name;
  const char* lcAll;
  const char* lcMessages;
  const char* lang;
  std::string language;
};

void PrintTo(const EnvironmentCase& c, std::ostream* out) { *out << c.name; }

class EnvironmentLanguageTest : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(EnvironmentLanguageTest, FirstNonEmptyVariableGivesTheLanguage) {
  const EnvironmentCase& c = GetParam();
  const ScopedEnvironment environment(c.lcAll, c.lcMessages, c.lang);
  EXPECT_EQ(messageLanguage(), c.language);
}

INSTANTIATE_TEST_SUITE_P(
    Variables, EnvironmentLanguageTest,
    ::testing::Values(EnvironmentCase{"None", nullptr, nullptr, nullptr, "en"},
                      EnvironmentCase{"Lang", nullptr, nullptr, "de_DE.UTF-8", "de"},
                      EnvironmentCase{"MessagesBeforeLang", nullptr, "ru_RU", "de_DE", "ru"},
                      EnvironmentCase{"AllBeforeEverything", "fr_FR", "ru_RU", "de_DE", "fr"},
                      EnvironmentCase{"EmptyCountsAsUnset", "", "", "de_DE", "de"},
                      EnvironmentCase{"C", nullptr, nullptr, "C", "en"},
                      EnvironmentCase{"NoLanguageCode", nullptr, nullptr, "/tmp/x", "en"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageLanguageTest, SetterWinsOverTheEnvironmentUntilReset) {
  const ScopedEnvironment environment(nullptr, nullptr, "ru_RU.UTF-8");
  EXPECT_TRUE(setMessageLanguage("de-AT"));
  EXPECT_EQ(messageLanguage(), "de");
  EXPECT_EQ(localized("vorlix_field_required"), "Dieses Feld ist erforderlich");
  resetMessageLanguage();
  EXPECT_EQ(messageLanguage(), "ru");
  EXPECT_TRUE(setMessageLanguage("de"));
  EXPECT_TRUE(setMessageLanguage(""));
  EXPECT_EQ(messageLanguage(), "ru");
}

TEST(MessageLanguageTest, RefusedNameChangesNothing) {
  const ScopedEnvironment environment(nullptr, nullptr, "ru_RU.UTF-8");
  ASSERT_TRUE(setMessageLanguage("de"));
  for (std::string_view refused : {"x", "12", "d\xC3\xA9", "/etc/x"}) {
    EXPECT_FALSE(setMessageLanguage(refused)) << refused;
    EXPECT_EQ(messageLanguage(), "de") << refused;
  }
}

// Readers on other threads see one of the languages set, never a mixture of two.
TEST(MessageLanguageTest, ConcurrentSettingAndReading) {
  const ScopedEnvironment environment(nullptr, nullptr, "en_US.UTF-8");
  std::vector<std::thread> threads;
  std::vector<std::vector<std::string>> seen(2);
  for (const char* language : {"de", "rus"}) {
    threads.emplace_back([language] {
      for (int i = 0; i < 2000; ++i) setMessageLanguage(language);
    });
  }
  for (auto& perThread : seen) {
    threads.emplace_back([&perThread] {
      for (int i = 0; i < 2000; ++i) perThread.push_back(messageLanguage());
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const auto& perThread : seen) {
    for (const std::string& language : perThread) {
      ASSERT_TRUE(language == "en" || language == "de" || language == "ru") << language;
    }
  }
}

}  // namespace
}  // namespace sdkcore
