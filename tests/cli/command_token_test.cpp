// `sdkcore token` through the built program: round trips of every variant, the precedence of
// flags and request members, the log sink, and batches (order, content, memory).
#include <gtest/gtest.h>

#include "support/payment_string_fields.hpp"

#include <algorithm>
#include <ctime>
#include <functional>
#include <future>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "process.hpp"
#include "sdkcore/base58.hpp"
#include "support/card_number_leak.hpp"
#include "support/resource_use.hpp"
#include "support/test_keys.hpp"

namespace sdkcore::testing {
namespace {

using nlohmann::json;

const std::vector<std::string> kUtc = {"TZ=UTC"};

const std::string& pubKeyFile() {
  static const std::string path = writeTempFile("token_pub.pem", testKeyPair(2048).publicPem);
  return path;
}

std::string pmId(const std::string& bindingId) {
  return "pm_" + Base58::encode(std::span(reinterpret_cast<const std::uint8_t*>(bindingId.data()),
                                          bindingId.size()));
}

// The nine fields of the payment string inside a {"token": ...} output line.
std::vector<std::string> decryptedFields(const std::string& outputLine) {
  const json output = json::parse(outputLine);
  if (!output.contains("token")) return {};
  const auto plain = decryptToken(output["token"].get<std::string>(), testKeyPair(2048).privatePem);
  return plain ? paymentStringFields(*plain) : std::vector<std::string>{};
}

const std::regex kUuid("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");

struct RoundTripCase {
  std::string name;
  std::vector<std::string> args;
  std::vector<std::string> fields;  // fields 3 to 9 of the payment string
  friend void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }
};

class TokenRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(TokenRoundTrip, DecryptsToTheRequestsFields) {
  std::vector<std::string> args = {"token", "--pubkey", pubKeyFile(), "--timestamp",
                                   "1700000000.9"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const ProcessResult result = runCli(args, withInput("", kUtc));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> fields = decryptedFields(result.out);
  ASSERT_EQ(fields.size(), 9u) << result.out;
  EXPECT_EQ(fields[0], "2023-11-14T22:13:20+00:00");
  EXPECT_TRUE(std::regex_match(fields[1], kUuid)) << fields[1];
  EXPECT_EQ(std::vector<std::string>(fields.begin() + 2, fields.end()), GetParam().fields);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Variants, TokenRoundTrip, ::testing::Values(
    RoundTripCase{"CardParams", {"--pan", "4111111111111111", "--cvc", "123", "--expiry", "12/25", "--cardholder", "JOHN DOE", "--order", "ORDER-1"},
                  {"4111111111111111", "123", "202512", "ORDER-1", "", "JOHN DOE", "ZKIT_CORE"}},
    RoundTripCase{"CardParamsInstant", {"--pan", "5555555555554444", "--cvc", "321", "--expiry", "03/31", "--from", "ZKIT_FORMS"},
                  {"5555555555554444", "321", "20313", "", "", "", "ZKIT_FORMS"}},
    RoundTripCase{"NewPaymentMethodParams", {"--pan", "4111111111111111", "--cvc", "123", "--expiry", "01/30", "--new-card", "--cardholder", "Jo Do", "--from", "ZKIT_PAYMENT"},
                  {"4111111111111111", "123", "20301", "", "", "Jo Do", "ZKIT_PAYMENT"}},
    RoundTripCase{"BindingParams", {"--binding-id", "BIND-77", "--cvc", "123", "--order", "ORDER-1"},
                  {"", "123", "", "ORDER-1", "BIND-77", "", "ZKIT_CORE"}},
    RoundTripCase{"BindingParamsInstant", {"--binding-id", "BIND-77"},
                  {"", "", "", "", "BIND-77", "", "ZKIT_CORE"}},
    RoundTripCase{"StoredPaymentMethodParams", {"--stored-id", pmId("BIND-77"), "--cvc", "999"},
                  {"", "999", "", "", "BIND-77", "", "ZKIT_CORE"}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(TokenCommand, DateFieldIsTheSystemsLocalTimeUnderTz) {
  // What `date -d @T +%Y-%m-%dT%H:%M:%S%:z` says under the same TZ.
  for (const auto& [tz, timestamp, date] :
       {std::tuple("IST-5:30", "1700000000", "2023-11-15T03:43:20+05:30"),
        std::tuple("America/Mexico_City", "1751371200", "2025-07-01T06:00:00-06:00")}) {
    const ProcessResult result =
        runCli({"token", "--pubkey", pubKeyFile(), "--timestamp", timestamp, "--binding-id", "B"},
               withInput("", {std::string("TZ=") + tz}));
    EXPECT_EQ(decryptedFields(result.out).at(0), date) << tz << result.err;
  }
}

TEST(TokenCommand, TwoIdenticalRequestsGiveDifferentTokensAndUuids) {
  const std::vector<std::string> args = {"token", "--pubkey", pubKeyFile(), "--binding-id", "B"};
  const ProcessResult first = runCli(args);
  const ProcessResult second = runCli(args);
  EXPECT_NE(first.out, second.out);
  EXPECT_NE(decryptedFields(first.out).at(1), decryptedFields(second.out).at(1));
}

struct PrecedenceCase {
  std::string name;
  std::vector<std::string> flags;
  std::string request;
  std::string date;    // field 1
  std::string source;  // field 9
  friend void PrintTo(const PrecedenceCase& c, std::ostream* os) { *os << c.name; }
};

class TokenPrecedence : public ::testing::TestWithParam<PrecedenceCase> {};

TEST_P(TokenPrecedence, RequestMembersWinOverFlagsButPubkeyReplaces) {
  std::vector<std::string> args = {"token", "--request", "-", "--pubkey", pubKeyFile()};
  args.insert(args.end(), GetParam().flags.begin(), GetParam().flags.end());
  const ProcessResult result = runCli(args, withInput(GetParam().request, kUtc));
  ASSERT_EQ(result.status, 0) << result.out << result.err;
  const std::vector<std::string> fields = decryptedFields(result.out);
  ASSERT_EQ(fields.size(), 9u);
  EXPECT_EQ(fields[0], GetParam().date);
  EXPECT_EQ(fields[8], GetParam().source);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, TokenPrecedence, ::testing::Values(
    PrecedenceCase{"FlagsFillMissingMembers", {"--timestamp", "1700000000", "--from", "ZKIT_FORMS"},
                   R"({"variant":"bindingParamsInstant","params":{"bindingId":"B","pubKey":"not a key"}})",
                   "2023-11-14T22:13:20+00:00", "ZKIT_FORMS"},
    PrecedenceCase{"RequestMembersWin", {"--timestamp", "1700000000", "--from", "ZKIT_FORMS"},
                   R"({"variant":"bindingParamsInstant","params":{"bindingId":"B"},"timestamp":-0.5,"registeredFrom":"ZKIT_PAYMENT"})",
                   "1970-01-01T00:00:00+00:00", "ZKIT_PAYMENT"},
    PrecedenceCase{"NullMembersTakeTheDefaults", {"--timestamp", "12.9"},
                   R"({"variant":"bindingParamsInstant","params":{"bindingId":"B"},"timestamp":null,"registeredFrom":null})",
                   "1970-01-01T00:00:12+00:00", "ZKIT_CORE"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(TokenCommand, UsesTheRequestsOwnKeyWithoutWarning) {
  const json request = {{"variant", "bindingParamsInstant"},
                        {"params", {{"bindingId", "B"}, {"pubKey", testKeyPair(2048).publicPem}}}};
  const ProcessResult result = runCli({"token", "--request", "-"}, withInput(request.dump()));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(decryptedFields(result.out).size(), 9u);
}

TEST(TokenCommand, LogWritesOneMaskedLinePerEvent) {
  const ProcessResult result =
      runCli({"token", "--log", "--pubkey", pubKeyFile(), "--pan", "4111111111111111", "--cvc",
              "123", "--expiry", "12/30", "--cardholder", "A\nB\x1b"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "{\"errors\":{\"CARDHOLDER\":\"invalid-format\"}}\n");
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = result.err.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(result.err.substr(start, end - start));
  }
  ASSERT_GE(lines.size(), 3u) << result.err;
  for (const std::string& line : lines) EXPECT_EQ(line.rfind("SDK-Core: ", 0), 0u) << line;
  EXPECT_EQ(lines.back(), "SDK-Core: validateField(A\\nB\\u{1B}): Error CARDHOLDER (CARDHOLDER)");
  EXPECT_EQ(result.err.find("4111111111111111"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("\"123\""), std::string::npos) << result.err;
}

TEST(TokenCommand, LogOfASuccessfulCallEndsWithGenerationMethod) {
  const ProcessResult result = runCli({"token", "--log", "--pubkey", pubKeyFile(), "--binding-id",
                                       "BIND-1", "--cvc", "", "--order", "O-1"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("SDK-Core: validateField(): Error CVC (CVC)\n"), std::string::npos)
      << result.err;
  const ProcessResult ok =
      runCli({"token", "--log", "--pubkey", pubKeyFile(), "--binding-id", "BIND-1"});
  EXPECT_EQ(ok.status, 0);
  EXPECT_TRUE(ok.err.ends_with("SDK-Core: generation method:\n")) << ok.err;
}

// A card number typed into any other field, in any form, reaches --log masked.
TEST(TokenCommand, LogMasksACardNumberInAnotherField) {
  const std::vector<std::vector<std::string>> requests = {
      {"--pan", "4111111111111111", "--cvc", "123", "--expiry", "12/30", "--order", "O-1",
       "--cardholder"},
      {"--pan", "4111111111111111", "--cvc", "123", "--expiry", "12/30", "--order"},
      {"--pan", "4111111111111111", "--cvc", "123", "--expiry"},
      {"--order", "O-1", "--binding-id"},
      {"--stored-id"}};
  for (const PanForm& form : panForms()) {
    for (std::vector<std::string> args : requests) {
      args.push_back("No. " + form.text + " !");  // the value of the last flag
      args.insert(args.begin(), {"token", "--log", "--pubkey", pubKeyFile()});
      const ProcessResult result = runCli(args);
      const std::string what = form.name + " for " + args[args.size() - 2] + ":\n" + result.err;
      EXPECT_NE(result.err.find(form.lastFour + " !"), std::string::npos) << what;
      EXPECT_FALSE(showsPanDigits(result.err)) << what;
    }
  }
}

// A time stamp is a number of seconds: a card number given as one reaches --log masked.
TEST(TokenCommand, LogMasksACardNumberAsTheTimeStamp) {
  const ProcessResult result = runCli({"token", "--log", "--pubkey", pubKeyFile(), "--timestamp",
                                       std::string(kLeakPan), "--binding-id", "B"});
  EXPECT_NE(result.err.find("timestamp: "), std::string::npos) << result.err;
  EXPECT_FALSE(showsPanDigits(result.err)) << result.err;
}

// Every way a JSON request can be refused, with a card number where the error would name a
// member or quote a value: neither the message (on stderr, or as a batch result line) nor the log
// shows it, and no message grows with the input.
TEST(TokenCommand, RequestErrorsNeverShowTheCardData) {
  const std::string pan(kLeakPan);
  const std::string card = R"("params":{"pan":"4111111111111111","cvc":"1","expiryMMYY":"12/30"})";
  const std::string requests[] = {
      R"({"variant":"cardParams","params":{"pan":)" + pan + "x}}",
      R"({"variant":")" + pan + R"(","params":{}})",
      R"({"variant":")" + pan + std::string(100000, '0') + R"(","params":{}})",
      R"({"variant":"cardParams","params":{")" + pan + R"(":1,")" + pan + R"(":2}})",
      R"({")" + pan + R"(":1,")" + pan + R"(":2})",
      R"({")" + pan + R"(":)" + std::string(70, '[') + std::string(70, ']') + "}",
      R"({"variant":"cardParams","params":{")" + pan + "\":\"\xff\"}}",
      R"({")" + pan + "\xff\":1}",
      R"({")" + pan + R"(":1e999})",
      R"({"variant":"cardParamsInstant",)" + card + R"(,"registeredFrom":")" + pan + R"("})",
      R"({"variant":"cardParams","params":{"pan":)" + pan + "}}",
      R"({"variant":"cardParams","params":{"cvc":")" + pan + R"("}})",
      R"({"variant":")" + pan + R"("})" + std::string(1, '\0') + pan,
  };
  std::string batch;
  for (const std::string& request : requests) {
    const ProcessResult single = runCli({"token", "--log", "--request", "-"}, withInput(request));
    EXPECT_EQ(single.status, 2) << single.err;
    EXPECT_FALSE(showsPanDigits(single.err)) << single.err;
    EXPECT_LT(single.err.size(), 300u) << single.err;
    batch += request + "\n";
  }
  const ProcessResult lines = runCli({"token", "--log", "--batch"}, withInput(batch));
  EXPECT_EQ(lines.status, 0);
  EXPECT_EQ(std::count(lines.out.begin(), lines.out.end(), '\n'), std::ssize(requests));
  EXPECT_EQ(lines.out.find("token"), std::string::npos) << lines.out;
  EXPECT_FALSE(showsPanDigits(lines.out)) << lines.out;
  EXPECT_FALSE(showsPanDigits(lines.err)) << lines.err;
}

// ---- batches ----

// One line of a mixed batch and what its result line must be.
struct BatchLine {
  std::string line;
  std::string expectKind;           // "token", "errors" or "error"
  std::string errorKey;             // for "errors"
  std::vector<std::string> fields;  // for "token": fields 3 to 9
  long long timestamp = 0;          // for "token"
};

std::string holderName(int i) {
  std::string name = "HOLDER ";
  for (char digit : std::to_string(i)) name += static_cast<char>('A' + (digit - '0'));
  return name;
}

// Request i of a batch: all six variants, valid and invalid, and lines that are no request.
BatchLine batchLine(int i) {
  static const char* kSources[] = {"ZKIT_CORE", "ZKIT_FORMS", "ZKIT_PAYMENT"};
  const int variant = i % 6;
  const int mode = (i / 6) % 5;  // 0-2 valid, 3 refused by the library, 4 not a request
  const std::string order = "ORDER-" + std::to_string(i);
  const std::string binding = "BIND-" + std::to_string(i);
  const std::string source = kSources[i % 3];
  const long long timestamp = 1700000000LL + i;
  if (mode == 4) {
    static const char* kBad[] = {
        R"({"variant":"cardParams","params":{"pan":)", "",
        R"({"variant":"cardParams","params":{"pan":4111}})", R"({"variant":"nope","params":{}})",
        R"({"variant":"bindingParamsInstant","params":{"bindingId":"a","bindingId":"b"}})"};
    return {kBad[(i / 30) % 5], "error", "", {}, 0};
  }
  json params;
  BatchLine expected;
  expected.expectKind = mode == 3 ? "errors" : "token";
  expected.timestamp = timestamp;
  const std::string cvc = mode == 1 ? "" : "123";
  const std::string pan = i % 2 ? "4111111111111111" : "5555555555554444";
  static const char* kVariants[] = {
      "cardParams",    "cardParamsInstant",    "newPaymentMethodParams",
      "bindingParams", "bindingParamsInstant", "storedPaymentMethodParams"};
  if (variant <= 2) {
    params = {
        {"pan", mode == 3 ? "4111111111111112" : pan}, {"cvc", "123"}, {"expiryMMYY", "07/31"}};
    if (mode != 2) params["cardholder"] = holderName(i);
    if (variant == 0) params["mdOrder"] = order;
    expected.errorKey = "PAN";
    expected.fields = {
        pan, "123", "20317", variant == 0 ? order : "", "", mode != 2 ? holderName(i) : "", source};
  } else {
    if (mode != 1) params["cvc"] = cvc;
    if (variant == 5) {
      params["storedPaymentMethodId"] = mode == 3 ? "BIND" : pmId(binding);
      expected.errorKey = "STORED_PAYMENT_METHOD_ID";
    } else {
      params["bindingId"] = mode == 3 ? "" : binding;
      expected.errorKey = "BINDING_ID";
    }
    if (variant == 3) params["mdOrder"] = order;
    expected.fields = {"",    mode != 1 ? cvc : "", "", variant == 3 ? order : "", binding, "",
                       source};
  }
  expected.line = json{
      {"variant", kVariants[variant]},
      {"params", params},
      {"registeredFrom", source},
      {"timestamp",
       timestamp}}.dump();
  return expected;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    result.push_back(text.substr(start, end - start));
  }
  return result;
}

// Checks result lines [begin, end) against their requests; returns the UUIDs of the tokens.
std::vector<std::string> checkResults(const std::vector<std::string>& results, int begin, int end) {
  std::vector<std::string> uuids;
  for (int i = begin; i < end; ++i) {
    const BatchLine expected = batchLine(i);
    const json result = json::parse(results[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(result.contains(expected.expectKind)) << i << ": " << results[i];
    if (expected.expectKind == "errors") {
      EXPECT_TRUE(result["errors"].contains(expected.errorKey)) << i << ": " << results[i];
    } else if (expected.expectKind == "token") {
      const std::vector<std::string> fields = decryptedFields(results[static_cast<std::size_t>(i)]);
      EXPECT_EQ(fields.size(), 9u) << i;
      if (fields.size() != 9u) continue;
      EXPECT_EQ(fields[0], utcDate(expected.timestamp)) << i;
      EXPECT_TRUE(std::regex_match(fields[1], kUuid)) << i;
      EXPECT_EQ(std::vector<std::string>(fields.begin() + 2, fields.end()), expected.fields) << i;
      uuids.push_back(fields[1]);
    }
  }
  return uuids;
}

TEST(TokenBatch, TenThousandMixedRequestsAnswerInOrder) {
  constexpr int kCount = 10000;
  std::string input;
  for (int i = 0; i < kCount; ++i) input += batchLine(i).line + "\n";
  const ProcessResult result =
      runCli({"token", "--batch", "--jobs", "2", "--pubkey", pubKeyFile()}, withInput(input, kUtc));
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> results = lines(result.out);
  ASSERT_EQ(results.size(), static_cast<std::size_t>(kCount));
  // Decrypting is the slow part (private-key operations); split it over two threads.
  auto firstHalf = std::async(std::launch::async, checkResults, std::cref(results), 0, kCount / 2);
  std::vector<std::string> uuids = checkResults(results, kCount / 2, kCount);
  const std::vector<std::string> more = firstHalf.get();
  uuids.insert(uuids.end(), more.begin(), more.end());
  EXPECT_GT(uuids.size(), static_cast<std::size_t>(kCount / 2));
  EXPECT_EQ(std::set<std::string>(uuids.begin(), uuids.end()).size(), uuids.size());
}

TEST(TokenBatch, AnswersEveryLineAndGoesOnAfterBadOnes) {
  const std::string input = std::string("\n") + "{\"variant\":\n" + "[1,2]\n" +
                            R"({"variant":"bindingParamsInstant","params":{"bindingId":"B"}})";
  const ProcessResult result =
      runCli({"token", "--batch", "--pubkey", pubKeyFile()}, withInput(input));
  ASSERT_EQ(result.status, 0);
  const std::vector<std::string> results = lines(result.out);
  ASSERT_EQ(results.size(), 4u) << result.out;
  EXPECT_EQ(results[0], R"({"error":"empty line"})");
  EXPECT_EQ(results[1].rfind(R"({"error":"malformed JSON at line 1, column 12)", 0), 0u)
      << results[1];
  EXPECT_EQ(results[2], R"({"error":"the request must be a JSON object"})");
  EXPECT_EQ(decryptedFields(results[3]).size(), 9u);
}

TEST(TokenBatch, WarnsOnceAboutTheDemoKey) {
  std::string input;
  for (int i = 0; i < 5; ++i)
    input += R"({"variant":"bindingParamsInstant","params":{"bindingId":"B"}})"
             "\n";
  const ProcessResult result = runCli({"token", "--batch", "--jobs", "2"}, withInput(input));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(lines(result.out).size(), 5u);
  EXPECT_EQ(lines(result.err).size(), 1u) << result.err;
}

// Runs a batch of 'count' lines generated on the fly; returns the child's peak RSS in KiB.
// Runs a batch of 'count' lines made on the fly by 'lineOf'; returns the child's peak RSS in KiB.
long batchPeakRss(int count, const std::function<std::string(int)>& lineOf,
                  const std::string& jobs = "2") {
  int next = 0;
  std::size_t resultLines = 0;
  ProcessOptions options;
  options.moreInput = [&](std::string& chunk) {
    for (; chunk.size() < 65536 && next < count; ++next) chunk += lineOf(next) + "\n";
    return next < count;
  };
  options.onOutput = [&](const char* data, std::size_t size) {
    resultLines += static_cast<std::size_t>(std::count(data, data + size, '\n'));
  };
  const ProcessResult result =
      runCli({"token", "--batch", "--jobs", jobs, "--pubkey", pubKeyFile()}, options);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(resultLines, static_cast<std::size_t>(count));
  return result.maxRssKb;
}

TEST(TokenBatch, MemoryStaysBoundedForLargeLinesWhateverTheJobs) {
  // Valid requests, each with an order number of almost the longest line allowed.
  const std::string line =
      R"({"variant":"cardParams","params":{"pan":"4111111111111111","cvc":"123",)"
      R"("expiryMMYY":"12/30","mdOrder":")" +
      std::string(1024 * 1024 - 512, 'O') + "\"}}";
  const bool bounded = resourceBoundsApply();
  const long peak = batchPeakRss(
      bounded ? 300 : 20, [&](int) { return line; }, "256");
  RecordProperty("peak_rss_kib", std::to_string(peak));
  if (!bounded) return;
  EXPECT_LT(peak, 400 * 1024);
}

TEST(TokenBatch, StandardInputFailingPartwayKeepsOnlyWholeResultLines) {
  if (!pseudoTerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal here (/dev/pts not mounted)";
  const std::string request = R"({"variant":"bindingParamsInstant","params":{"bindingId":"B"}})";
  ProcessOptions options = withInput(request + "\n" + request + "\n" + request.substr(0, 20));
  options.stdinFailsAfterInput = true;
  const ProcessResult result =
      runCli({"token", "--batch", "--jobs", "2", "--pubkey", pubKeyFile()}, options);
  EXPECT_EQ(result.status, 2);
  const std::vector<std::string> results = lines(result.out);
  ASSERT_EQ(results.size(), 2u) << result.out;
  EXPECT_TRUE(result.out.ends_with("\n"));
  for (const std::string& text : results) EXPECT_EQ(decryptedFields(text).size(), 9u);
  EXPECT_EQ(lines(result.err).size(), 1u) << result.err;
  EXPECT_NE(result.err.find("cannot read standard input"), std::string::npos) << result.err;
}

TEST(TokenBatch, MemoryStaysFlatHoweverLongTheInput) {
  // Where memory means nothing (sanitizers keep freed blocks), shorter batches check the answers.
  const bool bounded = resourceBoundsApply();
  const auto mixed = [](int i) { return batchLine(i).line; };
  const long small = batchPeakRss(1000, mixed);
  const long large = batchPeakRss(bounded ? 100000 : 2000, mixed);
  RecordProperty("peak_rss_kib_1000", std::to_string(small));
  RecordProperty("peak_rss_kib_100000", std::to_string(large));
  if (!bounded) return;
  EXPECT_LE(large, small + small / 10)
      << "1,000 lines: " << small << " KiB, 100,000 lines: " << large << " KiB";
}

// ---- progress line ----

constexpr std::string_view kClearLine = "\r\x1b[K";

// Runs a batch of 'count' requests; standard error is a pseudo-terminal when 'terminal'.
ProcessResult progressBatch(int count, bool terminal, std::vector<std::string> flags) {
  std::string input;
  for (int i = 0; i < count; ++i) input += batchLine(i).line + "\n";
  ProcessOptions options = withInput(input, kUtc);
  options.stderrIsTerminal = terminal;
  flags.insert(flags.begin(), {"token", "--batch", "--jobs", "2", "--pubkey", pubKeyFile()});
  ProcessResult result = runCli(flags, options);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(lines(result.out).size(), static_cast<std::size_t>(count));
  EXPECT_EQ(result.out.find('\r'), std::string::npos);  // standard output is untouched
  return result;
}

TEST(TokenProgress, ShownOnATerminalOrWhenForcedAndClearedAtTheEnd) {
  if (!pseudoTerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal here (/dev/pts not mounted)";
  for (const auto& [terminal, flag, shown] :
       {std::tuple(true, "", true), std::tuple(false, "", false),
        std::tuple(false, "--progress", true), std::tuple(true, "--no-progress", false)}) {
    const ProcessResult result = progressBatch(
        50, terminal, *flag ? std::vector<std::string>{flag} : std::vector<std::string>{});
    if (shown) {
      EXPECT_NE(result.err.find(" done, "), std::string::npos) << flag;
      EXPECT_TRUE(result.err.ends_with(kClearLine)) << flag;
    } else {
      EXPECT_EQ(result.err, "") << flag;
    }
  }
}

TEST(TokenProgress, LogLinesNeverMixWithTheProgressLine) {
  if (!pseudoTerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal here (/dev/pts not mounted)";
  const ProcessResult result = progressBatch(30, true, {"--log"});
  EXPECT_GT(lines(result.err).size(), 30u);
  EXPECT_NE(result.err.find(" done, "), std::string::npos);
  EXPECT_TRUE(result.err.ends_with(kClearLine));
  // Each terminal line ends with a log line written after the progress line was cleared.
  for (const std::string& line : lines(result.err)) {
    const std::size_t cleared = line.rfind(kClearLine);
    const std::string last =
        cleared == std::string::npos ? line : line.substr(cleared + kClearLine.size());
    EXPECT_TRUE(last.starts_with("SDK-Core: ") && last.find(" done, ") == std::string::npos)
        << line;
  }
}

}  // namespace
}  // namespace sdkcore::testing
