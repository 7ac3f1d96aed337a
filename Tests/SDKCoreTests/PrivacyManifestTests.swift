import Foundation
import Testing

@testable import SDKCore

// The reasons that Apple accepts for each category of APIs that need one.
private let reasonsByCategory: [String: Set<String>] = [
  "NSPrivacyAccessedAPICategoryFileTimestamp": ["DDA9.1", "C617.1", "3B52.1", "0A2A.1"],
  "NSPrivacyAccessedAPICategorySystemBootTime": ["35F9.1", "8FFB.1", "3D61.1"],
  "NSPrivacyAccessedAPICategoryDiskSpace": ["85F4.1", "E174.1", "7D9E.1", "B728.1"],
  "NSPrivacyAccessedAPICategoryActiveKeyboards": ["3EC4.1", "54BD.1"],
  "NSPrivacyAccessedAPICategoryUserDefaults": ["CA92.1", "1C8F.1", "C56D.1", "AC6B.1"],
]

// The manifest as the package ships it, from the target's resource bundle: no tracking, no
// collected data, and the one category of APIs that the library calls (file metadata, by its
// std::filesystem look-ups of string tables), each with a reason that Apple accepts for it.
@Test func thePrivacyManifestDeclaresNoTrackingAndTheAPIsTheLibraryCalls() throws {
  let url = try #require(Bundle.module.url(forResource: "PrivacyInfo", withExtension: "xcprivacy"))
  let manifest = try #require(
    try PropertyListSerialization.propertyList(from: Data(contentsOf: url), format: nil)
      as? [String: Any])
  #expect(
    Set(manifest.keys) == [
      "NSPrivacyTracking", "NSPrivacyTrackingDomains", "NSPrivacyCollectedDataTypes",
      "NSPrivacyAccessedAPITypes",
    ])
  #expect(manifest["NSPrivacyTracking"] as? Bool == false)
  #expect((manifest["NSPrivacyTrackingDomains"] as? [Any])?.isEmpty == true)
  #expect((manifest["NSPrivacyCollectedDataTypes"] as? [Any])?.isEmpty == true)

  let accessed = try #require(manifest["NSPrivacyAccessedAPITypes"] as? [[String: Any]])
  let categories = accessed.compactMap { $0["NSPrivacyAccessedAPIType"] as? String }
  #expect(categories == ["NSPrivacyAccessedAPICategoryFileTimestamp"])
  for entry in accessed {
    let category = try #require(entry["NSPrivacyAccessedAPIType"] as? String)
    let reasons = try #require(entry["NSPrivacyAccessedAPITypeReasons"] as? [String])
    #expect(!reasons.isEmpty, "\(category)")
    #expect(Set(reasons).isSubset(of: reasonsByCategory[category] ?? []), "\(category)")
  }
}
