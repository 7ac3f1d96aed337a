#pragma once

#include <openssl/crypto.h>

#include <string>
#include <string_view>
#include <utility>

namespace sdkcore::capi {

// A text that may hold card data: its bytes are overwritten when it is replaced or destroyed, so
// no freed buffer keeps them. Not thread-safe while it is being assigned.
class WipedText {
 public:
  explicit WipedText(std::string_view text) : text_(text) {}
  // Takes over 'text' without copying it. A short text, which a move copies, is overwritten in
  // 'text' as well.
  explicit WipedText(std::string&& text) : text_(std::move(text)) {
    text.resize(text.capacity());
    OPENSSL_cleanse(text.data(), text.size());
  }
  ~WipedText() { wipe(); }
  WipedText(const WipedText&) = delete;
  WipedText& operator=(const WipedText&) = delete;

  // Replaces the text; the old bytes are overwritten first.
  void assign(std::string_view text) {
    wipe();
    text_.assign(text);
  }
  const std::string& text() const noexcept { return text_; }

 private:
  void wipe() noexcept { OPENSSL_cleanse(text_.data(), text_.size()); }

  std::string text_;
};

}  // namespace sdkcore::capi
