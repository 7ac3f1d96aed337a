// The token functions of the C interface: the core, the typed request and its result, and the
// JSON request.

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "capi/abi_support.hpp"
#include "capi/crypto_provider_api.hpp"
#include "capi/request_builder.hpp"
#include "json/strict_json.hpp"
#include "sdkcore/param_field.hpp"
#include "sdkcore/sdk_core.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/token_request.hpp"

struct sdkcore_core {
  explicit sdkcore_core(std::shared_ptr<const sdkcore::CryptoProvider> provider)
      : core(std::move(provider)) {}
  sdkcore::SdkCore core;
};

// The answer of one token request, with the error's field name and code kept as texts so that
// borrowed pointers stay valid for the result's life.
struct sdkcore_token_result {
  explicit sdkcore_token_result(sdkcore::TokenResult result) : token(std::move(result.token)) {
    if (token) return;
    if (result.errors.empty()) {
      // Never produced by the library; answered as an unknown failure rather than as nothing.
      field = "UNKNOWN";
      code = "unknown";
      return;
    }
    const auto& [key, value] = *result.errors.begin();
    field = sdkcore::caseName(key);
    code = value;
  }

  std::optional<std::string> token;
  std::string field;
  std::string code;
};

namespace {

using sdkcore::capi::guarded;
using sdkcore::capi::isText;
using sdkcore::capi::lend;
using sdkcore::capi::setIfGiven;
using sdkcore::capi::textOf;

}  // namespace

extern "C" {

int sdkcore_core_new(sdkcore_core** out_core) {
  return guarded([&] {
    if (out_core == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_core = nullptr;
    *out_core = std::make_unique<sdkcore_core>(nullptr).release();
    return SDKCORE_OK;
  });
}

int sdkcore_core_new_with_provider(const sdkcore_crypto_provider* provider,
                                   sdkcore_core** out_core) {
  return guarded([&] {
    if (out_core == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_core = nullptr;
    if (provider == nullptr || provider->encrypt == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_core =
        std::make_unique<sdkcore_core>(sdkcore::capi::cryptoProviderOf(*provider)).release();
    return SDKCORE_OK;
  });
}

int sdkcore_core_free(sdkcore_core* core) {
  return guarded([&] {
    std::unique_ptr<sdkcore_core> owned(core);
    return SDKCORE_OK;
  });
}

int sdkcore_request_new(int variant, sdkcore_request** out_request) {
  return guarded([&] {
    if (out_request == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_request = nullptr;
    if (!sdkcore_request::isVariant(variant)) return SDKCORE_INVALID_ARGUMENT;
    *out_request = std::make_unique<sdkcore_request>(variant).release();
    return SDKCORE_OK;
  });
}

int sdkcore_request_free(sdkcore_request* request) {
  return guarded([&] {
    std::unique_ptr<sdkcore_request> owned(request);
    return SDKCORE_OK;
  });
}

int sdkcore_request_set_text(sdkcore_request* request, int field, const char* text,
                             size_t text_len) {
  return guarded([&] {
    if (request == nullptr || !isText(text, text_len) || !request->hasField(field)) {
      return SDKCORE_INVALID_ARGUMENT;
    }
    request->setText(field, textOf(text, text_len));
    return SDKCORE_OK;
  });
}

int sdkcore_request_set_registered_from(sdkcore_request* request, int registered_from) {
  return guarded([&] {
    if (request == nullptr || registered_from < SDKCORE_REGISTERED_FROM_ZKIT_CORE ||
        registered_from > SDKCORE_REGISTERED_FROM_ZKIT_PAYMENT) {
      return SDKCORE_INVALID_ARGUMENT;
    }
    request->setRegisteredFrom(static_cast<sdkcore::ZKITRegisteredFrom>(registered_from));
    return SDKCORE_OK;
  });
}

int sdkcore_request_set_timestamp(sdkcore_request* request, double seconds) {
  return guarded([&] {
    if (request == nullptr) return SDKCORE_INVALID_ARGUMENT;
    request->setTimestamp(seconds);
    return SDKCORE_OK;
  });
}

int sdkcore_generate_token(sdkcore_core* core, const sdkcore_request* request,
                           sdkcore_token_result** out_result) {
  return guarded([&] {
    if (out_result == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_result = nullptr;
    if (core == nullptr || request == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_result =
        std::make_unique<sdkcore_token_result>(core->core.generateWithConfig(request->config()))
            .release();
    return SDKCORE_OK;
  });
}

int sdkcore_token_result_token(const sdkcore_token_result* result, const char** token,
                               size_t* token_len) {
  return guarded([&] {
    setIfGiven(token_len, size_t{0});
    if (token == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *token = nullptr;
    if (result == nullptr) return SDKCORE_INVALID_ARGUMENT;
    lend(result->token ? &*result->token : nullptr, token, token_len);
    return SDKCORE_OK;
  });
}

int sdkcore_token_result_error(const sdkcore_token_result* result, const char** field,
                               size_t* field_len, const char** code, size_t* code_len) {
  return guarded([&] {
    if (field != nullptr) *field = nullptr;
    if (code != nullptr) *code = nullptr;
    setIfGiven(field_len, size_t{0});
    setIfGiven(code_len, size_t{0});
    if (result == nullptr || field == nullptr || code == nullptr) return SDKCORE_INVALID_ARGUMENT;
    const bool failed = !result->token;
    lend(failed ? &result->field : nullptr, field, field_len);
    lend(failed ? &result->code : nullptr, code, code_len);
    return SDKCORE_OK;
  });
}

int sdkcore_token_result_free(sdkcore_token_result* result) {
  return guarded([&] {
    std::unique_ptr<sdkcore_token_result> owned(result);
    return SDKCORE_OK;
  });
}

int sdkcore_generate_token_json(sdkcore_core* core, const char* request_json, size_t request_len,
                                char** out_json, size_t* out_len) {
  return guarded([&] {
    setIfGiven(out_len, size_t{0});
    if (out_json == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_json = nullptr;
    if (core == nullptr || !isText(request_json, request_len)) return SDKCORE_INVALID_ARGUMENT;
    std::optional<sdkcore::SDKCoreConfig> config;
    try {
      // No default key: a published test key must never become a silent default.
      config.emplace(sdkcore::tokenRequestFromJsonText(textOf(request_json, request_len), {}));
    } catch (const sdkcore::JsonInputError& error) {
      sdkcore::capi::handOut(error.what(), out_json, out_len);
      return SDKCORE_MALFORMED_REQUEST;
    }
    const nlohmann::json answer = sdkcore::tokenResultJson(core->core.generateWithConfig(*config));
    sdkcore::capi::handOut(answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                           out_json, out_len);
    return SDKCORE_OK;
  });
}

}  // extern "C"
