#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace sdkcore {

// The error thrown when reading the JSON form of a card model record fails.
class DecodingError : public std::runtime_error {
 public:
  enum class Kind { dataCorrupted, keyNotFound, typeMismatch, valueNotFound };

  DecodingError(Kind kind, std::string description, std::vector<std::string> codingPath);

  Kind kind() const noexcept { return kind_; }
  // A human-readable account of the failure, e.g. "Unknown type of card identifier".
  const std::string& description() const noexcept { return description_; }
  // The member names leading to the failing value, outermost first.
  const std::vector<std::string>& codingPath() const noexcept { return codingPath_; }

 private:
  Kind kind_;
  std::string description_;
  std::vector<std::string> codingPath_;
};

}  // namespace sdkcore
