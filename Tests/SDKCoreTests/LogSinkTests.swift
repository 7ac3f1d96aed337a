import Foundation
import SDKCore
import Testing

/// Events that a sink received, kept across threads.
final class Received: @unchecked Sendable {
  private let lock = NSLock()
  private var events: [LogEvent] = []

  func append(_ event: LogEvent) { lock.withLock { events.append(event) } }
  /// The events whose message holds `marker`: other tests log at the same time.
  func events(with marker: String) -> [LogEvent] {
    lock.withLock { events.filter { $0.message.contains(marker) } }
  }
}

private func failingToken(_ marker: String) {
  _ = try? SDKCore().token(
    for: TokenRequest(.binding(id: marker, cvc: "", order: "O"), publicKey: Merchant.publicKey))
}

@Test func eventsArriveUntilTheSinkIsCancelled() {
  let received = Received()
  let sink = SDKCore.addLogSink(received.append)
  failingToken("SINK-1")
  sink.cancel()
  failingToken("SINK-2")
  sink.cancel()
  let events = received.events(with: "SINK-1")
  #expect(events.contains { $0.tag == "SDK-Core" && $0.error == "BINDING_ID" })
  #expect(received.events(with: "SINK-2").isEmpty)
}

@Test func releasingTheHandleDetachesTheSink() {
  let received = Received()
  do {
    let sink = SDKCore.addLogSink(received.append)
    failingToken("SINK-3")
    _ = sink
  }
  failingToken("SINK-4")
  #expect(!received.events(with: "SINK-3").isEmpty)
  #expect(received.events(with: "SINK-4").isEmpty)
}

// A sink that calls into the library, attaches another sink and cancels its own handle, all
// from inside a delivery: nothing waits on itself.
@Test func aSinkMayCallBackIntoTheLibrary() {
  let received = Received()
  let handle = HandleBox()
  handle.sink = SDKCore.addLogSink { event in
    guard event.message.contains("SINK-5") else { return }
    _ = Validators.validate("4111111111111111", as: .cardNumber)
    _ = SDKCore.addLogSink { _ in }
    received.append(event)
    handle.sink?.cancel()
  }
  failingToken("SINK-5")
  failingToken("SINK-5")
  #expect(received.events(with: "SINK-5").count == 1)
}

private final class HandleBox: @unchecked Sendable {
  var sink: LogSinkHandle?
}
