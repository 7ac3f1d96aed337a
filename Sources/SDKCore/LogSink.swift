import CSDKCore
import Foundation

/// One log event of the library. Messages show card numbers and security codes masked.
public struct LogEvent: Sendable, Hashable {
  /// "SDK-Core".
  public let tag: String
  public let message: String
  /// The error that the event reports (a field's name such as "CVC", or a description), if any.
  public let error: String?
}

extension SDKCore {
  /// Attaches `sink` to the library's logger for every later event, until the returned handle
  /// is cancelled or released. Events arrive synchronously on the thread that logs, possibly on
  /// several threads at once; a sink may call into the library, and may cancel its own handle.
  public static func addLogSink(_ sink: @escaping @Sendable (LogEvent) -> Void) -> LogSinkHandle {
    LogSinkHandle(sink)
  }
}

/// An attached log sink. `cancel()`, or releasing the handle, detaches it.
public final class LogSinkHandle: Sendable {
  private let id: UInt
  private let handle: UInt64

  fileprivate init(_ sink: @escaping @Sendable (LogEvent) -> Void) {
    id = SinkRegistry.shared.insert(sink)
    var handle: UInt64 = 0
    expectOK(sdkcore_add_log_sink(deliver, UnsafeMutableRawPointer(bitPattern: id), &handle))
    self.handle = handle
  }

  deinit {
    cancel()
  }

  /// Detaches the sink. Once this returns, no event reaches it any more: it waits for deliveries
  /// in progress on other threads, unless called from inside the sink itself. Cancelling again
  /// does nothing. Thread-safe.
  public func cancel() {
    let status = sdkcore_remove_log_sink(handle)
    if status != Int32(SDKCORE_UNKNOWN_NAME.rawValue) {
      expectOK(status)
      SinkRegistry.shared.remove(id)
    }
  }
}

// The sinks by id. The library's callback gets the id, not a pointer, and a delivery holds its
// own reference to the closure: a sink removed from inside a delivery (which need not wait for
// deliveries on other threads) is never freed under one still running.
private final class SinkRegistry: @unchecked Sendable {
  static let shared = SinkRegistry()

  private let lock = NSLock()
  private var sinks: [UInt: @Sendable (LogEvent) -> Void] = [:]
  private var lastId: UInt = 0

  func insert(_ sink: @escaping @Sendable (LogEvent) -> Void) -> UInt {
    lock.withLock {
      lastId += 1
      sinks[lastId] = sink
      return lastId
    }
  }

  func remove(_ id: UInt) {
    _ = lock.withLock { sinks.removeValue(forKey: id) }
  }

  func sink(_ id: UInt) -> (@Sendable (LogEvent) -> Void)? {
    lock.withLock { sinks[id] }
  }
}

// The library's callback: the texts are borrowed for the call, so the event copies them.
private func deliver(
  userData: UnsafeMutableRawPointer?, tag: UnsafePointer<CChar>?, tagLength: Int,
  message: UnsafePointer<CChar>?, messageLength: Int, error: UnsafePointer<CChar>?,
  errorLength: Int
) {
  guard let sink = SinkRegistry.shared.sink(UInt(bitPattern: userData)) else { return }
  sink(
    LogEvent(
      tag: String(cText: tag, length: tagLength),
      message: String(cText: message, length: messageLength),
      error: error.map { String(cText: $0, length: errorLength) }))
}
