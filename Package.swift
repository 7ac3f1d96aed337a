// swift-tools-version:6.0
// SDKCore for Swift. The package manager compiles the C++ library from its sources (src/, with
// the public headers in include/) as the target CSDKCore, and the Swift API SDKCore over its C
// interface (<sdkcore/sdkcore.h>). On Linux the library links the system's libcrypto for its
// built-in RSA; elsewhere it is built without OpenSSL and the RSA comes from a crypto provider
// (on Apple platforms, SecurityCryptoProvider over the Security framework).
import Foundation
import PackageDescription

// Every platform but Linux builds the library without OpenSSL.
let withoutOpenSSL: [Platform] = [
  .macOS, .macCatalyst, .iOS, .tvOS, .watchOS, .visionOS, .driverKit, .android, .windows, .wasi,
  .openbsd,
]

// The library's target lies at the root, the one directory that holds both src/ and include/.
// It takes src/, include/ and its json header names in Sources/CSDKCore; every other entry of the
// root is left out, whatever it is (CMake's build folders too), and so are the build files among
// the sources.
func entries(_ path: String) -> [String] {
  let directory = Context.packageDirectory + "/" + path
  let names = (try? FileManager.default.contentsOfDirectory(atPath: directory)) ?? []
  return names.filter { !$0.hasPrefix(".") }.sorted().map { path == "." ? $0 : path + "/" + $0 }
}

// The files under `path` that are no C++ source or header.
func buildFiles(under path: String) -> [String] {
  entries(path).flatMap { entry -> [String] in
    var isDirectory: ObjCBool = false
    _ = FileManager.default.fileExists(
      atPath: Context.packageDirectory + "/" + entry, isDirectory: &isDirectory)
    if isDirectory.boolValue { return buildFiles(under: entry) }
    return [".cpp", ".hpp", ".h"].contains { entry.hasSuffix($0) } ? [] : [entry]
  }
}

let excludedFromLibrary =
  entries(".").filter { !["src", "include", "Sources"].contains($0) }
  + entries("Sources").filter { $0 != "Sources/CSDKCore" } + buildFiles(under: "src")

let package = Package(
  name: "SDKCore",
  platforms: [.iOS(.v16), .macOS(.v13)],
  products: [
    .library(name: "SDKCore", targets: ["SDKCore"])
  ],
  dependencies: [
    // nlohmann/json, the library's one third-party dependency (header-only).
    .package(url: "https://github.com/nlohmann/json", from: "3.11.2")
  ],
  targets: [
    // The C++ library. Its public headers are include/; the module map there exposes only the C
    // interface to Swift.
    .target(
      name: "CSDKCore",
      dependencies: [.product(name: "json", package: "json")],
      path: ".",
      exclude: excludedFromLibrary,
      sources: ["src"],
      publicHeadersPath: "include",
      cxxSettings: [
        .headerSearchPath("src"),
        // <nlohmann/json.hpp> and <nlohmann/json_fwd.hpp> for the json package's single headers.
        .headerSearchPath("Sources/CSDKCore/json"),
        .define("SDKCORE_WITH_OPENSSL", to: "1", .when(platforms: [.linux])),
        .define("OPENSSL_API_COMPAT", to: "30000", .when(platforms: [.linux])),
        .define("OPENSSL_NO_DEPRECATED", .when(platforms: [.linux])),
        .define("SDKCORE_WITH_OPENSSL", to: "0", .when(platforms: withoutOpenSSL)),
      ],
      linkerSettings: [.linkedLibrary("crypto", .when(platforms: [.linux]))]
    ),
    .target(
      name: "SDKCore",
      dependencies: ["CSDKCore"],
      resources: [.copy("PrivacyInfo.xcprivacy")]
    ),
    .testTarget(name: "SDKCoreTests", dependencies: ["SDKCore"]),
    // The README's example, which `make swift-test` builds and runs.
    .executableTarget(name: "Example", dependencies: ["SDKCore"]),
    // A token's cost from Swift against the same token from C, in one process (see the README):
    // `swift run -c release TokenCostBenchmark cli/demo_key/demo_public.pem`.
    .target(name: "CTokenCost", dependencies: ["CSDKCore"]),
    .executableTarget(name: "TokenCostBenchmark", dependencies: ["SDKCore", "CTokenCost"]),
  ],
  swiftLanguageModes: [.v6],
  cLanguageStandard: .c99,
  cxxLanguageStandard: .cxx20
)
