import CSDKCore
import Foundation

/// What a shopper pays with: one case per kind of payment input. `nil` for an optional field means
/// absent, which differs from the empty text (present, and refused as required).
public enum PaymentMethod: Sendable, Hashable {
  /// A card typed in, for an order. `expiry` is "MM/YY".
  case card(pan: String, cvc: String, expiry: String, cardholder: String?, order: String)
  /// A card typed in, without an order.
  case cardInstant(pan: String, cvc: String, expiry: String, cardholder: String?)
  /// A new card typed in, to be stored as a payment method.
  case newPaymentMethod(pan: String, cvc: String, expiry: String, cardholder: String?)
  /// A stored card (binding), for an order.
  case binding(id: String, cvc: String?, order: String)
  /// A stored card, without an order.
  case bindingInstant(id: String, cvc: String?)
  /// A stored payment method, "pm_" and the Base58 form of the binding id.
  case storedPaymentMethod(id: String, cvc: String?)
}

/// The module of the kit that makes a request; its name ends the payment string.
public enum RequestSource: Int32, Sendable, Hashable {
  case core = 0
  case forms = 1
  case payment = 2
}

/// One token request: the payment method, the merchant's RSA public key (PEM text), the module
/// that asks and the time of the request. A value type; the binding keeps no copy of it.
public struct TokenRequest: Sendable, Hashable {
  public var method: PaymentMethod
  public var publicKey: String
  public var source: RequestSource
  /// The time that the payment string carries, in whole seconds.
  public var timestamp: Date

  public init(
    _ method: PaymentMethod, publicKey: String, source: RequestSource = .core,
    timestamp: Date = Date()
  ) {
    self.method = method
    self.publicKey = publicKey
    self.source = source
    self.timestamp = timestamp
  }

  /// The request's text for `field`, or nil when the request has none there.
  func text(of field: TokenError.Field) -> String? {
    field == .publicKey ? publicKey : method.fields.first { $0.field == field }?.text
  }

  /// Sets every field of the C request `request`, which has this request's variant.
  func write(to request: OpaquePointer) throws(TokenError) {
    for (field, text) in method.fields {
      guard let text else { continue }
      try expectOKForRequest(
        text.withUTF8Text { sdkcore_request_set_text(request, field.cField, $0, $1) })
    }
    try expectOKForRequest(
      publicKey.withUTF8Text {
        sdkcore_request_set_text(request, Int32(SDKCORE_FIELD_PUB_KEY.rawValue), $0, $1)
      })
    expectOK(sdkcore_request_set_registered_from(request, source.rawValue))
    expectOK(sdkcore_request_set_timestamp(request, timestamp.timeIntervalSince1970))
  }
}

// Card data stay out of descriptions, string interpolation and dump(): only the case is shown.
extension TokenRequest: CustomStringConvertible, CustomDebugStringConvertible, CustomReflectable {
  public var description: String { "TokenRequest(\(method.name))" }
  public var debugDescription: String { description }
  public var customMirror: Mirror { Mirror(self, children: [:]) }
}

extension PaymentMethod: CustomStringConvertible, CustomDebugStringConvertible, CustomReflectable {
  public var description: String { name }
  public var debugDescription: String { name }
  public var customMirror: Mirror { Mirror(self, children: [:]) }
}

extension PaymentMethod {
  var name: String {
    switch self {
    case .card: "card"
    case .cardInstant: "cardInstant"
    case .newPaymentMethod: "newPaymentMethod"
    case .binding: "binding"
    case .bindingInstant: "bindingInstant"
    case .storedPaymentMethod: "storedPaymentMethod"
    }
  }

  var variant: Int32 {
    let variant: sdkcore_variant =
      switch self {
      case .card: SDKCORE_VARIANT_CARD_PARAMS
      case .cardInstant: SDKCORE_VARIANT_CARD_PARAMS_INSTANT
      case .newPaymentMethod: SDKCORE_VARIANT_NEW_PAYMENT_METHOD_PARAMS
      case .binding: SDKCORE_VARIANT_BINDING_PARAMS
      case .bindingInstant: SDKCORE_VARIANT_BINDING_PARAMS_INSTANT
      case .storedPaymentMethod: SDKCORE_VARIANT_STORED_PAYMENT_METHOD_PARAMS
      }
    return Int32(variant.rawValue)
  }

  /// The case's text fields besides the key; nil is an absent optional field.
  var fields: [(field: TokenError.Field, text: String?)] {
    switch self {
    case .card(let pan, let cvc, let expiry, let cardholder, let order):
      [(.pan, pan), (.cvc, cvc), (.expiry, expiry), (.cardholder, cardholder), (.order, order)]
    case .cardInstant(let pan, let cvc, let expiry, let cardholder),
      .newPaymentMethod(let pan, let cvc, let expiry, let cardholder):
      [(.pan, pan), (.cvc, cvc), (.expiry, expiry), (.cardholder, cardholder)]
    case .binding(let id, let cvc, let order):
      [(.bindingId, id), (.cvc, cvc), (.order, order)]
    case .bindingInstant(let id, let cvc):
      [(.bindingId, id), (.cvc, cvc)]
    case .storedPaymentMethod(let id, let cvc):
      [(.storedPaymentMethodId, id), (.cvc, cvc)]
    }
  }
}
