#pragma once

#include <openssl/bio.h>
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <string_view>

#include "cryptogram/openssl_handles.hpp"

// The library's OpenSSL handles plus the few that only the tests need (PEM text, certificates).
namespace sdkcore::testing {

using openssl::BignumPtr;
using openssl::PkeyCtxPtr;
using openssl::PkeyPtr;
using BioPtr = std::unique_ptr<BIO, openssl::Deleter<BIO_free>>;
using X509Ptr = std::unique_ptr<X509, openssl::Deleter<X509_free>>;

// Returns everything written to the memory BIO 'bio'.
inline std::string bioText(BIO* bio) {
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio, &data);
  return std::string(data, static_cast<std::size_t>(size));
}

// Returns a read-only memory BIO over 'text' (which must outlive it).
inline BioPtr readBio(std::string_view text) {
  return BioPtr(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())));
}

}  // namespace sdkcore::testing
