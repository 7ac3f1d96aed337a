#include "token_decryption.hpp"

#include <array>
#include <memory>
#include <vector>

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include "cli_support.hpp"

namespace sdkcore::cli {
namespace {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct PkeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct PkeyCtxFree {
  void operator()(EVP_PKEY_CTX* ctx) const { EVP_PKEY_CTX_free(ctx); }
};
struct EncodeCtxFree {
  void operator()(EVP_ENCODE_CTX* ctx) const { EVP_ENCODE_CTX_free(ctx); }
};

std::unique_ptr<EVP_PKEY, PkeyFree> readPrivateKey(std::string_view pem) {
  std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) throw std::bad_alloc();
  std::unique_ptr<EVP_PKEY, PkeyFree> key(
      PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
  if (!key) throw UsageError("the private key is not a PEM private key");
  if (!EVP_PKEY_is_a(key.get(), "RSA")) throw UsageError("the private key is not an RSA key");
  return key;
}

// OpenSSL's block decoder, which skips white space and checks the padding.
std::vector<unsigned char> decodeBase64(std::string_view text) {
  std::unique_ptr<EVP_ENCODE_CTX, EncodeCtxFree> ctx(EVP_ENCODE_CTX_new());
  if (!ctx) throw std::bad_alloc();
  std::vector<unsigned char> out(text.size() / 4 * 3 + 3);
  EVP_DecodeInit(ctx.get());
  int length = 0;
  int finalLength = 0;
  const int status = EVP_DecodeUpdate(ctx.get(), out.data(), &length,
                                      reinterpret_cast<const unsigned char*>(text.data()),
                                      static_cast<int>(text.size()));
  if (status < 0 || EVP_DecodeFinal(ctx.get(), out.data() + length, &finalLength) != 1) {
    throw DecryptionError("the token is not Base64");
  }
  out.resize(static_cast<std::size_t>(length + finalLength));
  if (out.empty()) throw DecryptionError("the token is empty");
  return out;
}

}  // namespace

std::string decryptToken(std::string_view token, std::string_view privatePem) {
  const auto key = readPrivateKey(privatePem);
  const std::vector<unsigned char> cipherText = decodeBase64(token);
  std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree> ctx(EVP_PKEY_CTX_new(key.get(), nullptr));
  if (!ctx || EVP_PKEY_decrypt_init(ctx.get()) <= 0 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0) {
    throw DecryptionError("the private key cannot decrypt");
  }
  // Newer OpenSSL releases answer bad padding with random bytes ("implicit rejection"); a
  // debugging tool must say the token does not decrypt instead. Older releases ignore the name.
  unsigned int implicitRejection = 0;
  std::array<OSSL_PARAM, 2> params = {
      OSSL_PARAM_construct_uint("implicit-rejection", &implicitRejection),
      OSSL_PARAM_construct_end()};
  EVP_PKEY_CTX_set_params(ctx.get(), params.data());
  std::size_t length = 0;
  if (EVP_PKEY_decrypt(ctx.get(), nullptr, &length, cipherText.data(), cipherText.size()) <= 0) {
    throw DecryptionError("the token does not decrypt with this private key");
  }
  std::string plain(length, '\0');
  if (EVP_PKEY_decrypt(ctx.get(), reinterpret_cast<unsigned char*>(plain.data()), &length,
                       cipherText.data(), cipherText.size()) <= 0) {
    throw DecryptionError("the token does not decrypt with this private key");
  }
  plain.resize(length);
  return plain;
}

nlohmann::ordered_json paymentStringJson(const std::string& paymentString) {
  static constexpr std::array<const char*, 9> kNames = {"date",     "uuid",       "pan",
                                                        "cvc",      "expiry",     "mdOrder",
                                                        "storedId", "cardholder", "registeredFrom"};
  nlohmann::ordered_json result = {{"paymentString", paymentString}};
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = paymentString.find('/', start);
    fields.push_back(paymentString.substr(start, slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  if (fields.size() == kNames.size()) {
    nlohmann::ordered_json named = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < kNames.size(); ++i) named[kNames[i]] = fields[i];
    result["fields"] = named;
  }
  return result;
}

}  // namespace sdkcore::cli
