#include "support/test_keys.hpp"

#include "support/openssl_test_handles.hpp"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace sdkcore::testing {
namespace {

TestKeyPair makeKeyPair(int bits) {
  PkeyPtr key(EVP_RSA_gen(static_cast<unsigned>(bits)));
  if (!key) throw std::runtime_error("RSA key generation failed");
  BioPtr pub(BIO_new(BIO_s_mem()));
  BioPtr priv(BIO_new(BIO_s_mem()));
  if (!PEM_write_bio_PUBKEY(pub.get(), key.get()) ||
      !PEM_write_bio_PrivateKey(priv.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr)) {
    throw std::runtime_error("PEM export failed");
  }
  return {bioText(pub.get()), bioText(priv.get())};
}

std::optional<std::vector<unsigned char>> base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<unsigned char> out(text.size() / 4 * 3);
  const int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
  if (n < 0) return std::nullopt;
  std::size_t size = static_cast<std::size_t>(n);
  if (text.ends_with("==")) {
    size -= 2;
  } else if (text.ends_with("=")) {
    size -= 1;
  }
  out.resize(size);
  return out;
}

}  // namespace

const TestKeyPair& testKeyPair(int bits) {
  static std::mutex mutex;
  static std::map<int, TestKeyPair> pairs;
  std::lock_guard lock(mutex);
  auto it = pairs.find(bits);
  if (it == pairs.end()) it = pairs.emplace(bits, makeKeyPair(bits)).first;
  return it->second;
}

std::optional<std::string> decryptToken(std::string_view token, std::string_view privatePem) {
  const auto cipher = base64Decode(token);
  if (!cipher) return std::nullopt;
  BioPtr bio(BIO_new_mem_buf(privatePem.data(), static_cast<int>(privatePem.size())));
  PkeyPtr key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
  if (!key) return std::nullopt;
  PkeyCtxPtr ctx(EVP_PKEY_CTX_new(key.get(), nullptr));
  if (!ctx || EVP_PKEY_decrypt_init(ctx.get()) <= 0 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0) {
    return std::nullopt;
  }
  std::size_t size = 0;
  if (EVP_PKEY_decrypt(ctx.get(), nullptr, &size, cipher->data(), cipher->size()) <= 0) {
    return std::nullopt;
  }
  std::string plain(size, '\0');
  if (EVP_PKEY_decrypt(ctx.get(), reinterpret_cast<unsigned char*>(plain.data()), &size,
                       cipher->data(), cipher->size()) <= 0) {
    return std::nullopt;
  }
  plain.resize(size);
  return plain;
}

std::string demoKeyText(std::string_view name) {
  std::ifstream file(std::string(SDKCORE_DEMO_KEY_DIR) + "/" + std::string(name), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) throw std::runtime_error("demo key missing");
  return text.str();
}

}  // namespace sdkcore::testing
