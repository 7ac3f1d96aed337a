#pragma once

#include <openssl/crypto.h>

#include <string>
#include <string_view>

namespace sdkcore::capi {

// A text that may hold card data: its bytes are overwritten when it is replaced or destroyed, so
// no freed buffer keeps them. Not thread-safe while it is being assigned.
class WipedText {
 public:
  explicit WipedText(std::string_view text) : text_(text) {}
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
