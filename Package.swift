// swift-tools-version:6.0
// SDKCore for Swift. The package manager compiles the C++ library from its sources (src/, with
// the public headers in include/) as the target CSDKCore, and the Swift API SDKCore over its C
// interface (<sdkcore/sdkcore.h>). On Linux the library links the system's libcrypto for its
// built-in RSA; elsewhere it is built without OpenSSL and the RSA comes from a crypto provider
// (on Apple platforms, SecurityCryptoProvider over the Security framework).
import PackageDescription

// Every platform but Linux builds the library without OpenSSL.
let withoutOpenSSL: [Platform] = [
  .macOS, .macCatalyst, .iOS, .tvOS, .watchOS, .visionOS, .driverKit, .android, .windows, .wasi,
  .openbsd,
]

// The library's target lies at the root: all but its sources, its public headers and the package's
// own headers for it is left out, the build files among its sources too.
let excludedFromLibrary =
  [
    "CMakeLists.txt", "CMakePresets.json", "Makefile", "README.md", "Sources/CTokenCost",
    "Sources/Example", "Sources/SDKCore", "Sources/TokenCostBenchmark", "Tests", "benchmarks",
    "bindings", "cli", "cmake", "examples", "fuzz", "resources", "scripts", "size", "tests",
    "src/CMakeLists.txt", "src/sdkcore.map",
  ]
  + [
    "brand", "capi", "card", "cryptogram", "entry", "json", "l10n", "log", "regex", "text",
    "unicode", "validation",
  ].map { "src/\($0)/CMakeLists.txt" }

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
    // A token's cost from Swift against the same token from C, in one process:
    // `swift run -c release TokenCostBenchmark cli/demo_key/demo_public.pem`.
    .target(name: "CTokenCost", dependencies: ["CSDKCore"]),
    .executableTarget(name: "TokenCostBenchmark", dependencies: ["SDKCore", "CTokenCost"]),
  ],
  swiftLanguageModes: [.v6],
  cLanguageStandard: .c99,
  cxxLanguageStandard: .cxx20
)
