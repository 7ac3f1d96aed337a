import CSDKCore
import Testing

@testable import SDKCore

// Exhausted memory fails the token request with an error the host can handle, not the program.
@Test func outOfMemoryFailsTheTokenRequest() {
  #expect(throws: TokenError(field: .unknown, code: "out of memory", message: nil)) {
    try expectOKForRequest(Int32(SDKCORE_OUT_OF_MEMORY.rawValue))
  }
  #expect(throws: Never.self) { try expectOKForRequest(Int32(SDKCORE_OK.rawValue)) }
}
