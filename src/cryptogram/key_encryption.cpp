#include "sdkcore/key_encryption.hpp"

#include "cryptogram/rsa_cryptogram_cipher.hpp"

namespace sdkcore {

KeyEncryption encryptWithKey(std::string_view text, const Key& key) {
  try {
    return {RSACryptogramCipher().encrypt(text, key), std::nullopt};
  } catch (const CryptogramCipherException& error) {
    return {std::nullopt, error.error()};
  }
}

}  // namespace sdkcore
