#include <gtest/gtest.h>

#include "sdkcore/sdk_core.hpp"

namespace sdkcore {
namespace {

TEST(SdkCoreVersion, IsAvailableWithoutAnInstance) { EXPECT_EQ(SdkCore::getSDKVersion(), "3.0.7"); }

}  // namespace
}  // namespace sdkcore
