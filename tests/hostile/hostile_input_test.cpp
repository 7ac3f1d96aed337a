// Input as a hostile caller would craft it: each row gives the answer and a bound on the CPU time
// and the growth of peak memory that the call may take. Every row runs in a child process of its
// own, so that a log sink one row attaches is gone for the next.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cryptogram/key_material.hpp"
#include "sdkcore/base58.hpp"
#include "sdkcore/core_card_info.hpp"
#include "sdkcore/decoding_error.hpp"
#include "sdkcore/email_validator.hpp"
#include "sdkcore/logger.hpp"
#include "sdkcore/sdk_core.hpp"
#include "support/resource_use.hpp"
#include "support/test_keys.hpp"

namespace sdkcore {
namespace {

using testing::Bytes;
using Work = std::function<std::string()>;
using Prepare = std::function<Work()>;

constexpr std::size_t k10MB = 10'000'000;
constexpr double kNow = 1700000000.0;

struct Bound {
  double cpuMs;
  double peakMb;
};

struct HostileCase {
  std::string name;
  Prepare prepare;
  std::string answer;
  Bound bound;
  friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
};

class HostileInput : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileInput, AnswersWithinItsBound) {
  const HostileCase& row = GetParam();
  const testing::ResourceUse use = testing::measureInChild(row.prepare);
  EXPECT_EQ(use.answer, row.answer);
  RecordProperty("cpu_ms", std::to_string(use.cpuMs));
  RecordProperty("peak_mb", std::to_string(use.peakMb));
  if (!testing::resourceBoundsApply()) return;
  EXPECT_LT(use.cpuMs, row.bound.cpuMs);
  EXPECT_LT(use.peakMb, row.bound.peakMb);
}

std::string fileText(const char* path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

const std::string& demoKey() {
  static const std::string pem = fileText(SDKCORE_DEMO_PUBLIC_KEY);
  return pem;
}

// The fields of a card request; each row changes one.
struct Card {
  std::string pan = "4111111111111111";
  std::string cvc = "947";
  std::string expiry = "12/30";
  std::string holder = "JOHN DOE";
  std::string order = "ORDER-1";
  std::string key = demoKey();
};

// Counts the events it receives and whether any shows the card number beyond its masked form
// (the test card numbers begin with "4111111").
class CheckingSink : public LogInterface {
 public:
  void log(const std::type_info&, const std::string&, const std::string& message,
           std::shared_ptr<const std::exception>) override {
    ++events_;
    clear_ = clear_ || message.find("4111111") != std::string::npos;
  }
  std::string summary() const {
    if (events_ == 0) return "; nothing logged";
    return clear_ ? "; card number logged in clear" : "; logged masked";
  }

 private:
  int events_ = 0;
  bool clear_ = false;
};

// The answer of a request: its error entries, "token", or, for 'carried' text, whether the
// token's payment string holds it whole.
std::string answerOf(const TokenResult& result, const std::optional<std::string>& carried) {
  if (result.token && !result.errors.empty()) return "token with errors";
  if (result.token && carried) {
    const std::string privatePem = fileText(SDKCORE_DEMO_PRIVATE_KEY);
    const auto plain = testing::decryptToken(*result.token, privatePem);
    return plain && plain->find(*carried) != std::string::npos ? "token carrying it"
                                                               : "token without it";
  }
  if (result.token) return "token";
  std::string text;
  for (const auto& [field, code] : result.errors) {
    text += (text.empty() ? "" : ", ") + std::string(caseName(field)) + "=" + code;
  }
  return text;
}

// One generateWithConfig call on the request 'params()' makes; the log sink, if any, is
// attached before the measurement starts.
Prepare request(std::function<PaymentParamsVariant()> params, bool withSink = false,
                double timestamp = kNow, std::optional<std::string> carried = std::nullopt) {
  return [=] {
    auto core = std::make_shared<SdkCore>();
    auto config =
        std::make_shared<SDKCoreConfig>(params(), ZKITRegisteredFrom::ZKIT_CORE, timestamp);
    std::shared_ptr<CheckingSink> sink;
    if (withSink) {
      sink = std::make_shared<CheckingSink>();
      Logger::shared().addLogInterface(sink);
    }
    return Work([core, config, sink, carried] {
      const std::string answer = answerOf(core->generateWithConfig(*config), carried);
      return sink ? answer + sink->summary() : answer;
    });
  };
}

Prepare card(std::function<void(Card&)> change, bool withSink = false) {
  return request(
      [change] {
        Card c;
        change(c);
        return CardParams(c.pan, c.cvc, c.expiry, c.holder, c.order, c.key);
      },
      withSink);
}

Prepare cardAt(double timestamp) {
  return request(
      [] { return CardParamsInstant("4111111111111111", "947", "12/30", {}, demoKey()); }, false,
      timestamp);
}

std::string withNul(std::string_view head, std::string_view tail) {
  return std::string(head) + '\0' + std::string(tail);
}

// A binding request whose token is then checked to carry the whole binding id.
Prepare bindingWith(std::string order, std::string bindingId) {
  return request([=] { return BindingParams(demoKey(), bindingId, "947", order); }, false, kNow,
                 order.find('\0') != std::string::npos ? order : bindingId);
}

// A key text of the DER bytes that 'der()' makes.
Prepare derKey(std::function<Bytes()> der) {
  return card([der](Card& c) { c.key = testing::base64(der()); });
}

Bytes demoDer() { return testing::derOfPublicPem(demoKey()); }

// Reads the text as both JSON types and then as a CoreCardInfo; the answer names what was read
// or the kind of the decoding error, per type.
template <typename Json>
std::string readCard(const std::string& text) {
  const Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) return "not JSON";
  try {
    const CoreCardInfo info = json.template get<CoreCardInfo>();
    return "read " + info.identifier().value() + " cvv " + info.cvv().value_or("none");
  } catch (const DecodingError& error) {
    return std::string(kindName(error.kind()));
  }
}

Prepare cardJson(std::function<std::string()> text) {
  return [text] {
    auto json = std::make_shared<std::string>(text());
    return Work([json] {
      return readCard<nlohmann::json>(*json) + " / " + readCard<nlohmann::ordered_json>(*json);
    });
  };
}

std::string nested(std::size_t depth) {
  return R"({"identifier":)" + std::string(depth, '[') + std::string(depth, ']') + "}";
}

// 256^bytes mod 58, for the last digit of the Base58 form of 2^(8 bytes) - 1.
unsigned powerOf256Mod58(std::size_t bytes) {
  unsigned result = 1;
  for (std::size_t i = 0; i < bytes; ++i) result = result * 256 % 58;
  return result;
}

// The Base58 form of 'bytes' bytes of 0xFF, summed up as its length and last digit.
std::string allOnesDigits(std::size_t bytes) {
  constexpr std::string_view kAlphabet =
      "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
  const auto digits =
      static_cast<std::size_t>(std::floor(8.0 * bytes * std::log(2) / std::log(58))) + 1;
  return std::to_string(digits) + " digits ending " + kAlphabet[(powerOf256Mod58(bytes) + 57) % 58];
}

Prepare base58Encode(std::size_t bytes) {
  return [bytes] {
    auto data = std::make_shared<Bytes>(bytes, 0xFF);
    return Work([data] {
      const std::string text = Base58::encode(*data);
      return std::to_string(text.size()) + " digits ending " + text.back();
    });
  };
}

// The bytes of 58^digits - 1 summed up as their number and first and last byte, from its
// logarithm: the last bytes are 0xFF, as 2^digits divides 58^digits.
std::string allZBytes(std::size_t digits) {
  const long double bytes = digits * std::log(58.0L) / std::log(256.0L);
  const long double whole = std::floor(bytes);
  std::ostringstream answer;
  answer << static_cast<std::size_t>(whole) + 1 << " bytes " << std::hex
         << static_cast<int>(std::pow(256.0L, bytes - whole)) << "..ff";
  return answer.str();
}

// Decodes 'digits' times "z".
Prepare base58Decode(std::size_t digits) {
  return [digits] {
    auto text = std::make_shared<std::string>(digits, 'z');
    return Work([text] {
      const auto bytes = Base58::decode(*text);
      if (!bytes) return std::string("not Base58");
      std::ostringstream answer;
      answer << bytes->size() << " bytes " << std::hex << int{bytes->front()} << ".."
             << int{bytes->back()};
      return answer.str();
    });
  };
}

Prepare email(std::function<std::string()> text) {
  return [text] {
    auto validator = std::make_shared<EmailValidator>();
    auto address = std::make_shared<std::string>(text());
    return Work([validator, address] {
      const ValidationResult result = validator->validate(*address);
      return result.isValid() ? std::string("valid") : result.errorCode().value_or("?");
    });
  };
}

std::string backtrackingEmail(std::size_t pairs) {
  std::string text = "a@";
  for (std::size_t i = 0; i < pairs; ++i) text += "a.";
  return text + "!";
}

const std::string kCardNumberInvalid = "PAN=invalid";

// clang-format off
const HostileCase kRows[] = {
  // Ten megabytes in one field, with and without a log sink (which gets every field's text).
  {"CardNumber10MB", card([](Card& c) { c.pan = "4" + std::string(k10MB - 1, '1'); }),
   kCardNumberInvalid, {1000, 150}},
  {"CardNumber10MBWithSink", card([](Card& c) { c.pan = "4" + std::string(k10MB - 1, '1'); }, true),
   kCardNumberInvalid + "; logged masked", {1000, 150}},
  {"Cardholder10MB", card([](Card& c) { c.holder = std::string(k10MB, 'A'); }),
   "CARDHOLDER=invalid", {200, 50}},
  {"Cardholder10MBWithSink", card([](Card& c) { c.holder = std::string(k10MB, 'A'); }, true),
   "CARDHOLDER=invalid; logged masked", {1000, 150}},
  // Valid however long; the payment string is then too long for the key.
  {"OrderNumber10MB", card([](Card& c) { c.order = std::string(k10MB, '7'); }),
   "UNKNOWN=unknown", {300, 100}},
  {"OrderNumber10MBWithSink", card([](Card& c) { c.order = std::string(k10MB, '7'); }, true),
   "UNKNOWN=unknown; logged masked", {1000, 150}},
  {"KeyText10MB", card([](Card& c) { c.key = std::string(k10MB, 'A'); }),
   "PUB_KEY=invalid", {300, 100}},
  {"KeyText10MBWithSink", card([](Card& c) { c.key = std::string(k10MB, 'A'); }, true),
   "PUB_KEY=invalid; logged masked", {1000, 150}},
  // A NUL byte inside each field.
  {"NulInCardNumber", card([](Card& c) { c.pan = withNul("41111111", "11111111"); }),
   "PAN=invalid-format", {50, 10}},
  {"NulInSecurityCode", card([](Card& c) { c.cvc = withNul("9", "47"); }), "CVC=invalid", {50, 10}},
  {"NulInExpiry", card([](Card& c) { c.expiry = withNul("12/", "30"); }), "EXPIRY=invalid-format",
   {50, 10}},
  {"NulInCardholder", card([](Card& c) { c.holder = withNul("JOHN", " DOE"); }),
   "CARDHOLDER=invalid-format", {50, 10}},
  // Order numbers and binding ids only refuse white space; other characters travel as given.
  {"NulInOrderNumber", bindingWith(withNul("ORDER", "-1"), "BIND-77"), "token carrying it",
   {50, 10}},
  {"NulInKeyText", card([](Card& c) { c.key.insert(100, 1, '\0'); }), "PUB_KEY=invalid", {50, 10}},
  {"NulInBindingId", bindingWith("ORDER-1", withNul("BIND", "-77")), "token carrying it",
   {50, 10}},
  {"NulInStoredId",
   request([] { return StoredPaymentMethodParams(demoKey(), withNul("pm_3WhD", "gViUq4"), "947"); }),
   "STORED_PAYMENT_METHOD_ID=required", {50, 10}},
  {"StoredId10MB",
   request([] { return StoredPaymentMethodParams(demoKey(), "pm_" + std::string(k10MB, 'z'), {}); }),
   "STORED_PAYMENT_METHOD_ID=required", {50, 10}},
  // Keys: a large blob, DER whose lengths lie, weak numbers.
  {"Base64Blob1MBAsKey", card([](Card& c) { c.key = testing::base64(Bytes(1 << 20, 0x30)); }),
   "PUB_KEY=invalid", {100, 20}},
  {"DerLengthBeyondTheEnd", derKey([] { Bytes der = demoDer(); der[2] = 0x7F; return der; }),
   "PUB_KEY=invalid", {50, 10}},
  {"DerLengthOf4GiB", derKey([] {
     Bytes der = demoDer();
     der.erase(der.begin() + 1, der.begin() + 4);
     der.insert(der.begin() + 1, {0x84, 0xFF, 0xFF, 0xFF, 0xFF});
     return der; }),
   "PUB_KEY=invalid", {50, 10}},
  {"DerModulusLongerThanItsKey", derKey([] {
     const Bytes modulus = testing::numbersOf(demoKey()).modulus;
     const Bytes lyingModulus = testing::concat({{0x02, 0x82, 0x10, 0x00}, modulus});
     return testing::tlv(0x30, testing::concat({lyingModulus, testing::derInteger({1, 0, 1})})); }),
   "PUB_KEY=invalid", {50, 10}},
  {"Key512Bits", card([](Card& c) { c.key = testing::testKeyPair(512).publicPem; }),
   "PUB_KEY=invalid", {50, 10}},
  {"ExponentOne", derKey([] { return testing::pkcs1(testing::numbersOf(demoKey()).modulus, {1}); }),
   "PUB_KEY=invalid", {50, 10}},
  // Time stamps that are no number of seconds.
  {"TimestampNaN", cardAt(std::numeric_limits<double>::quiet_NaN()),
   "UNKNOWN=timestamp is not a finite number of seconds in range", {50, 10}},
  {"TimestampPlusInfinity", cardAt(std::numeric_limits<double>::infinity()),
   "UNKNOWN=timestamp is not a finite number of seconds in range", {50, 10}},
  {"TimestampMinusInfinity", cardAt(-std::numeric_limits<double>::infinity()),
   "UNKNOWN=timestamp is not a finite number of seconds in range", {50, 10}},
  {"Timestamp1e300", cardAt(1e300),
   "UNKNOWN=timestamp is not a finite number of seconds in range", {50, 10}},
  // The card JSON readers.
  {"JsonNestedAMillionDeep", cardJson([] { return nested(1'000'000); }),
   "typeMismatch / typeMismatch", {1000, 250}},
  {"JsonDuplicatedMember", cardJson([] {
     return R"({"identifier":{"newPaymentMethodIdentifier":"4"},"cvv":"1","cvv":"2"})"; }),
   "read 4 cvv 2 / read 4 cvv 2", {50, 10}},
  {"JsonNumberAsCardNumber", cardJson([] {
     return R"({"identifier":{"newPaymentMethodIdentifier":4111111111111111}})"; }),
   "dataCorrupted / dataCorrupted", {50, 10}},
  {"JsonNumberAsSecurityCode", cardJson([] {
     return R"({"identifier":{"newPaymentMethodIdentifier":"4"},"cvv":947})"; }),
   "typeMismatch / typeMismatch", {50, 10}},
  // E-mail addresses that made the pattern backtrack, and Base58 at and over its input limit.
  {"BacktrackingEmail32k", email([] { return backtrackingEmail(16000); }), "invalid-format",
   {10, 5}},
  {"Base58Encode64KiB", base58Encode(64 * 1024), allOnesDigits(64 * 1024), {100, 10}},
  {"Base58Decode64KiB", base58Decode(64 * 1024), allZBytes(64 * 1024), {100, 10}},
  {"Base58Decode100k", base58Decode(100'000), allZBytes(100'000), {250, 10}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, HostileInput, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sdkcore
