#include "sdkcore/decoding_error.hpp"

#include <utility>

namespace sdkcore {

DecodingError::DecodingError(Kind kind, std::string description,
                             std::vector<std::string> codingPath)
    : std::runtime_error(description),
      kind_(kind),
      description_(std::move(description)),
      codingPath_(std::move(codingPath)) {}

std::string_view kindName(DecodingError::Kind kind) noexcept {
  switch (kind) {
    case DecodingError::Kind::dataCorrupted:
      return "dataCorrupted";
    case DecodingError::Kind::keyNotFound:
      return "keyNotFound";
    case DecodingError::Kind::typeMismatch:
      return "typeMismatch";
    case DecodingError::Kind::valueNotFound:
      return "valueNotFound";
  }
  return "dataCorrupted";  // unreachable for valid enumerators
}

}  // namespace sdkcore
