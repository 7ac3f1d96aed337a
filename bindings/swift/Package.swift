// swift-tools-version:6.0
// SDKCore for Swift: the library's C interface (<sdkcore/sdkcore.h>) as a Swift API. The C
// library is found through pkg-config (sdkcore.pc), from an installed tree.
import PackageDescription

let package = Package(
  name: "SDKCore",
  products: [
    .library(name: "SDKCore", targets: ["SDKCore"])
  ],
  targets: [
    // The C interface as a Clang module.
    .systemLibrary(name: "CSDKCore", pkgConfig: "sdkcore"),
    .target(name: "SDKCore", dependencies: ["CSDKCore"]),
    .testTarget(name: "SDKCoreTests", dependencies: ["SDKCore"]),
    // The README's example, which the tests build and run.
    .executableTarget(name: "Example", dependencies: ["SDKCore"]),
    // A token's cost from Swift against the same token from C, in one process:
    // `swift run -c release TokenCostBenchmark`.
    .target(name: "CTokenCost", dependencies: ["CSDKCore"]),
    .executableTarget(name: "TokenCostBenchmark", dependencies: ["SDKCore", "CTokenCost"]),
  ],
  swiftLanguageModes: [.v6]
)
