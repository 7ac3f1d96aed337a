#include "sdkcore/resource_bundle.hpp"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/localization_test_support.hpp"

namespace sdkcore {
namespace {

using testing_support::ScratchDirectory;

const std::vector<std::string> kLibraryKeys = {"vorlix_card_incorrect_cvc",
                                               "vorlix_card_incorrect_length",
                                               "vorlix_card_incorrect_number",
                                               "vorlix_card_incorrect_expiry",
                                               "vorlix_card_incorrect_card_holder",
                                               "vorlix_order_incorrect_length",
                                               "vorlix_binding_incorrect_length",
                                               "vorlix_pub_key_required",
                                               "vorlix_binding_required",
                                               "vorlix_binding_incorrect",
                                               "vorlix_field_required",
                                               "vorlix_email_incorrect",
                                               "vorlix_phone_number_incorrect",
                                               "sdkcore_error_description"};

struct LookupCase {
  std::string name;
  std::string language;
  std::string key;
  std::optional<std::string> text;
};

class ResourceBundleLookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(ResourceBundleLookupTest, ReadsTablesFromDirectory) {
  ScratchDirectory dir;
  dir.write("en.lproj/Localizable.json", R"({"k": "English", "n": 5, "e": ""})");
  dir.write("de.lproj/Localizable.json", R"({"k": "Deutsch"})");
  dir.write("fr.lproj/Localizable.json", R"({"k": "Fran)");     // malformed
  dir.write("es.lproj/Localizable.json", "{\"k\": \"\xFF\"}");  // invalid UTF-8
  dir.write("it.lproj/Localizable.json", R"(["k"])");           // not an object
  dir.write("pt.lproj/Other.json", R"({"k": "Outro"})");        // not the default table
  dir.write("nl/Localizable.json", R"({"k": "Nederlands"})");   // no lproj extension
  const ResourceBundle bundle = ResourceBundle::fromDirectory(dir.path());

  EXPECT_EQ(bundle.path(), dir.path());
  EXPECT_EQ(bundle.text(GetParam().language, GetParam().key), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ResourceBundleLookupTest,
    testing::Values(LookupCase{"Present", "en", "k", "English"},
                    LookupCase{"OtherLanguage", "de", "k", "Deutsch"},
                    LookupCase{"EmptyTextIsAText", "en", "e", ""},
                    LookupCase{"MissingKey", "de", "absent", std::nullopt},
                    LookupCase{"NonStringSkipped", "en", "n", std::nullopt},
                    LookupCase{"NoDirectory", "ja", "k", std::nullopt},
                    LookupCase{"MalformedTable", "fr", "k", std::nullopt},
                    LookupCase{"InvalidUtf8Table", "es", "k", std::nullopt},
                    LookupCase{"ArrayTable", "it", "k", std::nullopt},
                    LookupCase{"OtherTableName", "pt", "k", std::nullopt},
                    LookupCase{"PlainDirectory", "nl", "k", std::nullopt},
                    LookupCase{"RegionIsNotALanguage", "en_US", "k", std::nullopt}),
    [](const testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

TEST(ResourceBundleTest, MissingDirectoryGivesEmptyBundle) {
  const ResourceBundle bundle = ResourceBundle::fromDirectory("/nonexistent/sdkcore/bundle");
  EXPECT_TRUE(bundle.languages().empty());
}

TEST(ResourceBundleTest, ShipsEveryKeyInEveryLanguage) {
  const ResourceBundle bundle = ResourceBundle::fromDirectory(SDKCORE_TEST_BUNDLE_SOURCE);
  const std::vector<std::string> languages = bundle.languages();
  EXPECT_EQ(languages, (std::vector<std::string>{"de", "en", "ru"}));
  for (const std::string& language : languages) {
    for (const std::string& key : kLibraryKeys) {
      const std::optional<std::string> text = bundle.text(language, key);
      ASSERT_TRUE(text.has_value()) << language << " lacks " << key;
      EXPECT_NE(*text, key);
      EXPECT_FALSE(text->empty());
    }
  }
}

TEST(ResourceBundleTest, CompiledInTablesEqualTheSourceFiles) {
  const ResourceBundle compiled = ResourceBundle::compiledIn();
  const ResourceBundle source = ResourceBundle::fromDirectory(SDKCORE_TEST_BUNDLE_SOURCE);
  EXPECT_FALSE(compiled.path().has_value());
  ASSERT_EQ(compiled.languages(), source.languages());
  for (const std::string& language : source.languages()) {
    for (const std::string& key : kLibraryKeys) {
      EXPECT_EQ(compiled.text(language, key), source.text(language, key)) << language << key;
    }
  }
}

}  // namespace
}  // namespace sdkcore
