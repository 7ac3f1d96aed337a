#include "sdkcore/cryptogram_cipher_error.hpp"

namespace sdkcore {

std::string_view caseName(CryptogramCipherError error) noexcept {
  switch (error) {
    case CryptogramCipherError::keyCreationFailed:
      return "keyCreationFailed";
    case CryptogramCipherError::algorithmNotSupported:
      return "algorithmNotSupported";
    case CryptogramCipherError::encryptionFailed:
      return "encryptionFailed";
  }
  return "unknown";
}

const char* CryptogramCipherException::what() const noexcept {
  // Every case name is a literal, so its data is NUL-terminated.
  return caseName(error_).data();
}

}  // namespace sdkcore
