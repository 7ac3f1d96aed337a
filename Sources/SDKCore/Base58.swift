import CSDKCore

/// Base58 over the alphabet "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz", each
/// leading zero byte written as "1". Both directions take at most `maxInputBytes` (the codec is
/// quadratic in the length). Thread-safe.
public enum Base58 {
  /// The most bytes that `encode` and `decode` take.
  public static let maxInputBytes = Int(SDKCORE_BASE58_MAX_INPUT)

  /// The Base58 text of `bytes`; the empty text for no bytes. `bytes` must not be longer than
  /// `maxInputBytes`.
  public static func encode(_ bytes: some Collection<UInt8>) -> String {
    precondition(bytes.count <= maxInputBytes, "Base58.encode takes at most maxInputBytes")
    let contiguous = Array(bytes)
    return contiguous.withUnsafeBufferPointer { data in
      ownedText { sdkcore_base58_encode(data.baseAddress, data.count, $0, $1) }
    }
  }

  /// The bytes of the Base58 text `text`, or nil when it is empty, holds a character outside the
  /// alphabet or is longer than `maxInputBytes`.
  public static func decode(_ text: String) -> [UInt8]? {
    var data: UnsafeMutablePointer<UInt8>?
    var length = 0
    let status = text.withUTF8Text { sdkcore_base58_decode($0, $1, &data, &length) }
    if status == Int32(SDKCORE_INPUT_TOO_LARGE.rawValue) {
      return nil
    }
    expectOK(status)
    defer { sdkcore_free(data) }
    return data.map { Array(UnsafeBufferPointer(start: $0, count: length)) }
  }

  /// The binding id inside the stored payment method id `id` ("pm_" and the Base58 form of the
  /// binding id), trimmed of white space; nil when `id` is malformed or too long.
  public static func bindingId(fromStoredPaymentMethodId id: String) -> String? {
    var text: UnsafeMutablePointer<CChar>?
    var length = 0
    let status = id.withUTF8Text {
      sdkcore_decode_stored_payment_method_id($0, $1, &text, &length)
    }
    if status == Int32(SDKCORE_INPUT_TOO_LARGE.rawValue) {
      return nil
    }
    expectOK(status)
    defer { sdkcore_free(text) }
    return length == 0 ? nil : String(cText: text, length: length)
  }
}
