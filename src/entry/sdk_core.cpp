#include "sdkcore/sdk_core.hpp"

namespace sdkcore {

std::string SdkCore::getSDKVersion() { return "3.0.7"; }

}  // namespace sdkcore
