#include "capi/crypto_provider_api.hpp"

namespace sdkcore::capi {
namespace {

class CCryptoProvider final : public CryptoProvider {
 public:
  explicit CCryptoProvider(const sdkcore_crypto_provider& provider) noexcept
      : provider_(provider) {}

  bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
               std::vector<std::uint8_t>& cipher) const override {
    const sdkcore_rsa_public_key cKey{key.modulus.data(),
                                      key.modulus.size(),
                                      key.exponent.data(),
                                      key.exponent.size(),
                                      key.pkcs1Der.data(),
                                      key.pkcs1Der.size(),
                                      key.subjectPublicKeyInfoDer.data(),
                                      key.subjectPublicKeyInfoDer.size()};
    // Room for one byte more than the modulus, so that a provider that answers too long a cipher
    // text can say so within the buffer.
    cipher.resize(key.modulus.size() + 1);
    std::size_t length = 0;
    const int status = provider_.encrypt(provider_.user_data, &cKey, plain.data(), plain.size(),
                                         cipher.data(), cipher.size(), &length);
    if (status != SDKCORE_OK || length > cipher.size()) return false;
    cipher.resize(length);
    return true;
  }

  bool randomBytes(std::span<std::uint8_t> out) const override {
    if (provider_.random_bytes == nullptr) return CryptoProvider::randomBytes(out);
    return provider_.random_bytes(provider_.user_data, out.data(), out.size()) == SDKCORE_OK;
  }

 private:
  const sdkcore_crypto_provider provider_;
};

}  // namespace

std::shared_ptr<const CryptoProvider> cryptoProviderOf(const sdkcore_crypto_provider& provider) {
  return std::make_shared<const CCryptoProvider>(provider);
}

}  // namespace sdkcore::capi
