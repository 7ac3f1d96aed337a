// The cost of one card token from Swift against the same token through the C interface, in one
// process, in many short alternating rounds, with the median of each side: the thread's CPU time
// (steady on a loaded machine) and wall time. Not a test: run it with
//   swift run -c release TokenCostBenchmark cli/demo_key/demo_public.pem
import CTokenCost
import Foundation
import SDKCore

let tokensPerRound = 200
let warmUpRounds = 20
let rounds = 201

guard CommandLine.arguments.count == 2,
  let pem = try? String(contentsOfFile: CommandLine.arguments[1], encoding: .utf8)
else {
  FileHandle.standardError.write(Data("usage: TokenCostBenchmark PUBLIC_KEY.pem\n".utf8))
  exit(2)
}

/// The thread's CPU time and the wall time, in nanoseconds, that `body` takes.
func measure(_ body: () -> Void) -> (cpu: Double, wall: Double) {
  func now(_ clock: clockid_t) -> Double {
    var time = timespec()
    clock_gettime(clock, &time)
    return Double(time.tv_sec) * 1e9 + Double(time.tv_nsec)
  }
  let cpu = now(CLOCK_THREAD_CPUTIME_ID)
  let wall = now(CLOCK_MONOTONIC)
  body()
  return (now(CLOCK_THREAD_CPUTIME_ID) - cpu, now(CLOCK_MONOTONIC) - wall)
}

// The same request as the C side's, built anew for each token.
func swiftTokens(_ core: SDKCore) {
  for _ in 0..<tokensPerRound {
    let request = TokenRequest(
      .card(
        pan: "4111111111111111", cvc: "123", expiry: "12/30", cardholder: "JOHN DOE",
        order: "ORDER-1"),
      publicKey: pem, timestamp: Date(timeIntervalSince1970: 1_700_000_000))
    guard (try? core.token(for: request)) != nil else { fatalError("Swift made no token") }
  }
}

func cTokens() {
  let made = pem.withCString { token_cost_card_tokens($0, pem.utf8.count, Int32(tokensPerRound)) }
  guard made == tokensPerRound else { fatalError("the C interface made no token") }
}

func median(_ values: [Double]) -> Double { values.sorted()[values.count / 2] }

let core = SDKCore()
var swiftRounds: [(cpu: Double, wall: Double)] = []
var cRounds: [(cpu: Double, wall: Double)] = []
for round in -warmUpRounds..<rounds {
  let swiftCost = measure { swiftTokens(core) }
  let cCost = measure(cTokens)
  if round >= 0 {
    swiftRounds.append(swiftCost)
    cRounds.append(cCost)
  }
}
print("per token, medians of \(rounds) rounds of \(tokensPerRound) tokens:")
for (name, key) in [("CPU time", \(cpu: Double, wall: Double).cpu), ("wall time", \.wall)] {
  let swiftCost = median(swiftRounds.map { $0[keyPath: key] }) / Double(tokensPerRound) / 1000
  let cCost = median(cRounds.map { $0[keyPath: key] }) / Double(tokensPerRound) / 1000
  print(
    "  \(name): Swift \(String(format: "%.1f", swiftCost)) us, C \(String(format: "%.1f", cCost)) us,"
      + " Swift/C \(String(format: "%.3f", swiftCost / cCost))")
}
