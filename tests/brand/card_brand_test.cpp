// The brand table's public form: lookup by type, JSON, and the security code check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sdkcore/card_brand.hpp"

namespace sdkcore {
namespace {

TEST(CardBrand, JsonFormKeepsTheDocumentedMembers) {
  struct Case {
    std::string type;
    std::string json;
  };
  const std::vector<Case> cases = {
      {"visa",
       R"({"type":"visa","niceType":"Visa","patterns":[4],"gaps":[4,8,12],"lengths":[16,18,19],)"
       R"("code":{"name":"CVV","size":3}})"},
      {"mir", R"({"type":"mir","niceType":"Mir","patterns":[[2200,2204]],"gaps":[4,8,12],)"
              R"("lengths":[16,17,18,19],"code":{"name":"CVP2","size":3}})"},
  };
  for (const Case& c : cases) {
    const std::optional<CardBrand> brand = findCardBrand(c.type);
    ASSERT_TRUE(brand.has_value()) << c.type;
    EXPECT_EQ(nlohmann::ordered_json(*brand).dump(), c.json);
  }
  EXPECT_FALSE(findCardBrand("Visa").has_value());
  EXPECT_EQ(cardBrands().size(), 15U);
}

TEST(CardBrand, SecurityCodeSizedForTheBrand) {
  struct Case {
    std::string text;
    std::string type;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"123", "visa", true},
      {"1234", "visa", false},
      {"1234", "american-express", true},
      {"123", "american-express", false},
      {"123", "", true},
      {"1234", "no-such-brand", true},
      {"12", "", false},
      {"12345", "", false},
      {"", "", false},
      {"12a", "visa", false},
      {"12 3", "", false},
      {"\xef\xbc\x91\xef\xbc\x92\xef\xbc\x93", "", false},  // full-width digits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isValidSecurityCode(c.text, c.type), c.valid) << c.text << " " << c.type;
  }
}

}  // namespace
}  // namespace sdkcore
