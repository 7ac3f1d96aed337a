import CSDKCore

/// The library's entry object: it turns token requests into tokens.
///
/// One instance may serve any number of threads and tasks at once; it frees its C core when the
/// last reference goes.
public final class SDKCore: Sendable {
  // The C core is safe for concurrent token calls and is freed only in deinit, when no call can
  // be running on it any more.
  private nonisolated(unsafe) let core: OpaquePointer
  // The provider that the core calls, if any: it lives as long as the core.
  private let provider: CryptoProviderBridge?

  /// Makes a core with the platform's cryptography: on Apple platforms `SecurityCryptoProvider`
  /// (the library is built there without OpenSSL), elsewhere the library's built-in RSA. Stops the
  /// program only when memory is exhausted.
  public convenience init() {
    #if canImport(Security)
      self.init(provider: SecurityCryptoProvider())
    #else
      var core: OpaquePointer?
      expectOK(sdkcore_core_new(&core))
      self.init(core: core!, provider: nil)
    #endif
  }

  /// Makes a core whose RSA encryption and random bytes come from `provider`, which it keeps
  /// until the core is released. The library still reads and checks every key and checks the
  /// provider's answers (see `CryptoProvider`). Stops the program only when memory is exhausted.
  public convenience init(provider: some CryptoProvider) {
    let bridge = CryptoProviderBridge(provider)
    var cProvider = bridge.cProvider
    var core: OpaquePointer?
    expectOK(sdkcore_core_new_with_provider(&cProvider, &core))
    self.init(core: core!, provider: bridge)
  }

  private init(core: OpaquePointer, provider: CryptoProviderBridge?) {
    self.core = core
    self.provider = provider
  }

  deinit {
    sdkcore_core_free(core)
  }

  /// The library's version, such as "3.0.7".
  public static var version: String { String(cString: sdkcore_version()) }

  /// Checks the request's fields, builds the payment string and encrypts it with the request's
  /// public key: the Base64 token for the payment server. Throws the one field that failed, with
  /// its code and message; `.unknown` with the code "out of memory" when memory is exhausted.
  /// Thread-safe.
  public func token(for request: TokenRequest) throws(TokenError) -> String {
    var requestHandle: OpaquePointer?
    try expectOKForRequest(sdkcore_request_new(request.method.variant, &requestHandle))
    defer { sdkcore_request_free(requestHandle) }
    try request.write(to: requestHandle!)

    var result: OpaquePointer?
    try expectOKForRequest(sdkcore_generate_token(core, requestHandle, &result))
    defer { sdkcore_token_result_free(result) }
    var token: UnsafePointer<CChar>?
    var tokenLength = 0
    expectOK(sdkcore_token_result_token(result, &token, &tokenLength))
    if token != nil {
      return String(cText: token, length: tokenLength)
    }
    throw TokenError(result: result!, request: request)
  }

  /// What encrypting with the public key `pem` (PEM text, or Base64 of a key or certificate)
  /// would give. Thread-safe.
  public static func checkPublicKey(_ pem: String) -> PublicKeyCheck {
    var answer: Int32 = 0
    pem.withUTF8Text { expectOK(sdkcore_check_public_key($0, $1, &answer)) }
    return PublicKeyCheck(rawValue: answer) ?? .encryptionFailed
  }
}

/// What the library answers for a public key text.
public enum PublicKeyCheck: Int32, Sendable {
  /// A usable RSA public key.
  case usable = 0
  /// No usable RSA public key: not a key, not RSA, or weak. Tokens fail on `PUB_KEY`.
  case keyCreationFailed = 1
  /// A key that cannot encrypt with PKCS #1 v1.5. Tokens fail on `UNKNOWN`.
  case algorithmNotSupported = 2
  /// The encryption itself failed. Tokens fail on `UNKNOWN`.
  case encryptionFailed = 3
}
