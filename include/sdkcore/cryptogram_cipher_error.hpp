#pragma once

#include <cstdint>
#include <exception>
#include <string_view>

namespace sdkcore {

// Why encrypting a payment string failed.
enum class CryptogramCipherError : std::uint8_t {
  keyCreationFailed,
  algorithmNotSupported,
  encryptionFailed,
};

// Returns the case name, such as "keyCreationFailed".
std::string_view caseName(CryptogramCipherError error) noexcept;

// The exception that carries a `CryptogramCipherError`; what() is the case name.
class CryptogramCipherException : public std::exception {
 public:
  explicit CryptogramCipherException(CryptogramCipherError error) noexcept : error_(error) {}
  CryptogramCipherError error() const noexcept { return error_; }
  const char* what() const noexcept override;

 private:
  CryptogramCipherError error_;
};

}  // namespace sdkcore
