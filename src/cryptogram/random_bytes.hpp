#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>

namespace sdkcore {

// Thrown when the random generator cannot supply bytes.
class RandomSourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fills 'out' with bytes from the operating system's cryptographic random generator, in every
// build: getrandom() on Linux and Android (the kernel's device where the system call is missing),
// arc4random_buf() on Apple platforms, getentropy() elsewhere. OpenSSL's generator is never used.
// Small requests are served from a per-thread buffer that is refilled in one large draw, which
// costs about as much as a draw of 16 bytes. Each byte handed out is wiped from the buffer at once.
//
// Fork-safe: the buffer lies in memory that the kernel zeroes in a child process
// (MADV_WIPEONFORK), and a zeroed buffer counts as empty; a pthread_atfork() count catches a child
// where that mark is ignored. So a child never hands out bytes its parent drew. Where neither is
// available (Apple platforms among them), every call draws from the generator directly.
// Throws RandomSourceError when the generator fails. Thread-safe.
void randomBytes(std::span<std::uint8_t> out);

}  // namespace sdkcore
