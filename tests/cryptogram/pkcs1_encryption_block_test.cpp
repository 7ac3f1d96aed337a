#include "cryptogram/pkcs1_encryption_block.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "sdkcore/cryptogram_cipher_error.hpp"

namespace sdkcore {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A message that holds zero bytes too: the separator is the first zero after the padding only.
Bytes messageOf(std::size_t length) {
  Bytes message(length);
  for (std::size_t i = 0; i < length; ++i) message[i] = static_cast<std::uint8_t>(i * 37);
  return message;
}

struct BlockCase {
  const char* name;
  std::size_t modulusLength;
  std::size_t messageLength;
  bool fits;
};

void PrintTo(const BlockCase& c, std::ostream* out) { *out << c.name; }

class Pkcs1BlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(Pkcs1BlockTest, IsZeroTwoNonzeroPaddingZeroMessageOrFails) {
  const BlockCase& c = GetParam();
  const Bytes message = messageOf(c.messageLength);
  Bytes block(c.modulusLength, 0xEE);
  if (!c.fits) {
    try {
      pkcs1v15EncryptionBlock(message, block);
      FAIL() << "a message of " << c.messageLength << " bytes was padded";
    } catch (const CryptogramCipherException& error) {
      EXPECT_EQ(error.error(), CryptogramCipherError::encryptionFailed);
    }
    return;
  }
  pkcs1v15EncryptionBlock(message, block);
  const std::size_t paddingEnd = c.modulusLength - c.messageLength - 1;
  ASSERT_GE(paddingEnd - 2, 8U);
  EXPECT_EQ(block[0], 0x00);
  EXPECT_EQ(block[1], 0x02);
  EXPECT_EQ(std::count(block.begin() + 2, block.begin() + paddingEnd, 0), 0);
  EXPECT_EQ(block[paddingEnd], 0x00);
  EXPECT_EQ(Bytes(block.begin() + paddingEnd + 1, block.end()), message);
}

INSTANTIATE_TEST_SUITE_P(Lengths, Pkcs1BlockTest,
                         ::testing::Values(BlockCase{"Empty1024", 128, 0, true},
                                           BlockCase{"PaymentString2048", 256, 110, true},
                                           BlockCase{"Longest1024", 128, 117, true},
                                           BlockCase{"Longest2048", 256, 245, true},
                                           BlockCase{"Longest4096", 512, 501, true},
                                           BlockCase{"OneOver1024", 128, 118, false},
                                           BlockCase{"OneOver2048", 256, 246, false},
                                           BlockCase{"AsLongAsTheModulus", 256, 256, false},
                                           BlockCase{"BlockBelowTheOverhead", 10, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A source that gives zero bytes for its first 'zeros' bytes, then 0x5A.
std::size_t zerosLeft = 0;
void zerosFirst(std::span<std::uint8_t> out) {
  for (std::uint8_t& byte : out) {
    byte = zerosLeft > 0 ? 0 : 0x5A;
    if (zerosLeft > 0) --zerosLeft;
  }
}

TEST(Pkcs1BlockTest, ZeroBytesOfThePaddingAreDrawnAgain) {
  const Bytes message = messageOf(200);
  Bytes block(256);
  zerosLeft = 53 + 5;  // the whole padding, then a few of the redraws too
  pkcs1v15EncryptionBlock(message, block, zerosFirst);
  EXPECT_EQ(Bytes(block.begin() + 2, block.begin() + 55), Bytes(53, 0x5A));
  EXPECT_EQ(block[55], 0x00);
}

TEST(Pkcs1BlockTest, SourceOfOnlyZeroBytesIsRefused) {
  const Bytes message = messageOf(10);
  Bytes block(128);
  zerosLeft = SIZE_MAX;
  EXPECT_THROW(pkcs1v15EncryptionBlock(message, block, zerosFirst), RandomSourceError);
}

}  // namespace
}  // namespace sdkcore
