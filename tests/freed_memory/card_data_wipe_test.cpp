// No card number or security code outlives a token request in freed memory: every heap block
// that the library releases during a call is searched for them just before its release.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/wiped_text.hpp"
#include "freed_memory/freed_block_scan.hpp"
#include "sdkcore/base58.hpp"
#include "sdkcore/log_interface.hpp"
#include "sdkcore/logger.hpp"
#include "sdkcore/sdk_core.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/token_request.hpp"
#include "support/openssl_test_provider.hpp"

namespace sdkcore {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;
using ::sdkcore::testing::Needle;
using ::sdkcore::testing::utf16;

constexpr std::string_view kPan = "4024007186432117";
constexpr std::string_view kCvc = "947";  // three ASCII digits alone occur by chance

std::array<Needle, 5> needles() {
  static const std::string pan16 = utf16(kPan), last8 = utf16(kPan.substr(8)), cvc16 = utf16(kCvc);
  return {Needle{"card number (UTF-8)", kPan}, Needle{"card number (UTF-16)", pan16},
          Needle{"last 8 digits (UTF-16)", last8}, Needle{"security code as /947/", "/947/"},
          Needle{"security code (UTF-16)", cvc16}};
}

struct Request {
  const char* name;
  int variant;  // sdkcore_variant
  ordered_json params;
};

constexpr std::array<const char*, 6> kVariantNames = {
    "cardParams",           "cardParamsInstant",      "bindingParams",
    "bindingParamsInstant", "newPaymentMethodParams", "storedPaymentMethodParams"};

constexpr std::array<const char*, 8> kFieldNames = {
    "pan",   "cvc", "expiryMMYY", "cardholder", "mdOrder", "bindingId", "storedPaymentMethodId",
    "pubKey"};  // by sdkcore_field

// Members are in reading order, the card data last: nothing read after them overwrites what a
// JSON reader keeps of them.
std::vector<Request> requests() {
  std::ifstream file(SDKCORE_DEMO_PUBLIC_KEY);
  const std::string key{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const auto params = [&key](std::initializer_list<std::pair<const char*, std::string>> members,
                             const char* badKey = nullptr) {
    ordered_json result = {{"pubKey", badKey != nullptr ? badKey : key}};
    for (const auto& [name, value] : members) result[name] = value;
    return result;
  };
  const std::string pan(kPan), cvc(kCvc), bindingId = "BIND-77";
  const std::string storedId =
      "pm_" + Base58::encode(std::span(reinterpret_cast<const std::uint8_t*>(bindingId.data()),
                                       bindingId.size()));
  const auto card = [&](bool withOrder, const char* badKey = nullptr,
                        const std::string& number = std::string(kPan)) {
    ordered_json result = params({{"expiryMMYY", "12/30"}, {"cardholder", "JOHN DOE"}}, badKey);
    if (withOrder) result["mdOrder"] = "ORDER-1";
    result["cvc"] = cvc;
    result["pan"] = number;
    return result;
  };
  return {
      {"cardParams", SDKCORE_VARIANT_CARD_PARAMS, card(true)},
      {"cardParamsInstant", SDKCORE_VARIANT_CARD_PARAMS_INSTANT, card(false)},
      {"bindingParams", SDKCORE_VARIANT_BINDING_PARAMS,
       params({{"mdOrder", "ORDER-1"}, {"bindingId", bindingId}, {"cvc", cvc}})},
      {"bindingParamsInstant", SDKCORE_VARIANT_BINDING_PARAMS_INSTANT,
       params({{"bindingId", bindingId}, {"cvc", cvc}})},
      {"newPaymentMethodParams", SDKCORE_VARIANT_NEW_PAYMENT_METHOD_PARAMS, card(false)},
      {"storedPaymentMethodParams", SDKCORE_VARIANT_STORED_PAYMENT_METHOD_PARAMS,
       params({{"storedPaymentMethodId", storedId}, {"cvc", cvc}})},
      // Refused by the cipher, after every field was checked and the payment string was built.
      {"refused", SDKCORE_VARIANT_CARD_PARAMS, card(true, "MIIBCgKCAQEAnotakey")},
      // Refused at the number, which is read through ICU's UTF-16 (too long for its inline
      // buffer): a card number of someone mistyping, which holds the real one.
      {"refusedUnicode", SDKCORE_VARIANT_CARD_PARAMS, card(true, nullptr, pan + "\u00e9" + pan)},
  };
}

std::string jsonRequest(const Request& request) {
  return ordered_json{{"variant", kVariantNames[static_cast<std::size_t>(request.variant)]},
                      {"timestamp", 1700000000},
                      {"params", request.params}}
      .dump();
}

// The three ways into the library, and the C++ one with a crypto provider of the host's. Each
// prepares its input before the scan and makes only the call inside it.
enum class Entry { cpp, cTyped, cJson, cppProvider };

// Where the library has no built-in RSA, every core has the tests' own provider.
constexpr bool kBuiltInRsa = SDKCORE_WITH_OPENSSL;

SdkCore& sharedCore() {
  static SdkCore core(kBuiltInRsa ? nullptr : std::make_shared<testing::OpenSslTestProvider>());
  return core;
}

SdkCore& providerCore() {
  static SdkCore core(std::make_shared<testing::OpenSslTestProvider>());
  return core;
}

sdkcore_core* sharedCCore() {
  static sdkcore_core* const core = [] {
    sdkcore_core* made = nullptr;
    const sdkcore_crypto_provider provider = testing::openSslCProvider();
    kBuiltInRsa ? sdkcore_core_new(&made) : sdkcore_core_new_with_provider(&provider, &made);
    return made;
  }();
  return core;
}

class Call {
 public:
  Call(Entry entry, const Request& request) : entry_(entry) {
    sharedCore();  // made outside the scan
    providerCore();
    sharedCCore();
    text_ = jsonRequest(request);
    if (entry == Entry::cpp || entry == Entry::cppProvider)
      config_.emplace(tokenRequestFromJsonText(text_, {}));
    if (entry == Entry::cTyped) typedRequest(request);
  }
  ~Call() {
    sdkcore_free(json_);
    sdkcore_token_result_free(result_);
    sdkcore_request_free(request_);
  }
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  void run() {
    if (entry_ == Entry::cpp) token_ = sharedCore().generateWithConfig(*config_).token;
    if (entry_ == Entry::cppProvider) token_ = providerCore().generateWithConfig(*config_).token;
    if (entry_ == Entry::cTyped) sdkcore_generate_token(sharedCCore(), request_, &result_);
    if (entry_ == Entry::cJson) {
      sdkcore_generate_token_json(sharedCCore(), text_.data(), text_.size(), &json_, nullptr);
    }
  }

  // True when the call answered with a token.
  bool madeToken() const {
    const char* token = nullptr;
    if (entry_ == Entry::cTyped) sdkcore_token_result_token(result_, &token, nullptr);
    if (entry_ == Entry::cJson) return json_ != nullptr && json::parse(json_).contains("token");
    return token_.has_value() || token != nullptr;
  }

 private:
  void typedRequest(const Request& request) {
    sdkcore_request_new(request.variant, &request_);
    sdkcore_request_set_timestamp(request_, 1700000000);
    for (std::size_t field = 0; field < kFieldNames.size(); ++field) {
      const auto member = request.params.find(kFieldNames[field]);
      if (member == request.params.end()) continue;
      const auto& text = member->get_ref<const std::string&>();
      sdkcore_request_set_text(request_, static_cast<int>(field), text.data(), text.size());
    }
  }

  Entry entry_;
  std::optional<SDKCoreConfig> config_;
  std::optional<std::string> token_;
  std::string text_;
  sdkcore_request* request_ = nullptr;
  sdkcore_token_result* result_ = nullptr;
  char* json_ = nullptr;
};

// A sink that reads every message, as a host's would.
class ReadingSink : public LogInterface {
 public:
  void log(const std::type_info&, const std::string&, const std::string& message,
           std::shared_ptr<const std::exception>) override {
    length_ += message.size();
  }

 private:
  std::size_t length_ = 0;
};

class CardDataWipeTest : public ::testing::TestWithParam<std::tuple<Entry, bool, std::size_t>> {};

TEST_P(CardDataWipeTest, FreedBlocksHoldNoCardData) {
  const auto [entry, withSink, index] = GetParam();
  const Request request = requests()[index];
  const auto sink = std::make_shared<ReadingSink>();
  if (withSink) Logger::shared().addLogInterface(sink);
  Call call(entry, request);
  const auto wanted = needles();
  ::sdkcore::testing::armFreedBlockScan(wanted);
  call.run();
  const std::vector<std::string> hits = ::sdkcore::testing::disarmFreedBlockScan();
  if (withSink) Logger::shared().removeLogInterface(sink);

  EXPECT_EQ(call.madeToken(), !std::string_view(request.name).starts_with("refused"));
  for (const std::string& hit : hits) ADD_FAILURE() << "freed block holds the " << hit;
}

std::string caseName(const ::testing::TestParamInfo<CardDataWipeTest::ParamType>& info) {
  constexpr std::array<const char*, 4> kEntries = {"Cpp", "CTyped", "CJson", "CppProvider"};
  const auto [entry, withSink, index] = info.param;
  return std::string(kEntries[static_cast<std::size_t>(entry)]) +
         (withSink ? "WithSink_" : "NoSink_") + requests()[index].name;
}

INSTANTIATE_TEST_SUITE_P(AllEntries, CardDataWipeTest,
                         ::testing::Combine(::testing::Values(Entry::cpp, Entry::cTyped,
                                                              Entry::cJson, Entry::cppProvider),
                                            ::testing::Bool(),
                                            ::testing::Range(std::size_t{0}, requests().size())),
                         caseName);

// The wiping text overwrites every buffer it gives back: grown, shrunk, replaced, moved or
// destroyed, the card number is in no freed block; a std::string grown the same way leaves it.
TEST(WipedTextTest, FreedBuffersHoldNoCardData) {
  using Step = void (*)(WipedText&);
  const std::vector<std::pair<const char*, Step>> steps = {
      {"grow", [](WipedText& text) { text.append(std::string(1000, 'x')); }},
      {"shrink", [](WipedText& text) { text.resize(3); }},
      {"assign", [](WipedText& text) { text.assign(std::string(500, 'y')); }},
      {"moveAssign", [](WipedText& text) { text = WipedText(std::string_view("other")); }},
      {"destroy", [](WipedText& text) { WipedText gone(std::move(text)); }},
  };
  const std::array<Needle, 1> wanted = {Needle{"card number", kPan}};
  for (const auto& [name, step] : steps) {
    ::sdkcore::testing::armFreedBlockScan(wanted);
    {
      WipedText text(kPan);
      step(text);
    }
    EXPECT_EQ(::sdkcore::testing::disarmFreedBlockScan(), std::vector<std::string>()) << name;
  }
  ::sdkcore::testing::armFreedBlockScan(wanted);
  {
    std::string plain(kPan);
    plain.append(std::string(1000, 'x'));
  }
  EXPECT_FALSE(::sdkcore::testing::disarmFreedBlockScan().empty()) << "the scan sees nothing";
}

// ---- Malformed requests ------------------------------------------------------------------

// Every run of 7 digits of the card number, and the security code as a payment string holds it.
std::vector<Needle> digitWindows() {
  std::vector<Needle> windows;
  for (std::size_t at = 0; at + 7 <= kPan.size(); ++at) {
    windows.push_back({"7 digits of the card number", kPan.substr(at, 7)});
  }
  windows.push_back({"security code as /947/", "/947/"});
  return windows;
}

struct MalformedRequest {
  const char* name;
  std::string text;
};

// Requests that fail after the card data was read: at a syntax error, at a check of the reader
// or of the request format.
std::vector<MalformedRequest> malformedRequests() {
  std::ifstream file(SDKCORE_DEMO_PUBLIC_KEY);
  const std::string key{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::string pan(kPan),
      escapedPan = "\\u0034\\u0030\\u0032\\u0034\\u0030\\u0030\\u0037\\u0031";
  const std::string head = R"({"variant":"cardParams","timestamp":1700000000,"params":{"pubKey":)" +
                           json(key).dump() + R"(,"cvc":"947","expiryMMYY":"12/30",)";
  const std::string card = head + R"("pan":")" + pan + '"';
  return {
      {"strayComma", card + ",}}"},
      {"unterminatedAfterTheNumber", card + R"(,"cardholder":"JOHN)"},
      {"unterminatedNumber", head + R"("pan":")" + pan},
      {"unterminatedEscapedNumber", head + R"("pan":")" + escapedPan + "8643211"},
      {"badUtf8AfterTheNumber", card + ",\"cardholder\":\"\xff\"}}"},
      {"duplicateNumber", card + R"(,"pan":")" + pan + R"("}})"},
      {"tooDeepAfterTheNumber",
       card + R"(,"x":)" + std::string(70, '[') + std::string(70, ']') + "}}"},
      {"numberOfDigits", head + R"("pan":)" + pan + ",}}"},
      {"numberAsVariant", R"({"variant":")" + pan + R"(","params":{"pubKey":"k"}})"},
      {"numberAsRegisteredFrom", card + R"(,"mdOrder":"O"},"registeredFrom":")" + pan + R"("})"},
      // Longer than what a reader's fixed scratch filler would overwrite.
      {"numberAtTheEndOfALongHolder",
       card + R"(,"mdOrder":"O","cardholder":")" + std::string(300, 'A') + pan + R"("}})"},
  };
}

class MalformedRequestWipeTest : public ::testing::TestWithParam<std::tuple<Entry, std::size_t>> {};

// Whatever the failure, nothing freed and no message holds 7 digits of the card number.
TEST_P(MalformedRequestWipeTest, FreedBlocksAndTheMessageHoldNoCardData) {
  const auto [entry, index] = GetParam();
  const std::string text = malformedRequests()[index].text;
  sdkcore_core* core = sharedCCore();
  std::string message;
  char* answer = nullptr;
  const std::vector<Needle> wanted = digitWindows();
  ::sdkcore::testing::armFreedBlockScan(wanted);
  if (entry == Entry::cJson) {
    sdkcore_generate_token_json(core, text.data(), text.size(), &answer, nullptr);
  } else {
    try {
      tokenRequestFromJsonText(text, {});
    } catch (const JsonInputError& error) {
      message = error.what();
    }
  }
  const std::vector<std::string> hits = ::sdkcore::testing::disarmFreedBlockScan();
  if (answer != nullptr) message = answer;
  sdkcore_free(answer);

  for (const std::string& hit : hits) ADD_FAILURE() << "freed block holds the " << hit;
  for (const Needle& needle : wanted) {
    EXPECT_EQ(message.find(needle.bytes), std::string::npos) << message;
  }
}

std::string malformedCaseName(
    const ::testing::TestParamInfo<MalformedRequestWipeTest::ParamType>& info) {
  const auto [entry, index] = info.param;
  return std::string(entry == Entry::cpp ? "Cpp_" : "CJson_") + malformedRequests()[index].name;
}

INSTANTIATE_TEST_SUITE_P(Requests, MalformedRequestWipeTest,
                         ::testing::Combine(::testing::Values(Entry::cpp, Entry::cJson),
                                            ::testing::Range(std::size_t{0},
                                                             malformedRequests().size())),
                         malformedCaseName);

}  // namespace
}  // namespace sdkcore
