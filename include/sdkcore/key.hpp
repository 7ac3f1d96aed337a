#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "sdkcore/export.h"

namespace sdkcore {

// A public key as the library receives it: its text (PEM or bare Base64), its algorithm name
// and an expiration that the library carries but never reads. Equal when all three fields are
// equal (texts compared case-sensitively); no hashing. Construction validates nothing and never
// fails. A plain value: copies may be used on any thread, but setExpiration() must not race with
// reads of the same object.
class SDKCORE_EXPORT Key {
 public:
  Key(std::string value, std::string protocol, std::int64_t expiration)
      : value_(std::move(value)), protocol_(std::move(protocol)), expiration_(expiration) {}

  const std::string& value() const noexcept { return value_; }
  const std::string& protocol() const noexcept { return protocol_; }
  std::int64_t expiration() const noexcept { return expiration_; }
  void setExpiration(std::int64_t expiration) noexcept { expiration_ = expiration; }

  friend bool operator==(const Key&, const Key&) = default;

 private:
  std::string value_;
  std::string protocol_;
  std::int64_t expiration_;
};

// Returns 'text' with line feeds, carriage returns, spaces, tabs and the PEM armour lines of
// public keys and certificates removed, leaving the Base64 body. Never fails.
SDKCORE_EXPORT std::string pemKeyContent(std::string_view text);

}  // namespace sdkcore
