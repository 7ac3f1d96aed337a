import Foundation
import SDKCore
import Testing

@Test func base58RoundTripsAndRefusesWhatIsNotBase58() {
  let pairs: [([UInt8], String)] = [
    ([], ""), ([0, 0, 1], "112"), (Array("BIND-77".utf8), "3WhDgViUq4"),
  ]
  for (bytes, text) in pairs {
    #expect(Base58.encode(bytes) == text)
    #expect(text.isEmpty || Base58.decode(text) == bytes)
  }
  for text in ["", "0OIl", "3WhD gViUq4", String(repeating: "2", count: Base58.maxInputBytes + 1)] {
    #expect(Base58.decode(text) == nil, "\(text.prefix(12))")
  }
  #expect(Base58.bindingId(fromStoredPaymentMethodId: "pm_3WhDgViUq4") == "BIND-77")
  #expect(Base58.bindingId(fromStoredPaymentMethodId: "3WhDgViUq4") == nil)
}

@Test func cardEntryHelpersFollowTheBrandTable() {
  #expect(CardEntry.brands(of: "4011").map(\.rawValue) == ["visa", "elo"])
  #expect(CardEntry.brands(of: "4x").isEmpty)
  #expect(CardEntry.format("378282246310005") == "3782 822463 10005")
  let checks: [(String, Bool, Bool)] = [
    ("4111 1111 1111 1111", true, true), ("4111", true, false), ("4111111111111112", true, false),
    ("4x", false, false),
  ]
  for (number, potentiallyValid, valid) in checks {
    #expect(CardEntry.check(number) == (potentiallyValid, valid), "\(number)")
  }
  var utc = Calendar(identifier: .gregorian)
  utc.timeZone = TimeZone(identifier: "UTC")!
  let june2025 = Date(timeIntervalSince1970: 1_749_600_000)
  let expiries: [(String, ExpiryStatus)] = [
    ("12/3", .potentiallyValid), ("05/25", .invalid), ("06/25", .valid),
  ]
  for (text, status) in expiries {
    #expect(CardEntry.expiryStatus(of: text, now: june2025, calendar: utc) == status, "\(text)")
  }
  #expect(CardEntry.isValidSecurityCode("1234", for: CardBrand(rawValue: "american-express")))
  #expect(!CardEntry.isValidSecurityCode("1234", for: CardBrand(rawValue: "visa")))
  #expect(CardEntry.isValidSecurityCode("1234", for: nil))
}

@Test func keysAndVersion() {
  #expect(SDKCore.checkPublicKey(Merchant.publicKey) == .usable)
  #expect(SDKCore.checkPublicKey("not a key") == .keyCreationFailed)
  #expect(SDKCore.version.wholeMatch(of: /\d+\.\d+\.\d+/) != nil)
}
