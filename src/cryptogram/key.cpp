#include "sdkcore/key.hpp"

#include <array>

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

}  // namespace

std::string pemKeyContent(std::string_view text) {
  // Each pass works on the result of the one before. Line breaks and tabs go before the armour so
  // that an armour line is joined to the body when it is removed; spaces go last because the
  // armour itself contains spaces.
  static constexpr std::array<std::string_view, 8> kPieces = {
      "\n",
      "\r",
      "\t",
      "-----BEGIN PUBLIC KEY-----",
      "-----END PUBLIC KEY-----",
      "-----BEGIN CERTIFICATE-----",
      "-----END CERTIFICATE-----",
      " ",
  };
  std::string result(text);
  for (std::string_view piece : kPieces) removeAll(result, piece);
  return result;
}

}  // namespace sdkcore
