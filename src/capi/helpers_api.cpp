// The helper functions of the C interface: version, buffers, the message language, Base58, stored
// payment method ids and the public key check.

#include <cstdint>
#include <limits>
#include <span>
#include <string>

#include "base/wiped_text.hpp"
#include "capi/abi_support.hpp"
#include "cryptogram/rsa_cryptogram_cipher.hpp"
#include "sdkcore/base58.hpp"
#include "sdkcore/binding_utils.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/key.hpp"
#include "sdkcore/localized_messages.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/version.h"

// The C interface refuses input at the limit the C++ interface documents.
static_assert(SDKCORE_BASE58_MAX_INPUT == sdkcore::Base58::kMaxInputBytes);

namespace {

using sdkcore::capi::guarded;
using sdkcore::capi::isText;
using sdkcore::capi::setIfGiven;
using sdkcore::capi::textOf;

// The sdkcore_cipher_error of each CryptogramCipherError.
int cipherErrorCode(sdkcore::CryptogramCipherError error) noexcept {
  switch (error) {
    case sdkcore::CryptogramCipherError::keyCreationFailed:
      return SDKCORE_CIPHER_KEY_CREATION_FAILED;
    case sdkcore::CryptogramCipherError::algorithmNotSupported:
      return SDKCORE_CIPHER_ALGORITHM_NOT_SUPPORTED;
    case sdkcore::CryptogramCipherError::encryptionFailed:
      break;
  }
  return SDKCORE_CIPHER_ENCRYPTION_FAILED;
}

}  // namespace

extern "C" {

const char* sdkcore_version(void) { return SDKCORE_VERSION_STRING; }

uint32_t sdkcore_version_number(void) { return SDKCORE_VERSION_NUMBER; }

int sdkcore_free(void* buffer) {
  sdkcore::capi::freeBuffer(buffer);
  return SDKCORE_OK;
}

int sdkcore_set_message_language(const char* language, size_t language_len) {
  return guarded([&] {
    if (!isText(language, language_len)) return SDKCORE_INVALID_ARGUMENT;
    const bool set = sdkcore::setMessageLanguage(textOf(language, language_len));
    return set ? SDKCORE_OK : SDKCORE_INVALID_ARGUMENT;
  });
}

int sdkcore_base58_encode(const uint8_t* data, size_t data_len, char** out_text, size_t* out_len) {
  return guarded([&] {
    if (out_text == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_text = nullptr;
    setIfGiven(out_len, size_t{0});
    if (!isText(data, data_len)) return SDKCORE_INVALID_ARGUMENT;
    if (data_len > SDKCORE_BASE58_MAX_INPUT) return SDKCORE_INPUT_TOO_LARGE;
    const std::span<const std::uint8_t> bytes(data, data == nullptr ? 0 : data_len);
    sdkcore::capi::handOut(sdkcore::Base58::encode(bytes), out_text, out_len);
    return SDKCORE_OK;
  });
}

int sdkcore_base58_decode(const char* text, size_t text_len, uint8_t** out_data, size_t* out_len) {
  return guarded([&] {
    if (out_data == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_data = nullptr;
    setIfGiven(out_len, size_t{0});
    if (!isText(text, text_len)) return SDKCORE_INVALID_ARGUMENT;
    if (text_len > SDKCORE_BASE58_MAX_INPUT) return SDKCORE_INPUT_TOO_LARGE;
    auto bytes = sdkcore::Base58::decode(textOf(text, text_len));
    if (!bytes) return SDKCORE_OK;  // no Base58: *out_data stays NULL
    // The bytes may be a binding id, like those of a stored payment method id.
    const sdkcore::WipeOnExit wipeBytes(*bytes);
    *out_data = static_cast<uint8_t*>(sdkcore::capi::newBuffer(*bytes));
    setIfGiven(out_len, bytes->size());
    return SDKCORE_OK;
  });
}

int sdkcore_decode_stored_payment_method_id(const char* id, size_t id_len, char** out_binding_id,
                                            size_t* out_len) {
  return guarded([&] {
    if (out_binding_id == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_binding_id = nullptr;
    setIfGiven(out_len, size_t{0});
    if (!isText(id, id_len)) return SDKCORE_INVALID_ARGUMENT;
    if (id_len > SDKCORE_BASE58_MAX_INPUT) return SDKCORE_INPUT_TOO_LARGE;
    std::string bindingId = sdkcore::BindingUtils::decodeBindingId(textOf(id, id_len));
    const sdkcore::WipeOnExit wipeBindingId(bindingId);
    sdkcore::capi::handOut(bindingId, out_binding_id, out_len);
    return SDKCORE_OK;
  });
}

int sdkcore_check_public_key(const char* key, size_t key_len, int* out_cipher_error) {
  return guarded([&] {
    if (out_cipher_error == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_cipher_error = SDKCORE_CIPHER_OK;
    if (!isText(key, key_len)) return SDKCORE_INVALID_ARGUMENT;
    // The same checks as a token's, whichever cryptography encrypts: the key is read, checked and
    // prepared for encryption.
    try {
      const sdkcore::ErrorQueueMark mark;
      sdkcore::cachedRsaKey(textOf(key, key_len));
    } catch (const sdkcore::CryptogramCipherException& error) {
      *out_cipher_error = cipherErrorCode(error.error());
    }
    return SDKCORE_OK;
  });
}

}  // extern "C"
