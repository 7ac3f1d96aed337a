import Foundation
import SDKCore
import Testing

// The validator table that the C and Java tests answer too. Tab-separated: name, text, valid (1 or
// 0), code, message; "-" is absent and "\0" in a text is a NUL byte.
private let cases: [[String]] = {
  let path =
    ProcessInfo.processInfo.environment["SDKCORE_VALIDATOR_CASES"]
    ?? Merchant.repositoryFile("tests/capi/validator_cases.tsv")
  return try! String(contentsOfFile: path, encoding: .utf8).split(separator: "\n")
    .filter { !$0.hasPrefix("#") }
    .map { $0.split(separator: "\t", omittingEmptySubsequences: false).map(String.init) }
}()

@Test func validatorsAnswerTheSharedTable() throws {
  #expect(cases.count > 10)
  for row in cases {
    let validator = try #require(Validator(rawValue: row[0]), "\(row)")
    let text = row[1].replacingOccurrences(of: "\\0", with: "\0")
    let expected: ValidationResult =
      row[2] == "1" ? .valid : .invalid(code: row[3], message: row[4])
    #expect(Validators.validate(text, as: validator) == expected, "\(row)")
  }
}
