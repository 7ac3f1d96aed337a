import Foundation

/// The merchant's side of the tests: the demo key pair, and tokens decrypted by Debian's
/// `openssl pkeyutl`, an RSA implementation that the binding never calls.
enum Merchant {
  /// cli/demo_key, from SDKCORE_DEMO_KEY_DIR or found from this file's place in the repository.
  static let keyDirectory =
    ProcessInfo.processInfo.environment["SDKCORE_DEMO_KEY_DIR"]
    ?? repositoryFile("cli/demo_key")
  static let publicKey = try! String(
    contentsOfFile: keyDirectory + "/demo_public.pem", encoding: .utf8)

  static func repositoryFile(_ path: String) -> String {
    URL(fileURLWithPath: #filePath).deletingLastPathComponent()
      .appendingPathComponent("../../\(path)").standardizedFileURL.path
  }

  /// The payment strings' UTF-8 bytes of `tokens`, in order; decrypts four at a time.
  static func decrypt(_ tokens: [String]) throws -> [[UInt8]] {
    let directory = FileManager.default.temporaryDirectory
      .appendingPathComponent("sdkcore-tokens-\(UUID().uuidString)")
    try FileManager.default.createDirectory(at: directory, withIntermediateDirectories: true)
    defer { try? FileManager.default.removeItem(at: directory) }
    for (index, token) in tokens.enumerated() {
      guard let cipherText = Data(base64Encoded: token) else { throw DecryptionFailed() }
      try cipherText.write(to: directory.appendingPathComponent("\(index)"))
    }
    let openssl = Process()
    openssl.executableURL = URL(fileURLWithPath: "/bin/sh")
    openssl.currentDirectoryURL = directory
    openssl.arguments = [
      "-c",
      "seq 0 \(tokens.count - 1) | OPENSSL_CONF=/dev/null xargs -P 4 -I @ openssl pkeyutl -decrypt "
        + "-inkey '\(keyDirectory)/demo_private.pem' -in @ -out @.txt",
    ]
    try openssl.run()
    openssl.waitUntilExit()
    guard openssl.terminationStatus == 0 else { throw DecryptionFailed() }
    return try tokens.indices.map {
      Array(try Data(contentsOf: directory.appendingPathComponent("\($0).txt")))
    }
  }

  /// The nine "/"-separated fields of each token's payment string.
  static func fields(_ tokens: [String]) throws -> [[String]] {
    try decrypt(tokens).map {
      String(decoding: $0, as: UTF8.self).split(separator: "/", omittingEmptySubsequences: false)
        .map(String.init)
    }
  }

  struct DecryptionFailed: Error {}
}
