import CSDKCore

// Helpers for calls into the C interface: texts in as pointer and length, texts out as Swift
// strings, and statuses that only a fault of this binding can produce.

extension String {
  /// Calls `body` with the string's UTF-8 bytes (pointer and length) for the time of the call.
  /// A native string hands over its own storage; no copy of it is kept.
  func withUTF8Text<Result>(_ body: (UnsafePointer<CChar>, Int) throws -> Result) rethrows
    -> Result
  {
    try withCString { try body($0, utf8.count) }
  }

  /// The UTF-8 text at `text`, `length` bytes long (the empty string for NULL).
  init(cText text: UnsafePointer<CChar>?, length: Int) {
    guard let text else {
      self = ""
      return
    }
    self = text.withMemoryRebound(to: UInt8.self, capacity: length) {
      String(decoding: UnsafeBufferPointer(start: $0, count: length), as: UTF8.self)
    }
  }
}

/// Stops the program unless `status` is SDKCORE_OK. The binding passes only valid arguments, so
/// any other status is a fault of the binding (or memory exhausted), never the caller's input.
@inline(__always)
func expectOK(_ status: Int32, _ function: StaticString = #function, line: UInt = #line) {
  if status != Int32(SDKCORE_OK.rawValue) {
    preconditionFailure("the C interface answered \(status) in \(function)", line: line)
  }
}

/// As `expectOK`, for the calls of one token request: exhausted memory fails the request (field
/// `.unknown`, code "out of memory") rather than the program.
@inline(__always)
func expectOKForRequest(_ status: Int32, _ function: StaticString = #function, line: UInt = #line)
  throws(TokenError)
{
  if status == Int32(SDKCORE_OUT_OF_MEMORY.rawValue) {
    throw TokenError(field: .unknown, code: "out of memory", message: nil)
  }
  expectOK(status, function, line: line)
}

/// A text that the library hands to the caller and frees with `sdkcore_free`, as a Swift string;
/// `call` fills in the buffer and its length.
func ownedText(
  _ call: (UnsafeMutablePointer<UnsafeMutablePointer<CChar>?>, UnsafeMutablePointer<Int>) -> Int32
) -> String {
  var buffer: UnsafeMutablePointer<CChar>?
  var length = 0
  expectOK(call(&buffer, &length))
  defer { sdkcore_free(buffer) }
  return String(cText: buffer, length: length)
}
