#include "log/logged_text.hpp"

namespace sdkcore {
namespace {

bool beginsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

std::string LoggedText::omittedNote() const {
  if (omitted == 0) return {};
  return " (+" + std::to_string(omitted) + (omitted == 1 ? " character)" : " characters)");
}

LoggedText cutForLog(std::string_view text, std::size_t limit) noexcept {
  // No text has more characters than bytes.
  if (text.size() <= limit) return {text, 0};
  std::size_t characters = 0;
  std::size_t cut = text.size();
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!beginsCharacter(text[at])) continue;
    if (characters == limit) cut = at;
    ++characters;
  }
  if (characters <= limit) return {text, 0};
  return {text.substr(0, cut), characters - limit};
}

}  // namespace sdkcore
