#include "bench_keys.hpp"

#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <stdexcept>

#include "cryptogram/base64.hpp"

namespace sdkcore::bench {
namespace {

std::vector<std::uint8_t> publicDer(EVP_PKEY* key) {
  unsigned char* raw = nullptr;
  const int size = i2d_PUBKEY(key, &raw);
  if (size <= 0) throw std::runtime_error("cannot encode the public key");
  std::vector<std::uint8_t> der(raw, raw + size);
  OPENSSL_free(raw);
  return der;
}

std::string pemOf(const std::vector<std::uint8_t>& der) {
  const std::string body = base64::encode(der);
  std::string pem = "-----BEGIN PUBLIC KEY-----\n";
  for (std::size_t at = 0; at < body.size(); at += 64) pem += body.substr(at, 64) + "\n";
  return pem + "-----END PUBLIC KEY-----\n";
}

}  // namespace

const BenchKey& benchKey() {
  static const BenchKey made = [] {
    openssl::PkeyPtr key(EVP_RSA_gen(2048));
    if (!key) throw std::runtime_error("key generation failed");
    std::vector<std::uint8_t> der = publicDer(key.get());
    std::string pem = pemOf(der);
    return BenchKey{std::move(key), std::move(der), std::move(pem)};
  }();
  return made;
}

std::vector<std::string> distinctKeyTexts(std::size_t count) {
  BIGNUM* n = nullptr;
  EVP_PKEY_get_bn_param(benchKey().key.get(), "n", &n);
  const openssl::BignumPtr modulus(n);
  const openssl::BignumPtr e(BN_new());
  BN_set_word(e.get(), 65537);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < count; ++i) {
    const openssl::BignumPtr next(BN_dup(modulus.get()));
    BN_add_word(next.get(), 2 * i);
    const openssl::ParamBldPtr builder(OSSL_PARAM_BLD_new());
    OSSL_PARAM_BLD_push_BN(builder.get(), "n", next.get());
    OSSL_PARAM_BLD_push_BN(builder.get(), "e", e.get());
    const openssl::ParamPtr params(OSSL_PARAM_BLD_to_param(builder.get()));
    const openssl::PkeyCtxPtr context(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    EVP_PKEY* raw = nullptr;
    EVP_PKEY_fromdata_init(context.get());
    EVP_PKEY_fromdata(context.get(), &raw, EVP_PKEY_PUBLIC_KEY, params.get());
    const openssl::PkeyPtr key(raw);
    texts.push_back(base64::encode(publicDer(key.get())));
  }
  return texts;
}

openssl::PkeyCtxPtr preparedEncryptContext(EVP_PKEY* key) {
  openssl::PkeyCtxPtr context(EVP_PKEY_CTX_new_from_pkey(nullptr, key, nullptr));
  if (!context || EVP_PKEY_encrypt_init(context.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) != 1) {
    throw std::runtime_error("cannot prepare the encryption context");
  }
  return context;
}

}  // namespace sdkcore::bench
