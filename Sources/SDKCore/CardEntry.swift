import CSDKCore
import Foundation

/// A card brand of the library's brand table, by its id ("visa", "american-express", ...).
public struct CardBrand: RawRepresentable, Sendable, Hashable {
  public let rawValue: String

  public init(rawValue: String) {
    self.rawValue = rawValue
  }
}

/// Where a typed expiry date stands.
public enum ExpiryStatus: Int32, Sendable {
  /// Wrong, and typing more cannot mend it.
  case invalid = 0
  /// Not a valid date yet, but typing more can make it one.
  case potentiallyValid = 1
  case valid = 2
}

/// Live feedback for a card-entry form while the shopper types: which brand, how to group the
/// digits, and whether a field is valid or can still become valid. They decide the form's look;
/// what may be sent is decided by `Validators` and the token call. No function keeps or logs the
/// texts it is given. Thread-safe.
public enum CardEntry {
  /// The brands that the typed number may belong to, in the brand table's order; every brand
  /// for the empty text. Spaces and "-" are ignored; any other character matches no brand.
  public static func brands(of number: String) -> [CardBrand] {
    var brands: OpaquePointer?
    number.withUTF8Text { expectOK(sdkcore_detect_card_brands($0, $1, &brands)) }
    defer { sdkcore_card_brands_free(brands) }
    var count = 0
    expectOK(sdkcore_card_brands_count(brands, &count))
    return (0..<count).map { index in
      var type: UnsafePointer<CChar>?
      var length = 0
      expectOK(sdkcore_card_brands_type(brands, index, &type, &length))
      return CardBrand(rawValue: String(cText: type, length: length))
    }
  }

  /// The number's digits grouped as its first candidate brand shows them ("3782 822463 10005"),
  /// or in fours when it has none.
  public static func format(_ number: String) -> String {
    number.withUTF8Text { bytes, length in
      ownedText { sdkcore_format_card_number(bytes, length, $0, $1) }
    }
  }

  /// Whether the typed number is complete and valid, and whether typing more can still make it
  /// valid (a form marks the field as wrong only when it cannot).
  public static func check(
    _ number: String
  ) -> (isPotentiallyValid: Bool, isValid: Bool) {
    var potentiallyValid: Int32 = 0
    var valid: Int32 = 0
    number.withUTF8Text {
      expectOK(sdkcore_check_card_number($0, $1, &potentiallyValid, &valid))
    }
    return (potentiallyValid != 0, valid != 0)
  }

  /// Where the typed expiry date ("1/30", "01 / 2030", "0130") stands in the month of `now` by
  /// `calendar`; `now` must fall in a year from -32767 to 32767.
  public static func expiryStatus(
    of text: String, now: Date = Date(), calendar: Calendar = .current
  ) -> ExpiryStatus {
    let today = calendar.dateComponents([.year, .month], from: now)
    guard let year = Int32(exactly: today.year ?? .max), let month = today.month,
      (-32767...32767).contains(year)
    else { preconditionFailure("expiryStatus: now must fall in a year from -32767 to 32767") }
    var status: Int32 = 0
    text.withUTF8Text {
      expectOK(sdkcore_check_expiry($0, $1, year, Int32(month), &status))
    }
    return ExpiryStatus(rawValue: status) ?? .invalid
  }

  /// Whether `code` is a security code for `brand`: ASCII digits, as many as the brand's code
  /// has, or 3 or 4 when no brand is known yet.
  public static func isValidSecurityCode(_ code: String, for brand: CardBrand?) -> Bool {
    var valid: Int32 = 0
    code.withUTF8Text { codeBytes, codeLength in
      (brand?.rawValue ?? "").withUTF8Text { typeBytes, typeLength in
        expectOK(
          sdkcore_check_security_code(codeBytes, codeLength, typeBytes, typeLength, &valid))
      }
    }
    return valid != 0
  }
}
