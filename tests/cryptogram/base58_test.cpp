#include "sdkcore/base58.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/base58_reference.hpp"

namespace sdkcore {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

struct VectorCase {
  Bytes data;
  std::string text;
};

class Base58VectorTest : public ::testing::TestWithParam<VectorCase> {};

TEST_P(Base58VectorTest, EncodesAndDecodes) {
  EXPECT_EQ(Base58::encode(GetParam().data), GetParam().text);
  EXPECT_EQ(Base58::decode(GetParam().text), GetParam().data);
}

INSTANTIATE_TEST_SUITE_P(Vectors, Base58VectorTest,
                         ::testing::Values(VectorCase{{0x00}, "1"}, VectorCase{{0x00, 0x00}, "11"},
                                           VectorCase{{0x00, 0x00, 0x01}, "112"},
                                           VectorCase{{0x01}, "2"}, VectorCase{{0x39}, "z"},
                                           VectorCase{{0x3A}, "21"}, VectorCase{{0xFF}, "5Q"},
                                           VectorCase{{0x00, 0xFF, 0xFF}, "1LUv"},
                                           VectorCase{bytesOf("hello world"), "StV1DL6CwTryKyV"},
                                           VectorCase{bytesOf("BIND-77"), "3WhDgViUq4"},
                                           VectorCase{bytesOf(" BIND-77 "), "QpJitz5kj4n3"}));

TEST(Base58Test, EmptyEncodesToEmptyButEmptyDoesNotDecode) {
  EXPECT_EQ(Base58::encode({}), "");
  EXPECT_EQ(Base58::decode(""), std::nullopt);
}

TEST(Base58Test, RandomBuffersRoundTrip) {
  std::mt19937 random(58);
  for (int round = 0; round < 300; ++round) {
    Bytes data(static_cast<std::size_t>(random() % 4), 0);  // leading zero bytes
    const std::size_t size = random() % 80;
    for (std::size_t i = 0; i < size; ++i) data.push_back(static_cast<std::uint8_t>(random()));
    if (data.empty()) data.push_back(0);
    const std::string text = Base58::encode(data);
    EXPECT_EQ(Base58::decode(text), data) << text;
  }
}

TEST(Base58Test, LongInputRoundTrips) {
  Bytes data(4000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 1);
  data[0] = 0xFF;
  EXPECT_EQ(Base58::decode(Base58::encode(data)), data);
}

TEST(Base58Test, AgreesWithDigitByDigitConversion) {
  std::mt19937 random(5858);
  for (int round = 0; round < 2000; ++round) {
    Bytes data(random() % 3, 0);
    const std::size_t size = random() % 40;  // across several limb and group boundaries
    for (std::size_t i = 0; i < size; ++i) {
      const auto pick = random() % 4;  // runs of 0x00 and 0xFF stress the carries
      data.push_back(pick == 0 ? 0x00 : pick == 1 ? 0xFF : static_cast<std::uint8_t>(random()));
    }
    if (data.empty()) continue;
    const std::string expected = testing::referenceBase58Encode(data);
    ASSERT_EQ(Base58::encode(data), expected);
    ASSERT_EQ(Base58::decode(expected), data) << expected;
  }
}

// All-0xFF and random buffers of every length up to 200 bytes: the largest values at every
// alignment of the byte groups and limbs, where the carries are largest.
TEST(Base58Test, AgreesWithDigitByDigitConversionAtEveryLength) {
  std::mt19937 random(58);
  for (std::size_t size = 1; size <= 200; ++size) {
    Bytes randomBytes(size);
    for (auto& byte : randomBytes) byte = static_cast<std::uint8_t>(random());
    for (const Bytes& data : {Bytes(size, 0xFF), randomBytes}) {
      const std::string expected = testing::referenceBase58Encode(data);
      ASSERT_EQ(Base58::encode(data), expected) << size;
      ASSERT_EQ(Base58::decode(expected), data) << expected;
    }
  }
}

TEST(Base58Test, RefusesCharactersOutsideTheAlphabet) {
  for (std::string_view text :
       {"0", "O", "I", "l", "2O", "21l", " 21", "21 ", "2\t1", "21\n", "+", "\xC3\xA9",
        "2\xE2\x80\x8B"
        "1",
        "1\xEF\xBC\x91"}) {
    EXPECT_EQ(Base58::decode(text), std::nullopt) << text;
  }
  EXPECT_EQ(Base58::decode(std::string_view("2\0", 2)), std::nullopt);
}

}  // namespace
}  // namespace sdkcore
