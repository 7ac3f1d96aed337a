import Foundation
import SDKCore
import Testing

// A token, and a failure after every field's check and log event, with a sink attached.
private let requests = [
  TokenRequest(.binding(id: "BIND-😀", cvc: "123", order: "ORDER-1"), publicKey: Merchant.publicKey),
  TokenRequest(
    .card(
      pan: "4111111111111111", cvc: "123", expiry: "12/30", cardholder: "JOHN DOE",
      order: "ORDER-1"), publicKey: "not a key"),
]

private func residentBytes() throws -> Int {
  let status = try String(contentsOfFile: "/proc/self/status", encoding: .utf8)
  let line = try #require(status.split(separator: "\n").first { $0.hasPrefix("VmRSS:") })
  return try #require(Int(line.filter(\.isNumber))) << 10
}

private func run(_ core: SDKCore, _ calls: Int) {
  for call in 0..<calls {
    _ = try? core.token(for: requests[call % requests.count])
  }
}

@Test func residentSizeStaysFlatOver100000Tokens() throws {
  let core = SDKCore()
  let sink = SDKCore.addLogSink { _ in }
  run(core, 20_000)  // caches and allocator arenas settle
  let before = try residentBytes()
  run(core, 100_000)
  let growth = try residentBytes() - before
  sink.cancel()
  print("100000 calls: resident size \(growth >> 10) KiB")
  #expect(growth < 8 << 20)
}
