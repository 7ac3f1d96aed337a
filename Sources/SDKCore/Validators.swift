import CSDKCore

/// The library's field validators, by the names of `sdkcore validate`.
public enum Validator: String, Sendable, Hashable, CaseIterable {
  case cardNumber = "card-number"
  case expiry
  case cvc
  case cardholder
  case email
  case phone
  case addressLine1 = "address-line1"
  case addressLine2 = "address-line2"
  case addressLine3 = "address-line3"
  case city
  case country
  case state
  case postalCode = "postal-code"
}

/// The answer of a validator.
public enum ValidationResult: Sendable, Hashable {
  case valid
  /// `code` is "required", "invalid" or "invalid-format"; `message` is localized.
  case invalid(code: String, message: String)
}

/// Runs the library's validators.
public enum Validators {
  /// Checks `text` with `validator`. Messages are in the library's message language (that of the
  /// environment's LC_ALL, LC_MESSAGES or LANG unless the host set one).
  /// Thread-safe.
  public static func validate(_ text: String, as validator: Validator) -> ValidationResult {
    var result: OpaquePointer?
    text.withUTF8Text { bytes, length in
      expectOK(sdkcore_validate(validator.rawValue, bytes, length, &result))
    }
    defer { sdkcore_validation_result_free(result) }
    var isValid: Int32 = 0
    expectOK(sdkcore_validation_result_is_valid(result, &isValid))
    if isValid != 0 {
      return .valid
    }
    var code: UnsafePointer<CChar>?
    var codeLength = 0
    var message: UnsafePointer<CChar>?
    var messageLength = 0
    expectOK(sdkcore_validation_result_error(result, &code, &codeLength, &message, &messageLength))
    return .invalid(
      code: String(cText: code, length: codeLength),
      message: String(cText: message, length: messageLength))
  }
}
