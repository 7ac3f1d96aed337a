#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "cryptogram/random_bytes.hpp"

namespace sdkcore {

// What PKCS #1 v1.5 encryption adds to a message at least: two leading bytes, eight random ones
// and a zero separator. A message may be at most the modulus length minus this.
inline constexpr std::size_t kPkcs1v15Overhead = 11;

// A source of random bytes that fills all of its argument or throws.
using RandomFill = void (*)(std::span<std::uint8_t> out);

// Writes the RSAES-PKCS1-v1_5 encryption block of 'message' (RFC 8017, 7.2.1) into 'block', which
// is as long as the modulus: 00 02 PS 00 message, where PS fills the rest with random nonzero
// bytes (at least eight); a zero byte drawn for PS is replaced by drawing again. 'random' is
// randomBytes() but for tests. The block then holds the message: the caller wipes it.
// Throws CryptogramCipherException (encryptionFailed) when the message is longer than the block
// size minus kPkcs1v15Overhead, and RandomSourceError when the source fails or keeps giving zero
// bytes. Thread-safe for distinct blocks.
void pkcs1v15EncryptionBlock(std::span<const std::uint8_t> message, std::span<std::uint8_t> block,
                             RandomFill random = randomBytes);

}  // namespace sdkcore
