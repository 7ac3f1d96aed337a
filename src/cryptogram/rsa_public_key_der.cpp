#include "rsa_public_key_der.hpp"

#include <algorithm>
#include <array>

#include "der_reader.hpp"

namespace sdkcore {
namespace {

using Bytes = std::span<const std::uint8_t>;

// 1.2.840.113549.1.1.1 and 1.2.840.113549.1.1.10, content octets only.
constexpr std::array<std::uint8_t, 9> kRsaEncryptionOid = {0x2A, 0x86, 0x48, 0x86, 0xF7,
                                                           0x0D, 0x01, 0x01, 0x01};
constexpr std::array<std::uint8_t, 9> kRsassaPssOid = {0x2A, 0x86, 0x48, 0x86, 0xF7,
                                                       0x0D, 0x01, 0x01, 0x0A};

constexpr std::uint8_t kExplicitVersion = 0xA0;  // [0] EXPLICIT Version
constexpr std::uint8_t kIssuerUniqueId = 0x81;   // [1] IMPLICIT UniqueIdentifier
constexpr std::uint8_t kSubjectUniqueId = 0x82;  // [2] IMPLICIT UniqueIdentifier
constexpr std::uint8_t kExtensions = 0xA3;       // [3] EXPLICIT Extensions

bool equal(Bytes bytes, const std::array<std::uint8_t, 9>& oid) {
  return std::equal(bytes.begin(), bytes.end(), oid.begin(), oid.end());
}

// Returns the magnitude of a DER INTEGER that must be positive and minimally encoded.
Bytes positiveInteger(Bytes content) {
  if (content.empty()) throw DerFormatError("empty integer");
  if (content[0] & 0x80) throw DerFormatError("negative integer");
  if (content[0] != 0) return content;
  if (content.size() == 1) throw DerFormatError("zero integer");
  if ((content[1] & 0x80) == 0) throw DerFormatError("non-minimal integer");
  return content.subspan(1);
}

// RSAPublicKey ::= SEQUENCE { modulus INTEGER, publicExponent INTEGER }
RsaPublicKeyDer parsePkcs1Content(Bytes content, RsaPublicKeyDer::Algorithm algorithm) {
  DerReader reader(content);
  const Bytes modulus = positiveInteger(reader.read(DerReader::kInteger));
  const Bytes exponent = positiveInteger(reader.read(DerReader::kInteger));
  reader.expectEnd();
  return {algorithm, modulus, exponent};
}

RsaPublicKeyDer::Algorithm parseAlgorithm(Bytes algorithmIdentifier) {
  DerReader reader(algorithmIdentifier);
  const Bytes oid = reader.read(DerReader::kObjectIdentifier);
  if (equal(oid, kRsaEncryptionOid)) {
    // The parameters are NULL; some encoders leave them out.
    const auto parameters = reader.readOptional(DerReader::kNull);
    if (parameters && !parameters->empty()) throw DerFormatError("bad NULL");
    reader.expectEnd();
    return RsaPublicKeyDer::Algorithm::rsaEncryption;
  }
  if (equal(oid, kRsassaPssOid)) {
    reader.readOptional(DerReader::kSequence);  // RSASSA-PSS-params restrict signing only
    reader.expectEnd();
    return RsaPublicKeyDer::Algorithm::rsassaPss;
  }
  throw DerFormatError("not an RSA key");
}

// SubjectPublicKeyInfo ::= SEQUENCE { algorithm AlgorithmIdentifier, subjectPublicKey BIT STRING }
RsaPublicKeyDer parseSpkiContent(Bytes content) {
  DerReader reader(content);
  const auto algorithm = parseAlgorithm(reader.read(DerReader::kSequence));
  const Bytes bits = reader.read(DerReader::kBitString);
  reader.expectEnd();
  if (bits.empty() || bits[0] != 0) throw DerFormatError("bad bit string");
  DerReader key(bits.subspan(1));
  const Bytes pkcs1 = key.read(DerReader::kSequence);
  key.expectEnd();
  return parsePkcs1Content(pkcs1, algorithm);
}

// Certificate ::= SEQUENCE { tbsCertificate, signatureAlgorithm, signatureValue }; only the
// subjectPublicKeyInfo of tbsCertificate is used.
RsaPublicKeyDer parseCertificateContent(Bytes content) {
  DerReader certificate(content);
  const Bytes tbs = certificate.read(DerReader::kSequence);
  certificate.read(DerReader::kSequence);
  certificate.read(DerReader::kBitString);
  certificate.expectEnd();

  DerReader reader(tbs);
  reader.readOptional(kExplicitVersion);
  reader.read(DerReader::kInteger);   // serialNumber
  reader.read(DerReader::kSequence);  // signature
  reader.read(DerReader::kSequence);  // issuer
  reader.read(DerReader::kSequence);  // validity
  reader.read(DerReader::kSequence);  // subject
  const Bytes spki = reader.read(DerReader::kSequence);
  reader.readOptional(kIssuerUniqueId);
  reader.readOptional(kSubjectUniqueId);
  reader.readOptional(kExtensions);
  reader.expectEnd();
  return parseSpkiContent(spki);
}

}  // namespace

RsaPublicKeyDer parsePkcs1RsaPublicKeyDer(Bytes der) {
  DerReader outer(der);
  const Bytes content = outer.read(DerReader::kSequence);
  outer.expectEnd();
  return parsePkcs1Content(content, RsaPublicKeyDer::Algorithm::rsaEncryption);
}

RsaPublicKeyDer parseRsaPublicKeyDer(Bytes der) {
  DerReader outer(der);
  const Bytes content = outer.read(DerReader::kSequence);
  outer.expectEnd();

  DerReader reader(content);
  if (reader.peekTag() == DerReader::kInteger) {
    return parsePkcs1Content(content, RsaPublicKeyDer::Algorithm::rsaEncryption);
  }
  reader.read(DerReader::kSequence);
  if (reader.peekTag() == DerReader::kBitString) return parseSpkiContent(content);
  return parseCertificateContent(content);
}

}  // namespace sdkcore
