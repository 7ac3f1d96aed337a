#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>

namespace sdkcore {

// Thrown by DerReader when the bytes are not the DER that the caller expects.
class DerFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the elements of one level of a DER encoding (ITU-T X.690) in order. Accepts only
// low-number tags and definite, minimally encoded lengths; nothing outside the given bytes is
// read. The reader views the bytes it was given; it does not copy them. Not thread-safe.
class DerReader {
 public:
  static constexpr std::uint8_t kInteger = 0x02;
  static constexpr std::uint8_t kBitString = 0x03;
  static constexpr std::uint8_t kNull = 0x05;
  static constexpr std::uint8_t kObjectIdentifier = 0x06;
  static constexpr std::uint8_t kSequence = 0x30;

  explicit DerReader(std::span<const std::uint8_t> bytes) noexcept : rest_(bytes) {}

  // Returns the content of the next element, which must have 'tag'. Throws DerFormatError.
  std::span<const std::uint8_t> read(std::uint8_t tag);
  // Returns the content of the next element when it has 'tag', nullopt when the next element has
  // another tag or no element is left. Throws DerFormatError for a malformed element.
  std::optional<std::span<const std::uint8_t>> readOptional(std::uint8_t tag);
  // Returns the tag of the next element, nullopt when no element is left.
  std::optional<std::uint8_t> peekTag() const noexcept;
  // Throws DerFormatError unless every byte has been read.
  void expectEnd() const;

 private:
  struct Element {
    std::uint8_t tag;
    std::span<const std::uint8_t> content;
    std::size_t size;  // header and content
  };
  Element next() const;

  std::span<const std::uint8_t> rest_;
};

}  // namespace sdkcore
