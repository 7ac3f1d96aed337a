#include "cryptogram/base64.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace sdkcore {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(Base64Test, EncodesRfc4648VectorsOnOneLine) {
  const std::pair<std::string_view, std::string_view> vectors[] = {{"", ""},
                                                                   {"f", "Zg=="},
                                                                   {"fo", "Zm8="},
                                                                   {"foo", "Zm9v"},
                                                                   {"foob", "Zm9vYg=="},
                                                                   {"fooba", "Zm9vYmE="},
                                                                   {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(base64::encode(bytesOf(plain)), encoded);
    EXPECT_EQ(base64::decodeStrict(encoded), bytesOf(plain)) << encoded;
  }
  EXPECT_EQ(base64::encode(Bytes(100, 0xFB)).find('\n'), std::string::npos);
}

TEST(Base64Test, RoundTripsEveryLengthAndByte) {
  std::mt19937 random(7);
  for (std::size_t size = 0; size < 70; ++size) {
    Bytes data(size);
    for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
    EXPECT_EQ(base64::decodeStrict(base64::encode(data)), data) << size;
  }
}

TEST(Base64Test, RefusesAnythingButStrictBase64) {
  for (std::string_view text : {"Zg", "Zg=", "Zm9vY", "Z===", "====", "Zg==Zg==", "Zm=v", " Zm9v",
                                "Zm9v ", "Zm9v\n", "Zm\r\n9v", "Zm-v", "Zm_v"}) {
    EXPECT_EQ(base64::decodeStrict(text), std::nullopt) << text;
  }
  EXPECT_EQ(base64::decodeStrict(std::string_view("Zm9v\0\0\0\0", 8)), std::nullopt);
}

}  // namespace
}  // namespace sdkcore
