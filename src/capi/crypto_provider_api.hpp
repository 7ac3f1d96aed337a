#pragma once

#include <memory>

#include "sdkcore/crypto_provider.hpp"
#include "sdkcore/sdkcore.h"

namespace sdkcore::capi {

// A CryptoProvider that calls the functions of a C provider (copied); a status other than
// SDKCORE_OK is a failure. Throws std::bad_alloc.
std::shared_ptr<const CryptoProvider> cryptoProviderOf(const sdkcore_crypto_provider& provider);

}  // namespace sdkcore::capi
