#pragma once

#include <array>
#include <optional>

#include "base/wiped_text.hpp"
#include "sdkcore/payment_params.hpp"
#include "sdkcore/sdk_core_config.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/zkit_registered_from.hpp"

// A token request of the C interface, built field by field. The fields live in self-wiping
// storage; each call of config() copies them into a fresh configuration.
struct sdkcore_request {
 public:
  // 'variant' must be a valid sdkcore_variant (see isVariant).
  explicit sdkcore_request(int variant) noexcept : variant_(variant) {}

  static constexpr bool isVariant(int variant) noexcept {
    return variant >= SDKCORE_VARIANT_CARD_PARAMS &&
           variant <= SDKCORE_VARIANT_STORED_PAYMENT_METHOD_PARAMS;
  }

  // True when 'field' is an sdkcore_field that this request's variant has.
  bool hasField(int field) const noexcept;
  // Sets a field that hasField() accepts. Throws std::bad_alloc.
  void setText(int field, std::string_view text);

  void setRegisteredFrom(sdkcore::ZKITRegisteredFrom from) noexcept { registeredFrom_ = from; }
  void setTimestamp(double seconds) noexcept { timestamp_ = seconds; }

  // The configuration of the request: fields never set are the empty text when required and
  // absent when optional; the time stamp is the current time unless one was set.
  sdkcore::SDKCoreConfig config() const;

 private:
  sdkcore::PaymentParamsVariant params() const;

  int variant_;
  std::array<std::optional<sdkcore::WipedText>, 8> fields_;  // by sdkcore_field
  sdkcore::ZKITRegisteredFrom registeredFrom_ = sdkcore::ZKITRegisteredFrom::ZKIT_CORE;
  std::optional<double> timestamp_;
};
