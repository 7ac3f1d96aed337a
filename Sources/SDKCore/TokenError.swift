import CSDKCore
import Foundation

/// A token request that the library refused: the one field that failed, its code and, where the
/// library has one for it, its localized message.
public struct TokenError: Error, Sendable, Hashable {
  /// The field of a request that failed.
  public enum Field: String, Sendable, Hashable, CaseIterable {
    case pan = "PAN"
    case cvc = "CVC"
    case expiry = "EXPIRY"
    case cardholder = "CARDHOLDER"
    case publicKey = "PUB_KEY"
    case order = "MD_ORDER"
    case bindingId = "BINDING_ID"
    case storedPaymentMethodId = "STORED_PAYMENT_METHOD_ID"
    /// No field of the request: an encryption failure or a time stamp out of range.
    case unknown = "UNKNOWN"
  }

  public let field: Field
  /// "required", "invalid", "invalid-format", "unknown", or for `.unknown` a description.
  public let code: String
  /// The message that the field's validator gives, in the library's message language (that of
  /// the environment's LC_ALL, LC_MESSAGES or LANG unless the host set one), for the fields that
  /// have one (card number, security code, expiry date, cardholder); nil for the others.
  public let message: String?

  public init(field: Field, code: String, message: String?) {
    self.field = field
    self.code = code
    self.message = message
  }

  /// The error that the C result `result` holds for `request`.
  init(result: OpaquePointer, request: TokenRequest) {
    var field: UnsafePointer<CChar>?
    var fieldLength = 0
    var code: UnsafePointer<CChar>?
    var codeLength = 0
    expectOK(sdkcore_token_result_error(result, &field, &fieldLength, &code, &codeLength))
    self.field = Field(rawValue: String(cText: field, length: fieldLength)) ?? .unknown
    self.code = String(cText: code, length: codeLength)
    message = Self.message(for: self.field, code: self.code, in: request)
  }

  // The token call checks these fields with the same validators as `Validators`, which give the
  // message; it is taken only when the validator fails with the same code.
  private static func message(for field: Field, code: String, in request: TokenRequest) -> String? {
    guard let validator = field.validator, let text = request.text(of: field),
      case .invalid(let validatorCode, let message) = Validators.validate(text, as: validator),
      validatorCode == code
    else { return nil }
    return message
  }
}

extension TokenError: LocalizedError {
  public var errorDescription: String? { message ?? "\(field.rawValue): \(code)" }
}

extension TokenError.Field {
  var cField: Int32 {
    let field: sdkcore_field? =
      switch self {
      case .pan: SDKCORE_FIELD_PAN
      case .cvc: SDKCORE_FIELD_CVC
      case .expiry: SDKCORE_FIELD_EXPIRY_MMYY
      case .cardholder: SDKCORE_FIELD_CARDHOLDER
      case .publicKey: SDKCORE_FIELD_PUB_KEY
      case .order: SDKCORE_FIELD_MD_ORDER
      case .bindingId: SDKCORE_FIELD_BINDING_ID
      case .storedPaymentMethodId: SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID
      case .unknown: nil
      }
    guard let field else { preconditionFailure("UNKNOWN is no field of a request") }
    return Int32(field.rawValue)
  }

  /// The validator that the token call applies to the field, where `Validators` offers it.
  var validator: Validator? {
    switch self {
    case .pan: .cardNumber
    case .cvc: .cvc
    case .expiry: .expiry
    case .cardholder: .cardholder
    case .publicKey, .order, .bindingId, .storedPaymentMethodId, .unknown: nil
    }
  }
}
