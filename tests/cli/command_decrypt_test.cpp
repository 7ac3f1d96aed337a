// `sdkcore decrypt` through the built program: the merchant side of the round trip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "process.hpp"
#include "support/test_keys.hpp"

namespace sdkcore::testing {
namespace {

using nlohmann::json;

std::string tokenOf(const ProcessResult& result) {
  return json::parse(result.out).at("token").get<std::string>();
}

TEST(DecryptCommand, DemoKeyRoundTripThroughTheProgram) {
  const ProcessResult token =
      runCli({"token", "--timestamp", "0", "--pan", "4111111111111111", "--cvc", "123", "--expiry",
              "12/25", "--cardholder", "JOHN DOE", "--order", "ORDER-1"},
             withInput("", {"TZ=UTC"}));
  ASSERT_EQ(token.status, 0) << token.err;
  EXPECT_NE(token.err.find("demo"), std::string::npos);
  const ProcessResult plain = runCli({"decrypt", tokenOf(token)});
  ASSERT_EQ(plain.status, 0) << plain.err;
  const json output = json::parse(plain.out);
  const json& fields = output.at("fields");
  EXPECT_EQ(fields.at("date"), "1970-01-01T00:00:00+00:00");
  EXPECT_EQ(fields.at("pan"), "4111111111111111");
  EXPECT_EQ(fields.at("cvc"), "123");
  EXPECT_EQ(fields.at("expiry"), "202512");
  EXPECT_EQ(fields.at("mdOrder"), "ORDER-1");
  EXPECT_EQ(fields.at("storedId"), "");
  EXPECT_EQ(fields.at("cardholder"), "JOHN DOE");
  EXPECT_EQ(fields.at("registeredFrom"), "ZKIT_CORE");
  EXPECT_EQ(output.at("paymentString"),
            "1970-01-01T00:00:00+00:00/" + fields.at("uuid").get<std::string>() +
                "/4111111111111111/123/202512/ORDER-1//JOHN DOE/ZKIT_CORE");
  // The members come in the documented order.
  EXPECT_EQ(plain.out.rfind("{\"paymentString\":", 0), 0u) << plain.out;
  EXPECT_NE(plain.out.find("{\"date\":"), std::string::npos) << plain.out;
}

TEST(DecryptCommand, ReadsTheTokenCommandsOutputFromStandardInput) {
  const ProcessResult token = runCli({"token", "--binding-id", "BIND-1"});
  ASSERT_EQ(token.status, 0);
  for (const std::string& input : {token.out, tokenOf(token) + "\n"}) {
    const ProcessResult plain = runCli({"decrypt", "-"}, withInput(input));
    EXPECT_EQ(plain.status, 0) << plain.out << plain.err;
    EXPECT_EQ(json::parse(plain.out).at("fields").at("storedId"), "BIND-1");
    const ProcessResult noArgument = runCli({"decrypt"}, withInput(input));
    EXPECT_EQ(noArgument.out, plain.out);
    EXPECT_EQ(noArgument.status, 0);
  }
}

struct DatedToken {
  const char* zone;
  const char* timestamp;
  const char* date;  // as a 64-bit time_t build writes it
};

// Past 2038-01-19 too, also where time_t has 32 bits: the round trip carries the zone's date.
TEST(DecryptCommand, TokensCarryTheDateOfTheirTimestampPast2038) {
  constexpr DatedToken kTokens[] = {
      {"UTC", "2147483648", "2038-01-19T03:14:08+00:00"},
      {"America/New_York", "2200000000", "2039-09-18T19:06:40-04:00"},
      {"Asia/Kolkata", "4102444800", "2100-01-01T05:30:00+05:30"},
  };
  for (const DatedToken& row : kTokens) {
    const std::vector<std::string> environment = {std::string("TZ=") + row.zone};
    const ProcessResult token = runCli({"token", "--timestamp", row.timestamp, "--binding-id", "B"},
                                       withInput("", environment));
    ASSERT_EQ(token.status, 0) << token.err;
    const ProcessResult plain = runCli({"decrypt", "-"}, withInput(token.out));
    EXPECT_EQ(json::parse(plain.out).at("fields").at("date"), row.date) << row.zone;
  }
}

TEST(DecryptCommand, CallersKeyPair) {
  const std::string pub = writeTempFile("decrypt_pub.pem", testKeyPair(2048).publicPem);
  const std::string priv = writeTempFile("decrypt_priv.pem", testKeyPair(2048).privatePem);
  const ProcessResult token = runCli({"token", "--pubkey", pub, "--binding-id", "B"});
  ASSERT_EQ(token.status, 0);
  EXPECT_EQ(runCli({"decrypt", "--private-key", priv, tokenOf(token)}).status, 0);
  // The demo private key does not fit a token made for another key.
  const ProcessResult wrongKey = runCli({"decrypt", tokenOf(token)});
  EXPECT_EQ(wrongKey.status, 1);
  EXPECT_EQ(wrongKey.out, "{\"error\":\"the token does not decrypt with this private key\"}\n");
}

// The demo key as `openssl rsa -RSAPublicKey_out` writes it (PKCS #1 under its own armour) makes
// tokens that the demo private key decrypts.
TEST(DecryptCommand, DemoKeyConvertedToPkcs1Pem) {
  const std::string spki = writeTempFile("demo_spki.pem", runCli({"demo-key"}).out);
  const std::string pkcs1 = spki + ".pkcs1";
  const std::string convert =
      "openssl rsa -pubin -in '" + spki + "' -RSAPublicKey_out -out '" + pkcs1 + "' 2>/dev/null";
  ASSERT_EQ(std::system(convert.c_str()), 0) << "the openssl program is needed: " << convert;
  const ProcessResult token = runCli({"token", "--pubkey", pkcs1, "--binding-id", "B"});
  ASSERT_EQ(token.status, 0) << token.out << token.err;
  EXPECT_EQ(runCli({"decrypt", tokenOf(token)}).status, 0);
}

struct FieldsCase {
  std::string name;
  std::string text;
  bool hasFields;
  friend void PrintTo(const FieldsCase& c, std::ostream* os) { *os << c.name; }
};

class DecryptFields : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(DecryptFields, OnlyForExactlyNineFields) {
  const ProcessResult token = runCli({"encrypt", GetParam().text});
  ASSERT_EQ(token.status, 0) << token.err;
  const ProcessResult plain = runCli({"decrypt", tokenOf(token)});
  ASSERT_EQ(plain.status, 0);
  const json output = json::parse(plain.out);
  EXPECT_EQ(output.at("paymentString"), GetParam().text);
  EXPECT_EQ(output.contains("fields"), GetParam().hasFields) << plain.out;
}

INSTANTIATE_TEST_SUITE_P(Cases, DecryptFields,
                         ::testing::Values(FieldsCase{"Nine", "a/b/c/d/e/f/g/h/i", true},
                                           FieldsCase{"NineEmpty", "////////", true},
                                           FieldsCase{"Eight", "a/b/c/d/e/f/g/h", false},
                                           FieldsCase{"Ten", "a/b/c/d/e/f/g/h/i/j", false},
                                           FieldsCase{"None", "hello", false}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sdkcore::testing
