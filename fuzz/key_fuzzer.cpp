// Key text -> import -> encryption. The cipher gives a token or a cipher error, nothing else; and
// every key the library accepts, OpenSSL accepts too with the same modulus and exponent
// (SubjectPublicKeyInfo and PKCS #1 keys; a certificate's body is not verified by the library, so
// one that OpenSSL refuses is no finding).
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cryptogram/base64.hpp"
#include "cryptogram/der_reader.hpp"
#include "cryptogram/rsa_cryptogram_cipher.hpp"
#include "cryptogram/rsa_public_key.hpp"
#include "cryptogram/rsa_public_key_der.hpp"
#include "fuzz_support.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/key.hpp"
#include "support/openssl_test_handles.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
using sdkcore::DerReader;

enum class Structure { pkcs1, subjectPublicKeyInfo, certificate, other };

// Which structure the outer SEQUENCE holds: two INTEGERs, an algorithm and a key, or a
// certificate's three parts.
Structure structureOf(std::span<const std::uint8_t> der) {
  try {
    DerReader outer(DerReader(der).read(DerReader::kSequence));
    if (outer.peekTag() == DerReader::kInteger) return Structure::pkcs1;
    int elements = 0;
    for (; outer.peekTag(); ++elements) outer.read(*outer.peekTag());
    if (elements == 2) return Structure::subjectPublicKeyInfo;
    if (elements == 3) return Structure::certificate;
  } catch (const sdkcore::DerFormatError&) {
  }
  return Structure::other;
}

// The key OpenSSL reads from all of 'der' as the given structure; null when it refuses.
sdkcore::testing::PkeyPtr openSslKey(std::span<const std::uint8_t> der, Structure structure) {
  const unsigned char* at = der.data();
  const auto length = static_cast<long>(der.size());
  sdkcore::testing::PkeyPtr key;
  if (structure == Structure::subjectPublicKeyInfo) {
    key.reset(d2i_PUBKEY(nullptr, &at, length));
  } else if (structure == Structure::pkcs1) {
    key.reset(d2i_PublicKey(EVP_PKEY_RSA, nullptr, &at, length));
  } else if (structure == Structure::certificate) {
    const sdkcore::testing::X509Ptr certificate(d2i_X509(nullptr, &at, length));
    if (certificate) key.reset(X509_get_pubkey(certificate.get()));
  }
  if (at != der.data() + der.size()) return nullptr;
  return key;
}

Bytes numberOf(EVP_PKEY* key, const char* name) {
  BIGNUM* raw = nullptr;
  if (EVP_PKEY_get_bn_param(key, name, &raw) != 1) return {};
  const sdkcore::testing::BignumPtr number(raw);
  Bytes bytes(static_cast<std::size_t>(BN_num_bytes(number.get())));
  BN_bn2bin(number.get(), bytes.data());
  return bytes;
}

void compareWithOpenSsl(std::span<const std::uint8_t> der) {
  try {
    sdkcore::RsaPublicKey::import(der);
  } catch (const sdkcore::CryptogramCipherException&) {
    return;
  }
  const Structure structure = structureOf(der);
  SDKCORE_FUZZ_CHECK(structure != Structure::other);
  const auto key = openSslKey(der, structure);
  if (!key && structure == Structure::certificate) return;
  SDKCORE_FUZZ_CHECK(key != nullptr);
  const sdkcore::RsaPublicKeyDer numbers = sdkcore::parseRsaPublicKeyDer(der);
  SDKCORE_FUZZ_CHECK(numberOf(key.get(), "n") ==
                     Bytes(numbers.modulus.begin(), numbers.modulus.end()));
  SDKCORE_FUZZ_CHECK(numberOf(key.get(), "e") ==
                     Bytes(numbers.exponent.begin(), numbers.exponent.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(sdkcore::fuzzing::textOf(data, size));
  const sdkcore::Key key(text, "RSA", 0);
  try {
    const std::string token = sdkcore::RSACryptogramCipher().encrypt("payment string", key);
    SDKCORE_FUZZ_CHECK(sdkcore::base64::decodeStrict(token).has_value());
  } catch (const sdkcore::CryptogramCipherException&) {
    // The one way a key may be refused.
  }
  if (const auto der = sdkcore::base64::decodeStrict(sdkcore::pemKeyContent(text))) {
    compareWithOpenSsl(*der);
  }
  // The input as raw DER, which reaches the parser far more often than Base64 text does.
  compareWithOpenSsl(std::span(data, size));
  return 0;
}
