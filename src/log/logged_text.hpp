#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sdkcore {

// How much of a field's text a log event shows: a text of any size (a host may pass megabytes)
// makes a message of bounded size.
inline constexpr std::size_t kMaxLoggedCharacters = 256;
// The merchant's key, public and the same in every request, is cut only far beyond any real key
// or certificate text.
inline constexpr std::size_t kMaxLoggedKeyCharacters = 16 * 1024;

// The part of a text that a log event shows, and the number of characters left out.
struct LoggedText {
  std::string_view shown;
  std::size_t omitted = 0;

  // What the event writes after the shown part: "" or " (+N characters)".
  std::string omittedNote() const;
};

// 'text' cut after 'limit' characters (UTF-8 sequences; a byte that begins none counts as one).
// Cut after masking, so that no digit shown is one that masking the whole text would hide.
// Never fails.
LoggedText cutForLog(std::string_view text, std::size_t limit) noexcept;

}  // namespace sdkcore
