// The C interface's JSON entry point, sdkcore_generate_token_json: it answers SDKCORE_OK with one
// result object, or SDKCORE_MALFORMED_REQUEST with the request reader's own message, and hands
// back a NUL-terminated text of the given length that sdkcore_free releases (the leak check sees
// the rest). Refused arguments leave the out-pointers cleared. A token decrypts to what the JSON
// asks for, and the same request built field by field through sdkcore_generate_token has the same
// outcome, with its accessors giving a token or one error, never both. The log shows no card
// number in clear.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "fuzz_support.hpp"
#include "json/strict_json.hpp"
#include "request_oracle.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/token_request.hpp"

namespace {

using nlohmann::json;
using sdkcore::fuzzing::ExpectedRequest;

sdkcore_core* core = nullptr;
std::vector<std::string> logged;  // the log texts of the current input

void onLog(void*, const char*, std::size_t, const char* message, std::size_t messageLength,
           const char* error, std::size_t errorLength) {
  logged.emplace_back(message, messageLength);
  if (error != nullptr) logged.emplace_back(error, errorLength);
}

constexpr std::pair<const char*, int> kFields[] = {
    {"pan", SDKCORE_FIELD_PAN},
    {"cvc", SDKCORE_FIELD_CVC},
    {"expiryMMYY", SDKCORE_FIELD_EXPIRY_MMYY},
    {"cardholder", SDKCORE_FIELD_CARDHOLDER},
    {"mdOrder", SDKCORE_FIELD_MD_ORDER},
    {"bindingId", SDKCORE_FIELD_BINDING_ID},
    {"storedPaymentMethodId", SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID},
};

int fieldOf(const std::string& name) {
  const auto* it = std::find_if(std::begin(kFields), std::end(kFields),
                                [&](const auto& field) { return name == field.first; });
  SDKCORE_FUZZ_CHECK(it != std::end(kFields));
  return it->second;
}

// A NULL core, or a NULL text with a non-zero length, is refused with nothing handed back.
void checkRefusals(const char* text, std::size_t size) {
  static char unset;
  const auto refused = [](sdkcore_core* with, const char* request, std::size_t length) {
    char* out = &unset;
    std::size_t outLength = 1;
    const int status = sdkcore_generate_token_json(with, request, length, &out, &outLength);
    return status == SDKCORE_INVALID_ARGUMENT && out == nullptr && outLength == 0;
  };
  SDKCORE_FUZZ_CHECK(refused(nullptr, text, size));
  if (size > 0) SDKCORE_FUZZ_CHECK(refused(core, nullptr, size));
}

struct Answer {
  int status;
  std::string text;
};

Answer answerOf(const char* text, std::size_t size) {
  static char unset;
  char* out = &unset;
  std::size_t length = 1;
  // The length is optional: leave it out for every other input.
  std::size_t* lengthOut = size % 2 == 0 ? &length : nullptr;
  const int status = sdkcore_generate_token_json(core, text, size, &out, lengthOut);
  SDKCORE_FUZZ_CHECK(status == SDKCORE_OK || status == SDKCORE_MALFORMED_REQUEST);
  SDKCORE_FUZZ_CHECK(out != nullptr && out != &unset);
  Answer answer{status, std::string(out, std::strlen(out))};
  SDKCORE_FUZZ_CHECK(lengthOut == nullptr || length == answer.text.size());
  SDKCORE_FUZZ_CHECK(answer.text.find('\n') == std::string::npos);
  SDKCORE_FUZZ_CHECK(sdkcore_free(out) == SDKCORE_OK);
  return answer;
}

std::optional<std::string> readerMessage(std::string_view text) {
  try {
    sdkcore::tokenRequestFromJsonText(text, {});
    return std::nullopt;
  } catch (const sdkcore::JsonInputError& error) {
    return error.what();
  }
}

// The request built field by field, to be freed with sdkcore_request_free.
sdkcore_request* typedRequest(const ExpectedRequest& expected) {
  sdkcore_request* request = nullptr;
  SDKCORE_FUZZ_CHECK(sdkcore_request_new(expected.variant, &request) == SDKCORE_OK);
  const auto set = [request](int field, const std::string& text) {
    SDKCORE_FUZZ_CHECK(sdkcore_request_set_text(request, field, text.data(), text.size()) ==
                       SDKCORE_OK);
  };
  for (const auto& [name, text] : expected.texts) set(fieldOf(name), text);
  set(SDKCORE_FIELD_PUB_KEY, expected.pubKey);
  const int from = static_cast<int>(expected.registeredFrom);
  SDKCORE_FUZZ_CHECK(sdkcore_request_set_registered_from(request, from) == SDKCORE_OK);
  if (expected.timestamp) {
    SDKCORE_FUZZ_CHECK(sdkcore_request_set_timestamp(request, *expected.timestamp) == SDKCORE_OK);
  }
  return request;
}

// The same request built field by field: a token exactly when the JSON answer has one, or the
// same error; the accessors give one or the other.
void checkTypedRequest(const ExpectedRequest& expected, const json* errors) {
  sdkcore_request* request = typedRequest(expected);
  sdkcore_token_result* result = nullptr;
  SDKCORE_FUZZ_CHECK(sdkcore_generate_token(core, request, &result) == SDKCORE_OK);
  const char* token = nullptr;
  const char* field = nullptr;
  const char* code = nullptr;
  std::size_t tokenLength = 0, fieldLength = 0, codeLength = 0;
  SDKCORE_FUZZ_CHECK(sdkcore_token_result_token(result, &token, &tokenLength) == SDKCORE_OK);
  SDKCORE_FUZZ_CHECK(sdkcore_token_result_error(result, &field, &fieldLength, &code, &codeLength) ==
                     SDKCORE_OK);
  SDKCORE_FUZZ_CHECK((token == nullptr) == (errors != nullptr));
  SDKCORE_FUZZ_CHECK((field == nullptr) == (token != nullptr) && (code == nullptr) == !field);
  if (token != nullptr) {
    SDKCORE_FUZZ_CHECK(tokenLength == std::strlen(token));
    sdkcore::fuzzing::checkToken(std::string(token, tokenLength), expected);
  } else {
    SDKCORE_FUZZ_CHECK(errors->begin().key() == std::string_view(field, fieldLength));
    SDKCORE_FUZZ_CHECK(errors->begin()->get<std::string>() == std::string(code, codeLength));
  }
  SDKCORE_FUZZ_CHECK(sdkcore_token_result_free(result) == SDKCORE_OK);
  SDKCORE_FUZZ_CHECK(sdkcore_request_free(request) == SDKCORE_OK);
}

// A card number of 12 digits or more never shows in clear in the log, unless another part of
// the request that is logged as it is holds it too.
void checkLogShowsNoCardNumber(const ExpectedRequest& expected) {
  const auto pan = expected.texts.find("pan");
  if (pan == expected.texts.end() || pan->second.size() < 12) return;
  const std::string& number = pan->second;
  if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return;
  }
  for (const auto& [name, text] : expected.texts) {
    if (name != "pan" && text.find(number) != std::string::npos) return;
  }
  if (expected.pubKey.find(number) != std::string::npos) return;
  if (expected.timestamp && !(std::fabs(*expected.timestamp) < 1e11)) return;
  for (const std::string& text : logged) {
    SDKCORE_FUZZ_CHECK(text.find(number) == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sdkcore::fuzzing::useUtc();
  std::uint64_t sink = 0;
  SDKCORE_FUZZ_CHECK(sdkcore_core_new(&core) == SDKCORE_OK);
  SDKCORE_FUZZ_CHECK(sdkcore_add_log_sink(onLog, nullptr, &sink) == SDKCORE_OK);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  checkRefusals(text, size);
  logged.clear();
  const Answer answer = answerOf(text, size);
  const std::optional<std::string> refusal = readerMessage({text, size});
  SDKCORE_FUZZ_CHECK((answer.status == SDKCORE_MALFORMED_REQUEST) == refusal.has_value());
  if (refusal) {
    SDKCORE_FUZZ_CHECK(answer.text == *refusal);
    return 0;
  }
  const json result = sdkcore::parseStrictJson(answer.text);
  SDKCORE_FUZZ_CHECK(result.is_object() && result.size() == 1);
  const auto lax = json::parse(text, text + size, nullptr, false);
  const std::optional<ExpectedRequest> expected = sdkcore::fuzzing::expectedRequest(lax, {});
  SDKCORE_FUZZ_CHECK(expected.has_value());
  const auto token = result.find("token");
  const auto errors = result.find("errors");
  if (token != result.end()) {
    SDKCORE_FUZZ_CHECK(token->is_string());
    sdkcore::fuzzing::checkToken(token->get<std::string>(), *expected);
  } else {
    SDKCORE_FUZZ_CHECK(errors != result.end() && errors->is_object() && errors->size() == 1);
    SDKCORE_FUZZ_CHECK(errors->begin()->is_string());
  }
  checkLogShowsNoCardNumber(*expected);
  checkTypedRequest(*expected, errors == result.end() ? nullptr : &*errors);
  return 0;
}
