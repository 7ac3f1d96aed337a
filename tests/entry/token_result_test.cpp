#include "sdkcore/token_result.hpp"

#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace sdkcore {
namespace {

TEST(TokenResultTest, TokenConstructorLeavesErrorsEmpty) {
  const TokenResult withToken(std::optional<std::string>("abc"));
  EXPECT_EQ(withToken.token, "abc");
  EXPECT_TRUE(withToken.errors.empty());

  const TokenResult withoutToken(std::optional<std::string>{});
  EXPECT_EQ(withoutToken.token, std::nullopt);
  EXPECT_TRUE(withoutToken.errors.empty());
}

TEST(TokenResultTest, ErrorsConstructorLeavesTokenAbsent) {
  const std::map<ParamField, std::string> errors{{ParamField::PAN, "required"}};
  const TokenResult result(errors);
  EXPECT_EQ(result.token, std::nullopt);
  EXPECT_EQ(result.errors, errors);
}

}  // namespace
}  // namespace sdkcore
