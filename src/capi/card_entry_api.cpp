// The card-entry helpers of the C interface: brand detection, the brand records, display
// grouping and the as-you-type checks of the number, the expiry date and the security code.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/wiped_text.hpp"
#include "capi/abi_support.hpp"
#include "sdkcore/card_brand.hpp"
#include "sdkcore/sdkcore.h"

// Candidates refer to the brand table, which lives as long as the program, so the ids handed out
// stay valid after the candidates are freed. The table's ids are NUL-terminated literals.
struct sdkcore_card_brands {
  std::vector<sdkcore::CardBrand> brands;
};

namespace {

using sdkcore::capi::guarded;
using sdkcore::capi::handOut;
using sdkcore::capi::isText;
using sdkcore::capi::setIfGiven;
using sdkcore::capi::textOf;

// The sdkcore_expiry_status of each ExpiryStatus.
int expiryStatusCode(sdkcore::ExpiryStatus status) noexcept {
  switch (status) {
    case sdkcore::ExpiryStatus::valid:
      return SDKCORE_EXPIRY_VALID;
    case sdkcore::ExpiryStatus::potentiallyValid:
      return SDKCORE_EXPIRY_POTENTIALLY_VALID;
    case sdkcore::ExpiryStatus::invalid:
      break;
  }
  return SDKCORE_EXPIRY_INVALID;
}

// The month 'month' of the year 'year', or nullopt when either is out of range.
std::optional<std::chrono::year_month> monthOf(int year, int month) noexcept {
  if (year < static_cast<int>(std::chrono::year::min()) ||
      year > static_cast<int>(std::chrono::year::max()) || month < 1 || month > 12) {
    return std::nullopt;
  }
  return std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month));
}

}  // namespace

extern "C" {

int sdkcore_detect_card_brands(const char* text, size_t text_len,
                               sdkcore_card_brands** out_brands) {
  return guarded([&] {
    if (out_brands == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_brands = nullptr;
    if (!isText(text, text_len)) return SDKCORE_INVALID_ARGUMENT;
    *out_brands = std::make_unique<sdkcore_card_brands>(
                      sdkcore_card_brands{sdkcore::detectCardBrands(textOf(text, text_len))})
                      .release();
    return SDKCORE_OK;
  });
}

int sdkcore_card_brands_count(const sdkcore_card_brands* brands, size_t* out_count) {
  return guarded([&] {
    if (out_count == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_count = 0;
    if (brands == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_count = brands->brands.size();
    return SDKCORE_OK;
  });
}

int sdkcore_card_brands_type(const sdkcore_card_brands* brands, size_t index, const char** type,
                             size_t* type_len) {
  return guarded([&] {
    setIfGiven(type_len, size_t{0});
    if (type == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *type = nullptr;
    if (brands == nullptr || index >= brands->brands.size()) return SDKCORE_INVALID_ARGUMENT;
    *type = brands->brands[index].type.data();
    setIfGiven(type_len, brands->brands[index].type.size());
    return SDKCORE_OK;
  });
}

int sdkcore_card_brands_free(sdkcore_card_brands* brands) {
  return guarded([&] {
    std::unique_ptr<sdkcore_card_brands> owned(brands);
    return SDKCORE_OK;
  });
}

int sdkcore_detect_card_brands_json(const char* text, size_t text_len, char** out_json,
                                    size_t* out_len) {
  return guarded([&] {
    setIfGiven(out_len, size_t{0});
    if (out_json == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_json = nullptr;
    if (!isText(text, text_len)) return SDKCORE_INVALID_ARGUMENT;
    const auto brands = sdkcore::detectCardBrands(textOf(text, text_len));
    handOut(sdkcore::cardBrandListJson(brands).dump(), out_json, out_len);
    return SDKCORE_OK;
  });
}

int sdkcore_card_brand_json(const char* type, size_t type_len, char** out_json, size_t* out_len) {
  return guarded([&] {
    setIfGiven(out_len, size_t{0});
    if (out_json == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_json = nullptr;
    if (!isText(type, type_len)) return SDKCORE_INVALID_ARGUMENT;
    const std::optional<sdkcore::CardBrand> brand = sdkcore::findCardBrand(textOf(type, type_len));
    if (!brand) return SDKCORE_UNKNOWN_NAME;
    handOut(nlohmann::ordered_json(*brand).dump(), out_json, out_len);
    return SDKCORE_OK;
  });
}

int sdkcore_format_card_number(const char* text, size_t text_len, char** out_text,
                               size_t* out_len) {
  return guarded([&] {
    setIfGiven(out_len, size_t{0});
    if (out_text == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_text = nullptr;
    if (!isText(text, text_len)) return SDKCORE_INVALID_ARGUMENT;
    const sdkcore::WipedText formatted(sdkcore::formatCardNumber(textOf(text, text_len)));
    handOut(formatted.text(), out_text, out_len);
    return SDKCORE_OK;
  });
}

int sdkcore_check_card_number(const char* text, size_t text_len, int* is_potentially_valid,
                              int* is_valid) {
  return guarded([&] {
    setIfGiven(is_potentially_valid, 0);
    setIfGiven(is_valid, 0);
    if (is_potentially_valid == nullptr || is_valid == nullptr || !isText(text, text_len)) {
      return SDKCORE_INVALID_ARGUMENT;
    }
    *is_potentially_valid = sdkcore::isPotentiallyValidCardNumber(textOf(text, text_len)) ? 1 : 0;
    *is_valid = sdkcore::isValidCardNumber(textOf(text, text_len)) ? 1 : 0;
    return SDKCORE_OK;
  });
}

int sdkcore_check_expiry(const char* text, size_t text_len, int now_year, int now_month,
                         int* out_status) {
  return guarded([&] {
    if (out_status == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_status = SDKCORE_EXPIRY_INVALID;
    const std::optional<std::chrono::year_month> now = monthOf(now_year, now_month);
    if (!now || !isText(text, text_len)) return SDKCORE_INVALID_ARGUMENT;
    *out_status = expiryStatusCode(sdkcore::expiryStatus(textOf(text, text_len), *now));
    return SDKCORE_OK;
  });
}

int sdkcore_check_security_code(const char* text, size_t text_len, const char* type,
                                size_t type_len, int* is_valid) {
  return guarded([&] {
    if (is_valid == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *is_valid = 0;
    if (!isText(text, text_len) || !isText(type, type_len)) return SDKCORE_INVALID_ARGUMENT;
    *is_valid =
        sdkcore::isValidSecurityCode(textOf(text, text_len), textOf(type, type_len)) ? 1 : 0;
    return SDKCORE_OK;
  });
}

}  // extern "C"
