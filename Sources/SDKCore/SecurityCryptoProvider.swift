#if canImport(Security)
  import Foundation
  import Security

  /// The crypto provider over Apple's Security framework, and the one that `SDKCore()` uses on
  /// Apple platforms: the key from its PKCS #1 DER form (`SecKeyCreateWithData`), the encryption
  /// with `SecKeyCreateEncryptedData` and `.rsaEncryptionPKCS1`, the random bytes from
  /// `SecRandomCopyBytes`. Stateless and thread-safe.
  public struct SecurityCryptoProvider: CryptoProvider {
    public init() {}

    /// Throws `SecurityFrameworkError` when the framework refuses the key or the encryption.
    public func encrypt(_ plain: UnsafeRawBufferPointer, with key: RSAPublicKeyForms) throws
      -> [UInt8]
    {
      let attributes: [String: Any] = [
        kSecAttrKeyType as String: kSecAttrKeyTypeRSA,
        kSecAttrKeyClass as String: kSecAttrKeyClassPublic,
        kSecAttrKeySizeInBits as String: key.modulus.count * 8,
      ]
      var error: Unmanaged<CFError>?
      guard
        let secKey = SecKeyCreateWithData(
          Data(key.pkcs1DER) as CFData, attributes as CFDictionary, &error)
      else { throw SecurityFrameworkError(error) }
      // The plain text is handed to the framework where it lies, without a copy of the binding's.
      let plainData =
        plain.baseAddress.map {
          Data(bytesNoCopy: UnsafeMutableRawPointer(mutating: $0), count: plain.count,
            deallocator: .none)
        } ?? Data()
      guard
        let cipher = SecKeyCreateEncryptedData(
          secKey, .rsaEncryptionPKCS1, plainData as CFData, &error)
      else { throw SecurityFrameworkError(error) }
      return [UInt8](cipher as Data)
    }

    /// Throws `SecurityFrameworkError` when `SecRandomCopyBytes` fails.
    public func randomBytes(into buffer: UnsafeMutableRawBufferPointer) throws {
      guard let start = buffer.baseAddress, !buffer.isEmpty else { return }
      let status = SecRandomCopyBytes(kSecRandomDefault, buffer.count, start)
      guard status == errSecSuccess else {
        throw SecurityFrameworkError(code: Int(status), description: "SecRandomCopyBytes failed")
      }
    }
  }

  /// What the Security framework answered when it could not serve `SecurityCryptoProvider`. The
  /// library reports it as an encryption failure; the error itself never leaves the provider.
  public struct SecurityFrameworkError: Error, Sendable, Hashable {
    /// The framework's error code (a `CFError` code or an `OSStatus`).
    public let code: Int
    public let description: String

    public init(code: Int, description: String) {
      self.code = code
      self.description = description
    }

    init(_ error: Unmanaged<CFError>?) {
      guard let error = error?.takeRetainedValue() else {
        self.init(code: Int(errSecParam), description: "the Security framework gave no error")
        return
      }
      self.init(
        code: CFErrorGetCode(error), description: CFErrorCopyDescription(error) as String)
    }
  }
#endif
