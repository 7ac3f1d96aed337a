#include "cryptogram/pkcs1_encryption_block.hpp"

#include <algorithm>

#include "sdkcore/cryptogram_cipher_error.hpp"

namespace sdkcore {
namespace {

// A sound generator gives this many zero bytes in a row with a probability of 2^-128; a source
// that does is broken, and refusing it beats waiting forever.
constexpr int kMaxRedraws = 16;

// Replaces every zero byte of 'padding' by a nonzero one drawn afresh.
void replaceZeroBytes(std::span<std::uint8_t> padding, RandomFill random) {
  for (std::uint8_t& byte : padding) {
    for (int redraws = 0; byte == 0; ++redraws) {
      if (redraws == kMaxRedraws) throw RandomSourceError("random generator gives only zero bytes");
      random({&byte, 1});
    }
  }
}

}  // namespace

void pkcs1v15EncryptionBlock(std::span<const std::uint8_t> message, std::span<std::uint8_t> block,
                             RandomFill random) {
  if (block.size() < kPkcs1v15Overhead || message.size() > block.size() - kPkcs1v15Overhead) {
    throw CryptogramCipherException(CryptogramCipherError::encryptionFailed);
  }
  const std::size_t paddingSize = block.size() - message.size() - 3;
  block[0] = 0x00;
  block[1] = 0x02;
  const std::span<std::uint8_t> padding = block.subspan(2, paddingSize);
  random(padding);
  replaceZeroBytes(padding, random);
  block[2 + paddingSize] = 0x00;
  std::copy(message.begin(), message.end(), block.begin() + 3 + paddingSize);
}

}  // namespace sdkcore
