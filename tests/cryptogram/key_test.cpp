#include "sdkcore/key.hpp"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace sdkcore {
namespace {

struct PemCase {
  std::string name;
  std::string text;
  std::string expected;
};

void PrintTo(const PemCase& value, std::ostream* out) { *out << value.name; }

class PemKeyContentTest : public ::testing::TestWithParam<PemCase> {};

TEST_P(PemKeyContentTest, LeavesTheBody) {
  EXPECT_EQ(pemKeyContent(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PemKeyContentTest,
    ::testing::Values(
        PemCase{"BareBodyUnchanged", "MIIBIjANBgkq+/0=", "MIIBIjANBgkq+/0="},
        PemCase{"PublicKeyBlock",
                "-----BEGIN PUBLIC KEY-----\nMIIBIjAN\n-----END PUBLIC KEY-----\n", "MIIBIjAN"},
        PemCase{"CertificateBlock",
                "-----BEGIN CERTIFICATE-----\nMIIC\nAbCd\n-----END CERTIFICATE-----\n", "MIICAbCd"},
        PemCase{"CrLfLineEnds",
                "-----BEGIN PUBLIC KEY-----\r\nMIIB\r\nIjAN\r\n-----END PUBLIC KEY-----\r\n",
                "MIIBIjAN"},
        PemCase{"IndentedLines",
                "  -----BEGIN PUBLIC KEY-----\n\tMIIB\n    IjAN \n  -----END PUBLIC KEY-----\n",
                "MIIBIjAN"},
        PemCase{"TwoBlocksJoined",
                "-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n"
                "-----BEGIN PUBLIC KEY-----\nBBBB\n-----END PUBLIC KEY-----\n",
                "AAAABBBB"},
        // Other armour stays, so the key text is refused later; only its spaces go.
        PemCase{"RsaPublicKeyArmourStays",
                "-----BEGIN RSA PUBLIC KEY-----\nMIIB\n-----END RSA PUBLIC KEY-----\n",
                "-----BEGINRSAPUBLICKEY-----MIIB-----ENDRSAPUBLICKEY-----"},
        PemCase{"LowerCaseArmourStays",
                "-----begin public key-----\nMIIB\n-----end public key-----",
                "-----beginpublickey-----MIIB-----endpublickey-----"},
        // Line feeds go first, so an armour line broken across lines still matches.
        PemCase{"ArmourJoinedByRemovedLineFeed", "-----BEGIN PUB\nLIC KEY-----MIIB", "MIIB"},
        // Each kind of armour is removed in its own pass, in order.
        PemCase{"LaterPassSeesResultOfEarlierPass",
                "-----END PUB-----BEGIN PUBLIC KEY-----LIC KEY-----MIIB", "MIIB"},
        PemCase{"OtherCharactersStay", "MII\vB*\xC3\xA9", "MII\vB*\xC3\xA9"},
        PemCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(KeyTest, EqualOnlyWhenEveryFieldIsEqual) {
  const Key key("MIIB", "RSA", 9223372036854775807);
  EXPECT_EQ(key, Key("MIIB", "RSA", 9223372036854775807));
  EXPECT_NE(key, Key("MIIB", "RSA", 0));
  EXPECT_NE(key, Key("MIIB", "rsa", 9223372036854775807));
  EXPECT_NE(key, Key("MIIb", "RSA", 9223372036854775807));
}

TEST(KeyTest, ExpirationIsWritable) {
  Key key("MIIB", "RSA", 1);
  key.setExpiration(2);
  EXPECT_EQ(key.expiration(), 2);
  EXPECT_EQ(key, Key("MIIB", "RSA", 2));
}

}  // namespace
}  // namespace sdkcore
