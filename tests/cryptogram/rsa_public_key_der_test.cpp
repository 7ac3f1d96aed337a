#include "cryptogram/rsa_public_key_der.hpp"

#include <gtest/gtest.h>

#include <ostream>

#include "cryptogram/der_reader.hpp"
#include "cryptogram/key_material.hpp"

namespace sdkcore {
namespace {

using testing::Bytes;
using testing::concat;
using testing::tlv;

const Bytes kModulus = {0xC3, 0x01, 0x77, 0x15};  // high bit set: encoded with a zero byte
const Bytes kExponent = {0x01, 0x00, 0x01};

Bytes toBytes(std::span<const std::uint8_t> span) { return Bytes(span.begin(), span.end()); }
Bytes key() { return testing::pkcs1(kModulus, kExponent); }
Bytes rsaSpki(const Bytes& inner) {
  return testing::spki(testing::rsaEncryptionOid(), testing::derNull(), inner);
}

// A minimal certificate shape around 'spki', with the optional parts given.
Bytes certificate(const Bytes& spki, const Bytes& version, const Bytes& tail) {
  const Bytes name = tlv(0x30, tlv(0x31, tlv(0x30, {0x06, 0x01, 0x00})));
  const Bytes tbs = tlv(0x30, concat({version, testing::derInteger({0x01}), tlv(0x30, {}), name,
                                      tlv(0x30, {}), name, spki, tail}));
  return tlv(0x30, concat({tbs, tlv(0x30, {}), tlv(0x03, {0x00})}));
}

struct ParsedCase {
  std::string name;
  Bytes der;
  RsaPublicKeyDer::Algorithm algorithm;
};

void PrintTo(const ParsedCase& value, std::ostream* out) { *out << value.name; }

class ParsedKeyTest : public ::testing::TestWithParam<ParsedCase> {};

TEST_P(ParsedKeyTest, YieldsModulusAndExponent) {
  const RsaPublicKeyDer parsed = parseRsaPublicKeyDer(GetParam().der);
  EXPECT_EQ(parsed.algorithm, GetParam().algorithm);
  EXPECT_EQ(toBytes(parsed.modulus), kModulus);
  EXPECT_EQ(toBytes(parsed.exponent), kExponent);
}

constexpr auto kRsa = RsaPublicKeyDer::Algorithm::rsaEncryption;
constexpr auto kPss = RsaPublicKeyDer::Algorithm::rsassaPss;

INSTANTIATE_TEST_SUITE_P(
    Structures, ParsedKeyTest,
    ::testing::Values(
        ParsedCase{"Pkcs1", key(), kRsa}, ParsedCase{"Spki", rsaSpki(key()), kRsa},
        ParsedCase{"SpkiWithoutParameters",
                   testing::spki(testing::rsaEncryptionOid(), std::nullopt, key()), kRsa},
        ParsedCase{"PssSpki", testing::spki(testing::rsassaPssOid(), std::nullopt, key()), kPss},
        ParsedCase{"PssSpkiWithParameters",
                   testing::spki(testing::rsassaPssOid(), tlv(0x30, {}), key()), kPss},
        ParsedCase{"CertificateV1", certificate(rsaSpki(key()), {}, {}), kRsa},
        ParsedCase{"CertificateV3WithExtensions",
                   certificate(rsaSpki(key()), tlv(0xA0, testing::derInteger({0x02})),
                               tlv(0xA3, tlv(0x30, {}))),
                   kRsa}),
    [](const auto& info) { return info.param.name; });

TEST(RsaPublicKeyDerTest, ReadsLongFormLengths) {
  for (std::size_t size : {127U, 128U, 255U, 256U, 600U}) {
    Bytes modulus(size, 0x5A);
    const Bytes der = rsaSpki(testing::pkcs1(modulus, kExponent));  // 'parsed' views it
    const RsaPublicKeyDer parsed = parseRsaPublicKeyDer(der);
    EXPECT_EQ(toBytes(parsed.modulus), modulus) << size;
  }
}

struct RefusedCase {
  std::string name;
  Bytes der;
};

void PrintTo(const RefusedCase& value, std::ostream* out) { *out << value.name; }

class RefusedDerTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedDerTest, Throws) {
  EXPECT_THROW(parseRsaPublicKeyDer(GetParam().der), DerFormatError);
}

const Bytes kEcOid = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01};

INSTANTIATE_TEST_SUITE_P(
    Malformed, RefusedDerTest,
    ::
        testing::Values(RefusedCase{"Empty", {}},
                        RefusedCase{"TrailingByte", concat({key(), Bytes{0x00}})},
                        RefusedCase{
                            "TrailingByteInsideSequence",
                            tlv(0x30, concat({testing::derInteger(kModulus),
                                              testing::derInteger(kExponent), Bytes{0x05, 0x00}}))},
                        RefusedCase{"TrailingByteInBitString",
                                    testing::spki(testing::rsaEncryptionOid(), testing::derNull(),
                                                  concat({key(), Bytes{0x00}}))},
                        RefusedCase{
                            "TrailingElementInSpki",
                            tlv(0x30,
                                concat({tlv(0x30,
                                            concat({tlv(0x06, testing::rsaEncryptionOid()), testing::derNull()})),
                                        tlv(0x03, concat({Bytes{0}, key()})), testing::derNull()}))},
                        RefusedCase{
                            "Truncated",
                            [] {
                              const Bytes der = key();
                              return Bytes(der.begin(), der.end() - 1);
                            }()},
                        RefusedCase{"IndefiniteLength",
                                    concat({Bytes{0x30, 0x80}, testing::derInteger(kModulus),
                                            testing::derInteger(kExponent), Bytes{0x00, 0x00}})},
                        RefusedCase{"NonMinimalLength",
                                    concat({Bytes{0x30, 0x81, 0x0C}, testing::derInteger(kModulus),
                                            testing::derInteger(kExponent)})},
                        RefusedCase{"NonMinimalInteger",
                                    tlv(0x30, concat({tlv(0x02, {0x00, 0x41, 0x02}),
                                                      testing::derInteger(kExponent)}))},
                        RefusedCase{"NegativeModulus",
                                    tlv(0x30, concat({tlv(0x02, {0xC3, 0x01}),
                                                      testing::derInteger(kExponent)}))},
                        RefusedCase{"ZeroExponent", tlv(0x30, concat({testing::derInteger(kModulus),
                                                                      tlv(0x02, {0x00})}))},
                        RefusedCase{"EmptyInteger", tlv(0x30, concat({testing::derInteger(kModulus),
                                                                      tlv(0x02, {})}))},
                        RefusedCase{"MissingExponent", tlv(0x30, testing::derInteger(kModulus))},
                        RefusedCase{"EcAlgorithm",
                                    testing::spki(kEcOid, tlv(0x06, {0x2A, 0x86}), key())},
                        RefusedCase{
                            "NonNullRsaParameters",
                            testing::spki(testing::rsaEncryptionOid(), tlv(0x05, {0x00}), key())},
                        RefusedCase{
                            "UnusedBitsInBitString",
                            tlv(0x30,
                                concat({tlv(0x30, concat({tlv(0x06, testing::rsaEncryptionOid()),
                                                          testing::derNull()})),
                                        tlv(0x03, concat({Bytes{1}, key()}))}))},
                        RefusedCase{"CertificateWithTrailingElement",
                                    certificate(rsaSpki(key()), {}, testing::derNull())},
                        RefusedCase{
                            "CertificateWithEcKey",
                            certificate(testing::spki(kEcOid, std::nullopt, key()), {}, {})},
                        RefusedCase{"HighTagNumber", concat({Bytes{0x1F, 0x30, 0x00}})}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sdkcore
