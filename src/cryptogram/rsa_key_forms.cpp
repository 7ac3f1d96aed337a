#include "rsa_key_forms.hpp"

#include <array>

#include "der_reader.hpp"

namespace sdkcore {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Der = std::vector<std::uint8_t>;

// AlgorithmIdentifier { rsaEncryption (1.2.840.113549.1.1.1), NULL }, complete with its tag.
constexpr std::array<std::uint8_t, 15> kRsaEncryptionAlgorithm = {
    0x30, 0x0D, 0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01, 0x05, 0x00};

// The tag and definite length of an element whose content has 'size' bytes.
void appendHeader(Der& out, std::uint8_t tag, std::size_t size) {
  out.push_back(tag);
  if (size < 0x80) {
    out.push_back(static_cast<std::uint8_t>(size));
    return;
  }
  std::size_t count = 0;
  for (std::size_t rest = size; rest != 0; rest >>= 8) ++count;
  out.push_back(static_cast<std::uint8_t>(0x80 | count));
  for (std::size_t i = count; i-- > 0;) out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
}

// A positive INTEGER: a zero byte goes first when the magnitude's top bit is set.
Der integer(Bytes magnitude) {
  const bool pad = !magnitude.empty() && (magnitude[0] & 0x80) != 0;
  Der out;
  appendHeader(out, DerReader::kInteger, magnitude.size() + (pad ? 1 : 0));
  if (pad) out.push_back(0);
  out.insert(out.end(), magnitude.begin(), magnitude.end());
  return out;
}

Der wrap(std::uint8_t tag, Bytes first, Bytes second) {
  Der out;
  out.reserve(first.size() + second.size() + 8);
  appendHeader(out, tag, first.size() + second.size());
  out.insert(out.end(), first.begin(), first.end());
  out.insert(out.end(), second.begin(), second.end());
  return out;
}

}  // namespace

Der encodeRsaPublicKey(Bytes modulus, Bytes exponent) {
  return wrap(DerReader::kSequence, integer(modulus), integer(exponent));
}

Der encodeRsaSubjectPublicKeyInfo(Bytes pkcs1) {
  static constexpr std::array<std::uint8_t, 1> kNoUnusedBits = {0};
  const Der bits = wrap(DerReader::kBitString, kNoUnusedBits, pkcs1);
  return wrap(DerReader::kSequence, kRsaEncryptionAlgorithm, bits);
}

}  // namespace sdkcore
