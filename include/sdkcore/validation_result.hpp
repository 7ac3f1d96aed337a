#pragma once

#include <optional>
#include <string>
#include <utility>

#include "sdkcore/export.h"

namespace sdkcore {

// The outcome of validating one value: valid, or invalid with an error code ("required",
// "invalid", "invalid-format") and a localized message for the user.
//
// A plain immutable value; copies may be used on any thread. Outside the library a result is
// obtained from VALID(), error() or a validator.
class SDKCORE_EXPORT ValidationResult {
 public:
  // True when the value passed every rule.
  bool isValid() const noexcept { return isValid_; }
  // The failing rule's code; nullopt in a valid result.
  const std::optional<std::string>& errorCode() const noexcept { return errorCode_; }
  // The failing rule's message; nullopt in a valid result.
  const std::optional<std::string>& errorMessage() const noexcept { return errorMessage_; }

  // The result every rule returns when its input passes; initially valid with no texts.
  // Thread-safe: any thread may read it while another replaces it with setVALID(); a reader sees
  // either the old or the new value, never a mix. A host that stores another value changes what
  // passing rules return from then on (a validator whose rules all pass still returns a fresh
  // valid result). The library itself never writes it.
  static ValidationResult VALID();
  static void setVALID(ValidationResult result);

  // Returns an invalid result carrying 'errorCode' and 'errorMessage' (both present).
  static ValidationResult error(std::string errorCode, std::string errorMessage);

  friend bool operator==(const ValidationResult&, const ValidationResult&) = default;

 private:
  ValidationResult(bool isValid, std::optional<std::string> errorCode,
                   std::optional<std::string> errorMessage)
      : isValid_(isValid),
        errorCode_(std::move(errorCode)),
        errorMessage_(std::move(errorMessage)) {}

  template <typename T>
  friend class BaseValidator;
  friend struct ValidResultSlot;  // holds the process-wide VALID value

  bool isValid_;
  std::optional<std::string> errorCode_;
  std::optional<std::string> errorMessage_;
};

// The three error codes the library's rules report about the text.
inline constexpr const char* CODE_REQUIRED = "required";
inline constexpr const char* CODE_INVALID = "invalid";
inline constexpr const char* CODE_INVALID_FORMAT = "invalid-format";
// Never reported: the library carries its own Unicode data. Kept so that hosts that name it
// still compile.
inline constexpr const char* CODE_ICU_DATA_MISSING = "icu-data-missing";

}  // namespace sdkcore
