// The smallest Swift host program: one card, one order, one token.
// Usage: Example PUBLIC_KEY.pem
import Foundation
import SDKCore

func printError(_ text: String) { FileHandle.standardError.write(Data((text + "\n").utf8)) }

guard CommandLine.arguments.count == 2,
  let pem = try? String(contentsOfFile: CommandLine.arguments[1], encoding: .utf8)
else {
  printError("usage: Example PUBLIC_KEY.pem")
  exit(2)
}

let core = SDKCore()
let log = SDKCore.addLogSink { event in printError("\(event.tag): \(event.message)") }
let request = TokenRequest(
  .card(
    pan: "4111111111111111", cvc: "123", expiry: "12/30", cardholder: "JOHN DOE",
    order: "ORDER-1"),
  publicKey: pem)
do {
  print(try core.token(for: request))  // Pass it on to the payment server.
} catch {
  printError("\(error.field.rawValue): \(error.code)")  // e.g. "PAN: invalid"
  exit(1)
}
log.cancel()
