import Foundation
import SDKCore
import Testing

/// Runs `arguments` with `input` on standard input and returns standard output; throws, with
/// standard error, when the command fails.
private func run(_ arguments: [String], input: Data = Data()) throws -> Data {
  let process = Process()
  process.executableURL = URL(fileURLWithPath: "/usr/bin/env")
  process.arguments = arguments
  process.environment = ProcessInfo.processInfo.environment.merging(["OPENSSL_CONF": "/dev/null"]) {
    $1
  }
  let stdin = Pipe()
  let stdout = Pipe()
  let stderr = Pipe()
  process.standardInput = stdin
  process.standardOutput = stdout
  process.standardError = stderr
  try process.run()
  stdin.fileHandleForWriting.write(input)
  try stdin.fileHandleForWriting.close()
  let output = stdout.fileHandleForReading.readDataToEndOfFile()
  let errors = stderr.fileHandleForReading.readDataToEndOfFile()
  process.waitUntilExit()
  guard process.terminationStatus == 0 else {
    throw CommandFailed(arguments: arguments, errors: String(decoding: errors, as: UTF8.self))
  }
  return output
}

private struct CommandFailed: Error {
  let arguments: [String]
  let errors: String
}

/// What a provider was given and answered, kept across threads.
private final class Calls: @unchecked Sendable {
  private let lock = NSLock()
  private var keys: [RSAPublicKeyForms] = []
  private var random: [[UInt8]] = []

  func encrypted(with key: RSAPublicKeyForms) { lock.withLock { keys.append(key) } }
  func supplied(_ bytes: UnsafeMutableRawBufferPointer) {
    lock.withLock { random.append(Array(bytes)) }
  }
  var encryptionKeys: [RSAPublicKeyForms] { lock.withLock { keys } }
  var randomAnswers: [[UInt8]] { lock.withLock { random } }
}

/// Fills `buffer` from the system's secure generator.
private func fillRandomly(_ buffer: UnsafeMutableRawBufferPointer) {
  var generator = SystemRandomNumberGenerator()
  for index in buffer.indices { buffer[index] = generator.next() }
}

/// The tests' own provider: Debian's `openssl pkeyutl` encrypts under the key's
/// SubjectPublicKeyInfo DER, and the random bytes come from the system's generator, each answer
/// kept, so that the tokens' UUIDs can be traced back to them.
private struct OpenSSLCommandProvider: CryptoProvider {
  let calls = Calls()

  func encrypt(_ plain: UnsafeRawBufferPointer, with key: RSAPublicKeyForms) throws -> [UInt8] {
    calls.encrypted(with: key)
    let keyFile = FileManager.default.temporaryDirectory
      .appendingPathComponent("sdkcore-key-\(UUID().uuidString).der")
    try Data(key.subjectPublicKeyInfoDER).write(to: keyFile)
    defer { try? FileManager.default.removeItem(at: keyFile) }
    return Array(
      try run(
        [
          "openssl", "pkeyutl", "-encrypt", "-pubin", "-keyform", "DER", "-inkey", keyFile.path,
          "-pkeyopt", "rsa_padding_mode:pkcs1",
        ], input: Data(plain)))
  }

  func randomBytes(into buffer: UnsafeMutableRawBufferPointer) throws {
    fillRandomly(buffer)
    calls.supplied(buffer)
  }
}

/// The 16-byte pieces of `answers` as the version 4 UUIDs that the library makes of them.
private func uuids(from answers: [[UInt8]]) -> Set<String> {
  var texts: Set<String> = []
  for answer in answers {
    for start in stride(from: 0, to: answer.count - 15, by: 16) {
      var bytes = Array(answer[start..<start + 16])
      bytes[6] = bytes[6] & 0x0F | 0x40  // version 4
      bytes[8] = bytes[8] & 0x3F | 0x80  // variant 10xx
      let hex = bytes.map { String(format: "%02X", $0) }.joined()
      var text = ""
      for (index, character) in hex.enumerated() {
        if [8, 12, 16, 20].contains(index) { text.append("-") }
        text.append(character)
      }
      texts.insert(text)
    }
  }
  return texts
}

@Test func everyVariantThroughASwiftProviderDecryptsToItsNineFields() throws {
  let provider = OpenSSLCommandProvider()
  let core = SDKCore(provider: provider)
  let tokens = try variants.map { try core.token(for: $0.0) }
  let supplied = uuids(from: provider.calls.randomAnswers)
  for (fields, (request, expected)) in zip(try Merchant.fields(tokens), variants) {
    #expect(fields.count == 9, "\(request)")
    #expect(fields[0] == "2023-11-14T22:13:20+00:00", "\(request)")
    #expect(supplied.contains(fields[1]), "\(request)")
    #expect(Array(fields.dropFirst(2)) == expected, "\(request)")
  }
  #expect(provider.calls.encryptionKeys.count == variants.count)
}

@Test func theProviderGetsTheKeyInEachForm() throws {
  let provider = OpenSSLCommandProvider()
  _ = try SDKCore(provider: provider).token(for: variants[0].0)
  let key = try #require(provider.calls.encryptionKeys.first)

  let pem = Data(Merchant.publicKey.utf8)
  let modulusLine = String(
    decoding: try run(["openssl", "rsa", "-pubin", "-noout", "-modulus"], input: pem),
    as: UTF8.self)
  let modulusHex = key.modulus.map { String(format: "%02X", $0) }.joined()
  #expect(modulusLine == "Modulus=\(modulusHex)\n")
  #expect(key.modulus.first != 0)
  #expect(key.exponent == [0x01, 0x00, 0x01])
  let pkcs1 = try run(
    ["openssl", "rsa", "-pubin", "-RSAPublicKey_out", "-outform", "DER"], input: pem)
  #expect(key.pkcs1DER == Array(pkcs1))
  #expect(
    key.subjectPublicKeyInfoDER
      == Array(try run(["openssl", "pkey", "-pubin", "-outform", "DER"], input: pem)))
}

/// A provider that fails in one way, after the library has checked the key.
private struct FailingProvider: CryptoProvider {
  enum Failure: Sendable {
    case encryptionThrows
    /// The cipher text is `extra` bytes longer than the modulus (shorter when negative).
    case cipherLength(extra: Int)
    /// The cipher text is the plain text itself, after zero bytes up to the modulus length.
    case plainTextAsCipher
    case randomBytesThrow
  }

  struct Refused: Error {}

  let failure: Failure
  let calls = Calls()

  func encrypt(_ plain: UnsafeRawBufferPointer, with key: RSAPublicKeyForms) throws -> [UInt8] {
    calls.encrypted(with: key)
    switch failure {
    case .encryptionThrows: throw Refused()
    case .cipherLength(let extra): return [UInt8](repeating: 0x5A, count: key.modulus.count + extra)
    case .plainTextAsCipher:
      return [UInt8](repeating: 0, count: key.modulus.count - plain.count) + Array(plain)
    case .randomBytesThrow: return [UInt8](repeating: 0x5A, count: key.modulus.count)
    }
  }

  func randomBytes(into buffer: UnsafeMutableRawBufferPointer) throws {
    if case .randomBytesThrow = failure { throw Refused() }
    fillRandomly(buffer)
  }
}

private let encryptionFailed = TokenError(field: .unknown, code: "unknown", message: nil)

// Each failure of a provider, and what the token call answers; the key is always the library's
// to check, so a key it refuses never reaches the provider.
private let providerFailures: [(FailingProvider.Failure, String, TokenError, encryptions: Int)] = [
  (.encryptionThrows, Merchant.publicKey, encryptionFailed, 1),
  (.cipherLength(extra: -1), Merchant.publicKey, encryptionFailed, 1),
  (.cipherLength(extra: 1), Merchant.publicKey, encryptionFailed, 1),
  (.cipherLength(extra: 100), Merchant.publicKey, encryptionFailed, 1),
  (.plainTextAsCipher, Merchant.publicKey, encryptionFailed, 1),
  (
    .randomBytesThrow, Merchant.publicKey,
    TokenError(
      field: .unknown, code: "crypto provider failed to supply random bytes", message: nil), 0
  ),
  (.encryptionThrows, "not a key", TokenError(field: .publicKey, code: "invalid", message: nil), 0),
]

@Test func aFailingProviderGivesNoToken() {
  for (failure, key, expected, encryptions) in providerFailures {
    let provider = FailingProvider(failure: failure)
    let request = TokenRequest(.bindingInstant(id: "BIND-77", cvc: nil), publicKey: key)
    #expect(throws: expected, "\(failure)") { try SDKCore(provider: provider).token(for: request) }
    #expect(provider.calls.encryptionKeys.count == encryptions, "\(failure)")
  }
}
