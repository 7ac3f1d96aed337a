#include "der_reader.hpp"

namespace sdkcore {
namespace {

constexpr std::uint8_t kHighTagNumber = 0x1F;
constexpr std::uint8_t kLongLength = 0x80;
constexpr std::size_t kMaxLengthOctets = 4;

}  // namespace

DerReader::Element DerReader::next() const {
  if (rest_.size() < 2) throw DerFormatError("truncated element");
  const std::uint8_t tag = rest_[0];
  if ((tag & kHighTagNumber) == kHighTagNumber) throw DerFormatError("high tag number");
  std::size_t length = rest_[1];
  std::size_t header = 2;
  if (length & kLongLength) {
    const std::size_t octets = length & ~std::size_t{kLongLength};
    // 0x80 is the indefinite length of BER; DER forbids it.
    if (octets == 0 || octets > kMaxLengthOctets) throw DerFormatError("bad length");
    if (rest_.size() < header + octets) throw DerFormatError("truncated length");
    if (rest_[header] == 0) throw DerFormatError("non-minimal length");
    length = 0;
    for (std::size_t i = 0; i < octets; ++i) length = (length << 8) | rest_[header + i];
    if (length < kLongLength) throw DerFormatError("non-minimal length");
    header += octets;
  }
  if (length > rest_.size() - header) throw DerFormatError("truncated content");
  return {tag, rest_.subspan(header, length), header + length};
}

std::span<const std::uint8_t> DerReader::read(std::uint8_t tag) {
  const Element element = next();
  if (element.tag != tag) throw DerFormatError("unexpected tag");
  rest_ = rest_.subspan(element.size);
  return element.content;
}

std::optional<std::span<const std::uint8_t>> DerReader::readOptional(std::uint8_t tag) {
  if (peekTag() != tag) return std::nullopt;
  return read(tag);
}

std::optional<std::uint8_t> DerReader::peekTag() const noexcept {
  if (rest_.empty()) return std::nullopt;
  return rest_[0];
}

void DerReader::expectEnd() const {
  if (!rest_.empty()) throw DerFormatError("trailing bytes");
}

}  // namespace sdkcore
