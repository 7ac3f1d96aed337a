#include <gtest/gtest.h>

#include <string>

#include "sdkcore/sdk_core.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/version.h"

namespace sdkcore {
namespace {

// The one place the release number is written down besides the project's version.
TEST(SdkCoreVersion, IsTheRelease) { EXPECT_STREQ(SDKCORE_VERSION_STRING, "3.0.7"); }

TEST(SdkCoreVersion, LibraryAgreesWithTheHeader) {
  EXPECT_EQ(SdkCore::getSDKVersion(), SDKCORE_VERSION_STRING);
  EXPECT_STREQ(sdkcore_version(), SDKCORE_VERSION_STRING);
  EXPECT_EQ(sdkcore_version_number(), static_cast<std::uint32_t>(SDKCORE_VERSION_NUMBER));
}

TEST(SdkCoreVersion, PartsSpellTheText) {
  const std::string parts = std::to_string(SDKCORE_VERSION_MAJOR) + "." +
                            std::to_string(SDKCORE_VERSION_MINOR) + "." +
                            std::to_string(SDKCORE_VERSION_PATCH);
  EXPECT_EQ(parts, SDKCORE_VERSION_STRING);
  EXPECT_EQ(SDKCORE_VERSION_NUMBER,
            SDKCORE_VERSION_MAJOR * 1000000 + SDKCORE_VERSION_MINOR * 1000 + SDKCORE_VERSION_PATCH);
}

}  // namespace
}  // namespace sdkcore
