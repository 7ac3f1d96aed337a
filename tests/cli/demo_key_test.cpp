#include "demo_key.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "cryptogram/rsa_cryptogram_cipher.hpp"
#include "support/test_keys.hpp"

namespace sdkcore::cli {
namespace {

TEST(DemoKeyTest, PublicAndPrivateKeyBelongTogether) {
  const Key key(std::string(demoPublicKeyPem()), "RSA", std::numeric_limits<std::int64_t>::max());
  const std::string token = RSACryptogramCipher().encrypt("4111111111111111/123", key);
  EXPECT_EQ(token.size(), 344U);  // 2048 bits
  EXPECT_EQ(testing::decryptToken(token, demoPrivateKeyPem()), "4111111111111111/123");
}

TEST(DemoKeyTest, WarningIsOneLineOnStandardError) {
  ::testing::internal::CaptureStderr();
  warnDemoKeyInUse("encrypt");
  const std::string warning = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(warning.starts_with("sdkcore encrypt: "));
  EXPECT_NE(warning.find("test key"), std::string::npos);
  EXPECT_EQ(warning.find('\n'), warning.size() - 1);
}

}  // namespace
}  // namespace sdkcore::cli
