#pragma once

#include <memory>
#include <string>

#include "sdkcore/crypto_provider.hpp"
#include "sdkcore/export.h"
#include "sdkcore/sdk_core_config.hpp"
#include "sdkcore/token_result.hpp"

namespace sdkcore {

class SdkCoreMembers;

// The library's entry point: turns a request into an encrypted payment token.
//
// An instance owns its payment-string processor, its RSA cipher and the seven field validators,
// all made by the constructor and immutable afterwards; no call leaves state behind. The RSA
// encryption and the random bytes come from the crypto provider given at construction, or from
// the built-in one (OpenSSL). A library built without OpenSSL has no built-in RSA: a core made
// there without a provider answers every request that reaches the encryption with UNKNOWN
// "unknown" and logs why.
//
// Logging: each call reports to `Logger::shared()` with this object's run-time type and
// `Logger::TAG`. Card numbers appear in log messages with only their first 6 and last 4
// characters from 16 characters on, their last 4 from 8 to 15 characters and fully masked when
// shorter; security codes are fully masked. In every other field (the time stamp included), a run
// of 12 or more digits is masked the same way, where up to three characters that are neither
// letters nor digits (spaces, punctuation, line breaks) may stand between its digits; a card
// number split across two fields is not recognised. Nothing else of the card data is hidden.
// A field shows at most 256 characters (the key 16384), followed by the count of the rest. With
// no sink attached no message is built at all, and nothing a sink does changes a result.
//
// Time zone: the payment string's date is the local time and UTC offset of the time stamp in the
// process's zone as the C library holds it (TZ, including POSIX rule strings, or the system
// zone, with the system's zone rules). The zone is process-wide; the constructor re-reads it
// with tzset().
//
// Thread safety: one instance may serve calls from several threads at once; distinct
// instances share only the process-wide `Logger` and the C library's zone.
class SDKCORE_EXPORT SdkCore {
 public:
  // Builds the members and calls tzset(), so a TZ set before construction takes effect. Throws
  // only on resource exhaustion.
  SdkCore();
  // As SdkCore(), with the host's crypto provider for the RSA encryption and the random bytes;
  // null gives the built-in one. The core shares ownership of the provider and calls it from
  // every thread that asks for a token (see CryptoProvider). Throws only on resource exhaustion.
  explicit SdkCore(std::shared_ptr<const CryptoProvider> provider);
  virtual ~SdkCore();
  SdkCore(const SdkCore&) = delete;
  SdkCore& operator=(const SdkCore&) = delete;

  // Validates the request's fields, builds the payment string, encrypts it with the request's
  // RSA public key and returns the Base64 token. Never throws: every failure is a result with no
  // token and exactly one error entry:
  // - the first field that fails its check, mapped to the rule's code ("required", "invalid",
  //   "invalid-format");
  // - UNKNOWN mapped to the error's localized description when an expiry that passed its check
  //   cannot be read as "MM/YY";
  // - UNKNOWN mapped to "timestamp is not a finite number of seconds in range" when the time
  //   stamp is NaN, infinite, its whole part lies outside the signed 64-bit range, or its local
  //   date lies beyond what the C library can represent (years past about +-2^31);
  // - UNKNOWN mapped to "random generator failed to supply bytes" or "crypto provider failed to
  //   supply random bytes" when the random source fails, or a provider's answers cannot be
  //   random (see CryptoProvider; the UUID is never made);
  // - PUB_KEY mapped to "invalid" when no RSA public key can be made from the key text;
  // - UNKNOWN mapped to "unknown" for any other encryption failure (such as a payment string
  //   too long for the key, a provider that fails, throws or answers what cannot be a cipher
  //   text of the payment string (see CryptoProvider), or no RSA encryption at hand);
  // - UNKNOWN mapped to the exception's description for anything unexpected.
  virtual TokenResult generateWithConfig(const SDKCoreConfig& config) noexcept;

  // Returns the library version, "3.0.7". Needs no instance; never throws.
  static std::string getSDKVersion();

 private:
  std::unique_ptr<SdkCoreMembers> members_;
};

}  // namespace sdkcore
