#ifndef SDKCORE_VERSION_H_
#define SDKCORE_VERSION_H_

// The version of these headers. Generated from cmake/version.h.in and the project version in
// CMakeLists.txt (`make generated-sources`); do not edit.
// A host compares it with what the library reports at run time (sdkcore_version_number(),
// sdkcore_version(), SdkCore::getSDKVersion()) to detect headers and a library that disagree.

#define SDKCORE_VERSION_MAJOR 3
#define SDKCORE_VERSION_MINOR 0
#define SDKCORE_VERSION_PATCH 7
// "MAJOR.MINOR.PATCH".
#define SDKCORE_VERSION_STRING "3.0.7"
// MAJOR * 1000000 + MINOR * 1000 + PATCH: 3.0.7 is 3000007. Compares in version order.
#define SDKCORE_VERSION_NUMBER                                                    \
  (SDKCORE_VERSION_MAJOR * 1000000 + SDKCORE_VERSION_MINOR * 1000 + SDKCORE_VERSION_PATCH)

#endif  // SDKCORE_VERSION_H_
