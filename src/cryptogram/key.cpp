#include "sdkcore/key.hpp"

#include <array>

#include "pem_armour.hpp"

namespace sdkcore {
namespace {

void removeAll(std::string& text, std::string_view piece) {
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found = text.find(piece); found != std::string::npos;
       found = text.find(piece, start)) {
    result.append(text, start, found - start);
    start = found + piece.size();
  }
  result.append(text, start, std::string::npos);
  text = std::move(result);
}

template <std::size_t N>
std::string withoutPieces(std::string text, const std::array<std::string_view, N>& pieces) {
  for (std::string_view piece : pieces) removeAll(text, piece);
  return text;
}

// Line breaks and tabs go before the armour so that an armour line is joined to the body when it
// is removed; spaces go last because the armour itself contains spaces.
constexpr std::array<std::string_view, 3> kLineBreaksAndTabs = {"\n", "\r", "\t"};
constexpr std::string_view kPkcs1Begin = "-----BEGIN RSA PUBLIC KEY-----";
constexpr std::string_view kPkcs1End = "-----END RSA PUBLIC KEY-----";

}  // namespace

std::optional<std::string> pkcs1PemContent(std::string_view text) {
  std::string joined = withoutPieces(std::string(text), kLineBreaksAndTabs);
  if (joined.find(kPkcs1Begin) == std::string::npos) return std::nullopt;
  return withoutPieces(std::move(joined),
                       std::array{kPkcs1Begin, kPkcs1End, std::string_view(" ")});
}

std::string pemKeyContent(std::string_view text) {
  // Each pass works on the result of the one before.
  static constexpr std::array<std::string_view, 5> kArmourAndSpaces = {
      "-----BEGIN PUBLIC KEY-----",
      "-----END PUBLIC KEY-----",
      "-----BEGIN CERTIFICATE-----",
      "-----END CERTIFICATE-----",
      " ",
  };
  return withoutPieces(withoutPieces(std::string(text), kLineBreaksAndTabs), kArmourAndSpaces);
}

}  // namespace sdkcore
