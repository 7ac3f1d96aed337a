// The validator functions of the C interface.

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "base/wiped_text.hpp"
#include "capi/abi_support.hpp"
#include "sdkcore/named_validators.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/validation_result.hpp"

struct sdkcore_validation_result {
  explicit sdkcore_validation_result(sdkcore::ValidationResult result)
      : result(std::move(result)) {}

  sdkcore::ValidationResult result;
};

namespace {

using sdkcore::capi::guarded;
using sdkcore::capi::lend;
using sdkcore::capi::setIfGiven;

}  // namespace

extern "C" {

int sdkcore_validate(const char* name, const char* text, size_t text_len,
                     sdkcore_validation_result** out_result) {
  return guarded([&] {
    if (out_result == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_result = nullptr;
    if (name == nullptr || !sdkcore::capi::isText(text, text_len)) return SDKCORE_INVALID_ARGUMENT;
    // Made per call, so that messages follow the message language of the moment.
    const auto validator = sdkcore::makeNamedValidator(name);
    if (!validator) return SDKCORE_UNKNOWN_NAME;
    // The validators read a std::string; wiped on every way out.
    std::string value(sdkcore::capi::textOf(text, text_len));
    const sdkcore::WipeOnExit wipeValue(value);
    sdkcore::ValidationResult result = validator->validate(value);
    *out_result = std::make_unique<sdkcore_validation_result>(std::move(result)).release();
    return SDKCORE_OK;
  });
}

int sdkcore_validation_result_is_valid(const sdkcore_validation_result* result, int* is_valid) {
  return guarded([&] {
    if (is_valid == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *is_valid = 0;
    if (result == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *is_valid = result->result.isValid() ? 1 : 0;
    return SDKCORE_OK;
  });
}

int sdkcore_validation_result_error(const sdkcore_validation_result* result, const char** code,
                                    size_t* code_len, const char** message, size_t* message_len) {
  return guarded([&] {
    if (code != nullptr) *code = nullptr;
    if (message != nullptr) *message = nullptr;
    setIfGiven(code_len, size_t{0});
    setIfGiven(message_len, size_t{0});
    if (result == nullptr || code == nullptr || message == nullptr) {
      return SDKCORE_INVALID_ARGUMENT;
    }
    const auto& errorCode = result->result.errorCode();
    const auto& errorMessage = result->result.errorMessage();
    lend(errorCode ? &*errorCode : nullptr, code, code_len);
    lend(errorMessage ? &*errorMessage : nullptr, message, message_len);
    return SDKCORE_OK;
  });
}

int sdkcore_validation_result_free(sdkcore_validation_result* result) {
  return guarded([&] {
    std::unique_ptr<sdkcore_validation_result> owned(result);
    return SDKCORE_OK;
  });
}

}  // extern "C"
