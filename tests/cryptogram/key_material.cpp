#include "key_material.hpp"

#include "support/openssl_test_handles.hpp"

#include <openssl/bio.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <memory>
#include <stdexcept>

namespace sdkcore::testing {
namespace {

Bytes bignumBytes(EVP_PKEY* key, const char* name) {
  BIGNUM* raw = nullptr;
  if (EVP_PKEY_get_bn_param(key, name, &raw) != 1) throw std::runtime_error("no RSA parameter");
  const BignumPtr value(raw);
  Bytes bytes(static_cast<std::size_t>(BN_num_bytes(value.get())));
  BN_bn2bin(value.get(), bytes.data());
  return bytes;
}

std::string publicPemOf(EVP_PKEY* key) {
  const BioPtr out(BIO_new(BIO_s_mem()));
  if (!PEM_write_bio_PUBKEY(out.get(), key)) throw std::runtime_error("PEM export failed");
  return bioText(out.get());
}

}  // namespace

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes tlv(std::uint8_t tag, const Bytes& content) {
  Bytes out{tag};
  const std::size_t size = content.size();
  if (size < 0x80) {
    out.push_back(static_cast<std::uint8_t>(size));
  } else if (size <= 0xFF) {
    out.insert(out.end(), {0x81, static_cast<std::uint8_t>(size)});
  } else {
    out.insert(out.end(),
               {0x82, static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
  }
  out.insert(out.end(), content.begin(), content.end());
  return out;
}

Bytes derInteger(Bytes magnitude) {
  if (magnitude.empty() || (magnitude[0] & 0x80)) magnitude.insert(magnitude.begin(), 0);
  return tlv(0x02, magnitude);
}

Bytes pkcs1(const Bytes& modulus, const Bytes& exponent) {
  return tlv(0x30, concat({derInteger(modulus), derInteger(exponent)}));
}

Bytes spki(const Bytes& oid, const std::optional<Bytes>& parameters, const Bytes& key) {
  const Bytes algorithm = tlv(0x30, concat({tlv(0x06, oid), parameters.value_or(Bytes{})}));
  return tlv(0x30, concat({algorithm, tlv(0x03, concat({Bytes{0}, key}))}));
}

Bytes rsaEncryptionOid() { return {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01}; }
Bytes rsassaPssOid() { return {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x0A}; }
Bytes derNull() { return {0x05, 0x00}; }

std::string base64(const Bytes& der) {
  std::string text((der.size() + 2) / 3 * 4 + 1, '\0');
  const int size = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), der.data(),
                                   static_cast<int>(der.size()));
  text.resize(static_cast<std::size_t>(size));
  return text;
}

std::string pem(const Bytes& der, std::string_view label) {
  const std::string body = base64(der);
  std::string text = "-----BEGIN " + std::string(label) + "-----\n";
  for (std::size_t i = 0; i < body.size(); i += 64) text += body.substr(i, 64) + "\n";
  return text + "-----END " + std::string(label) + "-----\n";
}

Bytes derOfPublicPem(std::string_view publicPem) {
  const BioPtr in = readBio(publicPem);
  const PkeyPtr key(PEM_read_bio_PUBKEY(in.get(), nullptr, nullptr, nullptr));
  if (!key) throw std::runtime_error("not a public key PEM");
  unsigned char* raw = nullptr;
  const int size = i2d_PUBKEY(key.get(), &raw);
  if (size <= 0) throw std::runtime_error("DER export failed");
  Bytes der(raw, raw + size);
  OPENSSL_free(raw);
  return der;
}

Bytes pkcs1DerOfPublicPem(std::string_view publicPem) {
  const BioPtr in = readBio(publicPem);
  const PkeyPtr key(PEM_read_bio_PUBKEY(in.get(), nullptr, nullptr, nullptr));
  unsigned char* raw = nullptr;
  const int size = key ? i2d_PublicKey(key.get(), &raw) : 0;
  if (size <= 0) throw std::runtime_error("PKCS #1 export failed");
  Bytes der(raw, raw + size);
  OPENSSL_free(raw);
  return der;
}

RsaNumbers numbersOf(std::string_view publicPem) {
  const BioPtr in = readBio(publicPem);
  const PkeyPtr key(PEM_read_bio_PUBKEY(in.get(), nullptr, nullptr, nullptr));
  if (!key) throw std::runtime_error("not a public key PEM");
  return {bignumBytes(key.get(), OSSL_PKEY_PARAM_RSA_N),
          bignumBytes(key.get(), OSSL_PKEY_PARAM_RSA_E)};
}

std::string certificatePem(std::string_view privatePem) {
  const BioPtr in = readBio(privatePem);
  const PkeyPtr key(PEM_read_bio_PrivateKey(in.get(), nullptr, nullptr, nullptr));
  const X509Ptr certificate(X509_new());
  if (!key || !certificate) throw std::runtime_error("certificate setup failed");
  X509_set_version(certificate.get(), X509_VERSION_3);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 4711);
  X509_gmtime_adj(X509_getm_notBefore(certificate.get()), 0);
  X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 86400L * 365);
  X509_NAME* name = X509_get_subject_name(certificate.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Test Merchant"), -1, -1, 0);
  X509_set_issuer_name(certificate.get(), name);
  if (X509_set_pubkey(certificate.get(), key.get()) != 1 ||
      X509_sign(certificate.get(), key.get(), EVP_sha256()) <= 0) {
    throw std::runtime_error("certificate signing failed");
  }
  const BioPtr out(BIO_new(BIO_s_mem()));
  if (!PEM_write_bio_X509(out.get(), certificate.get())) throw std::runtime_error("PEM failed");
  return bioText(out.get());
}

std::string generatedPublicPem(std::string_view algorithm, std::string_view parameter) {
  const std::string name(algorithm);
  const std::string value(parameter);
  const PkeyCtxPtr context(EVP_PKEY_CTX_new_from_name(nullptr, name.c_str(), nullptr));
  if (!context || EVP_PKEY_keygen_init(context.get()) != 1) {
    throw std::runtime_error("key generation setup failed");
  }
  const int set = algorithm == "EC"
                      ? EVP_PKEY_CTX_set_group_name(context.get(), value.c_str())
                      : EVP_PKEY_CTX_set_rsa_keygen_bits(context.get(), std::stoi(value));
  EVP_PKEY* raw = nullptr;
  if (set != 1 || EVP_PKEY_generate(context.get(), &raw) != 1) {
    throw std::runtime_error("key generation failed");
  }
  const PkeyPtr key(raw);
  return publicPemOf(key.get());
}

}  // namespace sdkcore::testing
