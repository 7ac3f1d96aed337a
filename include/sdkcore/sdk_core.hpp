#pragma once

#include <memory>
#include <string>

#include "sdkcore/sdk_core_config.hpp"
#include "sdkcore/token_result.hpp"

namespace sdkcore {

class SdkCoreMembers;

// The library's entry point: turns a request into an encrypted payment token.
//
// Thread safety: one instance may serve calls from several threads at once; distinct
// instances share only the process-wide `Logger`.
class SdkCore {
 public:
  SdkCore();
  virtual ~SdkCore();
  SdkCore(const SdkCore&) = delete;
  SdkCore& operator=(const SdkCore&) = delete;

  // Validates the request's fields, builds the payment string, encrypts it with the request's
  // RSA public key and returns the Base64 token. Never throws: every failure is a result with no
  // token and exactly one error entry.
  virtual TokenResult generateWithConfig(const SDKCoreConfig& config) noexcept;

  // Returns the library version, "3.0.7".
  static std::string getSDKVersion();

 private:
  std::unique_ptr<SdkCoreMembers> members_;
};

}  // namespace sdkcore
