import CSDKCore

/// One RSA public key in the forms that platform crypto libraries take, all describing the same
/// key. The library has read and checked the merchant's key (format, size, weak exponent,
/// signing-only keys) before a provider sees it, so a provider never receives a key the library
/// would refuse.
public struct RSAPublicKeyForms: Sendable, Hashable {
  /// The modulus, big-endian, without a leading zero byte; its length is the length that the
  /// cipher text must have.
  public let modulus: [UInt8]
  /// The public exponent, big-endian, without a leading zero byte.
  public let exponent: [UInt8]
  /// DER of the PKCS #1 RSAPublicKey: what `SecKeyCreateWithData` takes.
  public let pkcs1DER: [UInt8]
  /// DER of the SubjectPublicKeyInfo (rsaEncryption, NULL parameters): what
  /// `openssl pkeyutl -pubin -keyform DER` and Java's X509EncodedKeySpec take.
  public let subjectPublicKeyInfoDER: [UInt8]

  public init(
    modulus: [UInt8], exponent: [UInt8], pkcs1DER: [UInt8], subjectPublicKeyInfoDER: [UInt8]
  ) {
    self.modulus = modulus
    self.exponent = exponent
    self.pkcs1DER = pkcs1DER
    self.subjectPublicKeyInfoDER = subjectPublicKeyInfoDER
  }

  /// A copy of the C key's forms, which are borrowed for the call only.
  init(_ key: sdkcore_rsa_public_key) {
    func bytes(_ start: UnsafePointer<UInt8>?, _ count: Int) -> [UInt8] {
      Array(UnsafeBufferPointer(start: start, count: start == nil ? 0 : count))
    }
    self.init(
      modulus: bytes(key.modulus, key.modulus_len),
      exponent: bytes(key.exponent, key.exponent_len),
      pkcs1DER: bytes(key.pkcs1_der, key.pkcs1_der_len),
      subjectPublicKeyInfoDER: bytes(key.spki_der, key.spki_der_len))
  }
}

/// The cryptography that a host supplies to `SDKCore(provider:)` in place of the built-in one:
/// the RSA encryption of the payment string and the random bytes of its UUID, typically from the
/// platform's own module (`SecurityCryptoProvider` on Apple platforms).
///
/// Both functions are called synchronously on the thread that asks for a token, possibly on
/// several threads at once, so a provider must be safe to call concurrently; they may call the
/// library themselves (check a key, make a token with another key).
///
/// The library distrusts the answers: an error thrown by `encrypt`, or a cipher text that cannot
/// be one (a length other than the modulus length, a number not between 1 and the modulus, the
/// plain text showing in it), fails the token request on `.unknown` with the code "unknown"; an
/// error thrown by `randomBytes`, or bytes that cannot be random (all zero, two equal consecutive
/// 16-byte pieces, the same bytes as the previous answer on the thread), refuses the token on
/// `.unknown` with the code "crypto provider failed to supply random bytes".
public protocol CryptoProvider: Sendable {
  /// Encrypts `plain` with `key` by RSAES-PKCS1-v1_5 (RFC 8017, random padding) and returns the
  /// cipher text, exactly as long as `key.modulus`. `plain` is the library's buffer, valid for
  /// this call only and wiped after it; copies that the provider or the platform make of it are
  /// the host's to wipe. Throws when it cannot encrypt.
  func encrypt(_ plain: UnsafeRawBufferPointer, with key: RSAPublicKeyForms) throws -> [UInt8]

  /// Fills all of `buffer` with bytes from a cryptographically secure random source; the library
  /// asks for a batch at a time, which serves many tokens. `buffer` is valid for this call only.
  /// Throws when it cannot; the bytes are then never used.
  func randomBytes(into buffer: UnsafeMutableRawBufferPointer) throws
}

/// Holds a Swift provider for the C provider that calls it: the C functions get this object as
/// their user data, and the core that uses them keeps it alive.
final class CryptoProviderBridge: Sendable {
  let provider: any CryptoProvider

  init(_ provider: any CryptoProvider) {
    self.provider = provider
  }

  /// The C provider over this bridge; valid while the bridge lives.
  var cProvider: sdkcore_crypto_provider {
    sdkcore_crypto_provider(
      user_data: Unmanaged.passUnretained(self).toOpaque(), encrypt: providerEncrypt,
      random_bytes: providerRandomBytes)
  }

  static func of(_ userData: UnsafeMutableRawPointer?) -> CryptoProviderBridge {
    Unmanaged<CryptoProviderBridge>.fromOpaque(userData!).takeUnretainedValue()
  }
}

// Any status but SDKCORE_OK is a failure to the library.
private let providerFailed = Int32(SDKCORE_INTERNAL_ERROR.rawValue)

// The C provider's encrypt: the Swift provider's cipher text goes into the library's buffer as
// it is, and the library checks its length. An error thrown, or a cipher text that does not fit
// the buffer (one byte longer than the modulus), is a failure status.
private func providerEncrypt(
  userData: UnsafeMutableRawPointer?, key: UnsafePointer<sdkcore_rsa_public_key>?,
  plain: UnsafePointer<UInt8>?, plainLength: Int, cipher: UnsafeMutablePointer<UInt8>?,
  cipherCapacity: Int, cipherLength: UnsafeMutablePointer<Int>?
) -> Int32 {
  guard let key, let cipher, let cipherLength else { return providerFailed }
  let provider = CryptoProviderBridge.of(userData).provider
  guard
    let answer = try? provider.encrypt(
      UnsafeRawBufferPointer(start: plain, count: plain == nil ? 0 : plainLength),
      with: RSAPublicKeyForms(key.pointee)),
    answer.count <= cipherCapacity
  else { return providerFailed }
  _ = UnsafeMutableBufferPointer(start: cipher, count: answer.count).update(fromContentsOf: answer)
  cipherLength.pointee = answer.count
  return Int32(SDKCORE_OK.rawValue)
}

private func providerRandomBytes(
  userData: UnsafeMutableRawPointer?, out: UnsafeMutablePointer<UInt8>?, length: Int
) -> Int32 {
  guard let out else { return providerFailed }
  let provider = CryptoProviderBridge.of(userData).provider
  do {
    try provider.randomBytes(into: UnsafeMutableRawBufferPointer(start: out, count: length))
  } catch {
    return providerFailed
  }
  return Int32(SDKCORE_OK.rawValue)
}
