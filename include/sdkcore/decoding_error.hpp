#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sdkcore/export.h"

namespace sdkcore {

// The error thrown when reading the JSON form of a card model record (`ExpiryDate`,
// `CardIdentifier`, `CoreCardInfo`, `ZKITRegisteredFrom`) fails. what() is the description.
// Immutable: safe to share between threads.
class SDKCORE_EXPORT DecodingError : public std::runtime_error {
 public:
  enum class Kind {
    // The value is there and of the right type but unusable: an unknown raw text, no readable
    // card identifier member, a number that is no 64-bit integer.
    dataCorrupted,
    // A required member is missing; the description names it.
    keyNotFound,
    // A value has the wrong JSON type (including a record that is not an object).
    typeMismatch,
    // A required value is null.
    valueNotFound,
  };

  DecodingError(Kind kind, std::string description, std::vector<std::string> codingPath);

  Kind kind() const noexcept { return kind_; }
  // A human-readable account of the failure, e.g. "Unknown type of card identifier".
  const std::string& description() const noexcept { return description_; }
  // The member names leading to the failing value, outermost first. For keyNotFound it is the
  // path of the object that lacks the member.
  const std::vector<std::string>& codingPath() const noexcept { return codingPath_; }

 private:
  Kind kind_;
  std::string description_;
  std::vector<std::string> codingPath_;
};

// Returns the name of 'kind', such as "keyNotFound".
SDKCORE_EXPORT std::string_view kindName(DecodingError::Kind kind) noexcept;

}  // namespace sdkcore
