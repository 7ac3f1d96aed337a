import Foundation
import SDKCore
import Testing

private let pan = "4111111111111111"
private let key = Merchant.publicKey
private let time = Date(timeIntervalSince1970: 1_700_000_000.9)

// Each variant and the payment string's fields 3 to 9 that its token must carry (the provider
// tests make the same tokens).
let variants: [(TokenRequest, [String])] = [
  (
    TokenRequest(
      .card(pan: pan, cvc: "123", expiry: "12/30", cardholder: "JOHN DOE", order: "ORDER-1"),
      publicKey: key, timestamp: time),
    [pan, "123", "203012", "ORDER-1", "", "JOHN DOE", "ZKIT_CORE"]
  ),
  (
    TokenRequest(
      .cardInstant(pan: pan, cvc: "123", expiry: "03/30", cardholder: nil), publicKey: key,
      source: .forms, timestamp: time),
    [pan, "123", "20303", "", "", "", "ZKIT_FORMS"]
  ),
  (
    TokenRequest(
      .newPaymentMethod(pan: pan, cvc: "456", expiry: "01/31", cardholder: "JANE ROE"),
      publicKey: key, source: .payment, timestamp: time),
    [pan, "456", "20311", "", "", "JANE ROE", "ZKIT_PAYMENT"]
  ),
  (
    TokenRequest(
      .binding(id: "BIND-77", cvc: "123", order: "ORDER-2"), publicKey: key,
      timestamp: time),
    ["", "123", "", "ORDER-2", "BIND-77", "", "ZKIT_CORE"]
  ),
  (
    TokenRequest(.bindingInstant(id: "BIND-77", cvc: nil), publicKey: key, timestamp: time),
    ["", "", "", "", "BIND-77", "", "ZKIT_CORE"]
  ),
  (
    TokenRequest(
      .storedPaymentMethod(id: "pm_3WhDgViUq4", cvc: "789"), publicKey: key,
      timestamp: time),
    ["", "789", "", "", "BIND-77", "", "ZKIT_CORE"]
  ),
]

@Test func everyVariantDecryptsToItsNineFields() throws {
  let core = SDKCore()
  let tokens = try variants.map { try core.token(for: $0.0) }
  for (fields, (request, expected)) in zip(try Merchant.fields(tokens), variants) {
    #expect(fields.count == 9, "\(request)")
    #expect(fields[0] == "2023-11-14T22:13:20+00:00", "\(request)")
    #expect(
      UUID(uuidString: fields[1])?.uuidString == fields[1] && fields[1].dropFirst(14).first == "4",
      "\(request)")
    #expect(Array(fields.dropFirst(2)) == expected, "\(request)")
  }
}

// One request per kind of failure: the field, the code and the validator's English message.
private let failures: [(TokenRequest, TokenError)] = [
  (
    TokenRequest(
      .card(pan: "", cvc: "123", expiry: "12/30", cardholder: nil, order: "O"), publicKey: key),
    TokenError(field: .pan, code: "required", message: "Invalid card number")
  ),
  (
    TokenRequest(
      .cardInstant(pan: "4111111111111112", cvc: "123", expiry: "12/30", cardholder: nil),
      publicKey: key),
    TokenError(field: .pan, code: "invalid", message: "Invalid card number")
  ),
  (
    TokenRequest(
      .card(pan: pan, cvc: "12", expiry: "12/30", cardholder: nil, order: "O"), publicKey: key),
    TokenError(field: .cvc, code: "invalid", message: "Enter the 3-digit security code")
  ),
  (
    TokenRequest(
      .newPaymentMethod(pan: pan, cvc: "123", expiry: "12-30", cardholder: nil), publicKey: key),
    TokenError(field: .expiry, code: "invalid-format", message: "Invalid expiry date, use MM/YY")
  ),
  // Present and empty is not absent.
  (
    TokenRequest(
      .card(pan: pan, cvc: "123", expiry: "12/30", cardholder: "", order: "O"), publicKey: key),
    TokenError(
      field: .cardholder, code: "required", message: "Enter the cardholder name in Latin letters")
  ),
  (
    TokenRequest(
      .card(pan: pan, cvc: "123", expiry: "12/30", cardholder: "JOHN 😀", order: "O"), publicKey: key
    ),
    TokenError(
      field: .cardholder, code: "invalid-format",
      message: "Enter the cardholder name in Latin letters")
  ),
  (
    TokenRequest(
      .card(pan: pan, cvc: "123", expiry: "12/30", cardholder: nil, order: ""), publicKey: key),
    TokenError(field: .order, code: "required", message: nil)
  ),
  (
    TokenRequest(.binding(id: "", cvc: nil, order: "O"), publicKey: key),
    TokenError(field: .bindingId, code: "required", message: nil)
  ),
  (
    TokenRequest(.storedPaymentMethod(id: "3WhDgViUq4", cvc: nil), publicKey: key),
    TokenError(field: .storedPaymentMethodId, code: "required", message: nil)
  ),
  (
    TokenRequest(.bindingInstant(id: "B", cvc: nil), publicKey: "not a key"),
    TokenError(field: .publicKey, code: "invalid", message: nil)
  ),
  // Too long a payment string for the key.
  (
    TokenRequest(.bindingInstant(id: String(repeating: "B", count: 250), cvc: nil), publicKey: key),
    TokenError(field: .unknown, code: "unknown", message: nil)
  ),
  (
    TokenRequest(
      .bindingInstant(id: "B", cvc: nil), publicKey: key,
      timestamp: Date(timeIntervalSince1970: .infinity)),
    TokenError(
      field: .unknown, code: "timestamp is not a finite number of seconds in range", message: nil)
  ),
]

@Test func eachKindOfFailureGivesItsFieldCodeAndMessage() {
  let core = SDKCore()
  for (request, expected) in failures {
    #expect(throws: expected) { try core.token(for: request) }
  }
}

// Texts beyond the BMP reach the library byte for byte: the payment string, and the cardholder
// (refused, as not Latin) in the library's log event. A Swift String always holds valid Unicode,
// so invalid UTF-8 cannot reach the library through the binding; the nearest case is a String
// decoded from invalid bytes, which carries U+FFFD in their place, and so does the token.
@Test func textsReachTheLibraryByteForByte() throws {
  let order = "ORDER-😀-\u{2000B}-" + String(decoding: [0x41, 0xFF, 0x42], as: UTF8.self)
  let binding = "\u{2000B}😀"
  let token = try SDKCore().token(
    for: TokenRequest(.binding(id: binding, cvc: nil, order: order), publicKey: key))
  let plain = try Merchant.decrypt([token])[0]
  let expected = Array("/\(order)/\(binding)//".utf8)
  #expect(plain.firstRange(of: expected) != nil)
  #expect(expected.firstRange(of: [0x41, 0xEF, 0xBF, 0xBD, 0x42]) != nil)

  let cardholder = Array("(\"JÖHN 😀\")".utf8)
  let received = Received()
  let sink = SDKCore.addLogSink(received.append)
  _ = try? SDKCore().token(
    for: TokenRequest(
      .cardInstant(pan: pan, cvc: "123", expiry: "12/30", cardholder: "JÖHN 😀"), publicKey: key))
  sink.cancel()
  #expect(
    received.events(with: "JÖHN").contains {
      Array($0.message.utf8).firstRange(of: cardholder) != nil
    })
}

// The requests are untimed: each token carries the time that the request was made.
@Test func eightTasksShareOneCore() async throws {
  let core = SDKCore()
  let tokens = try await withThrowingTaskGroup(of: (Int, [String]).self) { group in
    for task in 0..<8 {
      group.addTask {
        let request = TokenRequest(
          .binding(id: "BIND-\(task)", cvc: nil, order: "ORDER-\(task)"), publicKey: key)
        return (task, try (0..<200).map { _ in try core.token(for: request) })
      }
    }
    return try await group.reduce(into: [:]) { $0[$1.0] = $1.1 }
  }
  for (task, taskTokens) in tokens {
    let fields = try Merchant.fields(taskTokens)
    #expect(fields.count == 200)
    #expect(fields.allSatisfy { $0[5] == "ORDER-\(task)" && $0[6] == "BIND-\(task)" })
  }
  #expect(tokens.count == 8)
}
