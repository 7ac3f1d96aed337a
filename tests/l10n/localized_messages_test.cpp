#include "sdkcore/localized_messages.hpp"

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "l10n/localization.hpp"
#include "support/localization_test_support.hpp"

namespace sdkcore {
namespace {

using testing_support::ScopedLocale;
using testing_support::ScratchDirectory;

TEST(SdkCoreBundleTest, FoundBesideTheProgram) {
  const ResourceBundle& bundle = sdkCoreBundle();
  ASSERT_TRUE(bundle.path().has_value());
  EXPECT_EQ(bundle.path()->filename(), "SDKCore_SDKCore.bundle");
  EXPECT_EQ(&bundle, &sdkCoreBundle());
}

struct LocalizedCase {
  std::string name;
  std::string locale;
  std::string key;
  std::string expected;
};

class LocalizedTest : public testing::TestWithParam<LocalizedCase> {};

TEST_P(LocalizedTest, UsesCurrentLanguage) {
  ScopedLocale locale(GetParam().locale);
  EXPECT_EQ(localized(GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocalizedTest,
    testing::Values(
        LocalizedCase{"English", "en", "vorlix_email_incorrect", "Invalid e-mail address"},
        LocalizedCase{"EnglishRegion", "en_GB", "vorlix_email_incorrect", "Invalid e-mail address"},
        LocalizedCase{"Posix", "en_US_POSIX", "vorlix_field_required", "This field is required"},
        LocalizedCase{"German", "de", "vorlix_email_incorrect", "Ungültige E-Mail-Adresse"},
        LocalizedCase{"GermanAustria", "de_AT", "vorlix_email_incorrect",
                      "Ungültige E-Mail-Adresse"},
        LocalizedCase{"Russian", "ru_RU", "vorlix_phone_number_incorrect",
                      "Неверный номер телефона"},
        LocalizedCase{"LanguageWithoutDirectory", "fr_FR", "vorlix_email_incorrect",
                      "vorlix_email_incorrect"},
        LocalizedCase{"KeyNotInTable", "en", "vorlix_unknown", "vorlix_unknown"},
        LocalizedCase{"EmptyKey", "en", "", ""},
        LocalizedCase{"HostTextIsNoKey", "en", "Card code?", "Card code?"}),
    [](const testing::TestParamInfo<LocalizedCase>& info) { return info.param.name; });

TEST(LocalizedTest, LanguageIsReadAtEveryCall) {
  ScopedLocale english("en");
  const std::string before = localized("vorlix_field_required");
  ScopedLocale german("de");
  EXPECT_NE(localized("vorlix_field_required"), before);
}

struct AccessorCase {
  std::string key;
  std::function<std::string()> accessor;
};

class AccessorTest : public testing::TestWithParam<AccessorCase> {};

// No string tables lie beside the test program, so each accessor yields its key, and the
// library's bundle has an English text for it.
TEST_P(AccessorTest, YieldsKeyWithoutHostTable) {
  ScopedLocale english("en");
  EXPECT_EQ(GetParam().accessor(), GetParam().key);
  EXPECT_NE(localized(GetParam().accessor()), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AccessorTest,
    testing::Values(AccessorCase{"vorlix_card_incorrect_cvc", cardIncorrectCVC},
                    AccessorCase{"vorlix_card_incorrect_length", cardIncorrectLength},
                    AccessorCase{"vorlix_card_incorrect_number", cardIncorrectNumber},
                    AccessorCase{"vorlix_card_incorrect_expiry", cardIncorrectExpiry},
                    AccessorCase{"vorlix_card_incorrect_card_holder", cardIncorrectCardHolder},
                    AccessorCase{"vorlix_order_incorrect_length", orderIncorrectLength},
                    AccessorCase{"vorlix_binding_incorrect_length", bindingIncorrectLength},
                    AccessorCase{"vorlix_pub_key_required", pubKeyRequired},
                    AccessorCase{"vorlix_binding_required", bindingRequired},
                    AccessorCase{"vorlix_binding_incorrect", bindingIncorrect},
                    AccessorCase{"vorlix_field_required", requiredField},
                    AccessorCase{"vorlix_email_incorrect", emailIncorrect},
                    AccessorCase{"vorlix_phone_number_incorrect", phoneNumberIncorrect}),
    [](const testing::TestParamInfo<AccessorCase>& info) { return info.param.key; });

// The two-stage message of a validator: the host's text, if any, looked up in the library.
TEST(ValidatorMessageTest, HostTextReplacesLibraryText) {
  ScopedLocale german("de");
  ScratchDirectory host;
  host.write("de.lproj/Localizable.json", R"({"vorlix_card_incorrect_cvc": "Prüfziffer fehlt"})");
  const std::string key = "vorlix_card_incorrect_cvc";
  const std::string hostMessage =
      localized(hostText(host.path(), currentLanguage(), key).value_or(key));
  EXPECT_EQ(hostMessage, "Prüfziffer fehlt");

  ScratchDirectory bare;
  const std::string libraryMessage =
      localized(hostText(bare.path(), currentLanguage(), key).value_or(key));
  EXPECT_EQ(libraryMessage, "Geben Sie den dreistelligen Sicherheitscode ein");
}

}  // namespace
}  // namespace sdkcore
