#pragma once

#include <optional>
#include <string>

namespace sdkcore {

// The outcome of validating one value: valid, or invalid with an error code ("required",
// "invalid", "invalid-format") and a localized message.
class ValidationResult {
 public:
  bool isValid() const noexcept { return isValid_; }
  const std::optional<std::string>& errorCode() const noexcept { return errorCode_; }
  const std::optional<std::string>& errorMessage() const noexcept { return errorMessage_; }

  // The result every rule returns when its input passes; initially valid with no texts.
  // Readable from any thread; a host that replaces it with setVALID() changes what passing rules
  // return from then on.
  static ValidationResult VALID();
  static void setVALID(ValidationResult result);

  // Returns an invalid result carrying 'errorCode' and 'errorMessage'.
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

  bool isValid_;
  std::optional<std::string> errorCode_;
  std::optional<std::string> errorMessage_;
};

// The three error codes the library's rules report.
inline constexpr const char* CODE_REQUIRED = "required";
inline constexpr const char* CODE_INVALID = "invalid";
inline constexpr const char* CODE_INVALID_FORMAT = "invalid-format";

}  // namespace sdkcore
