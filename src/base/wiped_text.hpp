#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Card data that the library copies are overwritten before their memory goes back to the heap,
// so that a later allocation or a memory dump cannot reveal them. Everything here is for texts
// that hold, or may hold, card numbers, security codes, expiry dates, holder names or binding
// ids. None of it is thread-safe for a text that another thread uses at the same time.
namespace sdkcore {

// Overwrites 'size' bytes at 'data' with zeros, in a way that the compiler cannot drop as a store
// to memory about to be freed: memset is called through a volatile pointer, which it cannot
// see through. As fast as memset itself (OPENSSL_cleanse, which does the same, writes a byte at
// a time and costs several times as much for the texts of a log message).
inline void wipeBytes(void* data, std::size_t size) noexcept {
  static void* (*const volatile clear)(void*, int, std::size_t) = std::memset;
  clear(data, 0, size);
}

// Overwrites every byte that 'text' owns, up to its capacity (the inline buffer of a short text
// included), and leaves it empty with its capacity unchanged.
inline void wipe(std::string& text) noexcept {
  // Growing to the capacity never reallocates; it makes the whole buffer writable.
  text.resize(text.capacity());
  wipeBytes(text.data(), text.size());
  text.clear();
}

// As above, for a text that may be absent.
inline void wipe(std::optional<std::string>& text) noexcept {
  if (text) wipe(*text);
}

// Wipes every text of 'texts' (the characters of a card number, say).
inline void wipe(std::vector<std::string>& texts) noexcept {
  for (std::string& text : texts) wipe(text);
}

// Overwrites the bytes of 'bytes' (a decoded binding id, say).
inline void wipe(std::vector<std::uint8_t>& bytes) noexcept {
  wipeBytes(bytes.data(), bytes.capacity());
}

// Overwrites the bytes that 'bytes' views (a buffer of the caller's, say an encryption block).
inline void wipe(std::span<std::uint8_t> bytes) noexcept { wipeBytes(bytes.data(), bytes.size()); }

// An allocator that overwrites every block before freeing it, also the blocks a growing
// container leaves behind; for containers of card data in any form. Stateless.
template <typename T>
struct WipingAllocator {
  using value_type = T;

  WipingAllocator() = default;
  template <typename U>
  explicit WipingAllocator(const WipingAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) { return std::allocator<T>().allocate(count); }
  void deallocate(T* block, std::size_t count) noexcept {
    wipeBytes(block, count * sizeof(T));
    std::allocator<T>().deallocate(block, count);
  }
  friend bool operator==(const WipingAllocator&, const WipingAllocator&) noexcept = default;
};

// Wipes each of 'texts'.
template <typename... Texts>
void wipeAll(Texts&... texts) noexcept {
  (wipe(texts), ...);
}

// Joins 'parts' into one text allocated once at its final size. Building it by appending would
// leave copies of its beginning in the buffers that each growth frees.
inline std::string joinOnce(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string joined;
  joined.reserve(size);
  for (const std::string_view part : parts) joined += part;
  return joined;
}

// Wipes a text (a std::string, an optional one, bytes or a list of texts) when the scope ends, on
// every way out.
template <typename Text>
class WipeOnExit {
 public:
  explicit WipeOnExit(Text& text) noexcept : text_(text) {}
  ~WipeOnExit() { wipe(text_); }
  WipeOnExit(const WipeOnExit&) = delete;
  WipeOnExit& operator=(const WipeOnExit&) = delete;

 private:
  Text& text_;
};

// A text whose every buffer is overwritten before it goes back to the heap: the old buffer when
// it grows, the bytes it gives up when it shrinks, everything when it is replaced or destroyed.
// Its bytes live on the heap only, never inside the object (a std::string keeps a short text, a
// security code say, in the object itself, where no allocator sees it), so a move leaves no copy
// behind either. The one type for card data that the library holds as text. Not copyable;
// a moved-from text is empty.
class WipedText {
 public:
  WipedText() = default;
  explicit WipedText(std::string_view text) { append(text); }
  // Copies 'text' and wipes the original, which a std::string cannot hand over without a copy.
  explicit WipedText(std::string&& text) : WipedText(std::string_view(text)) { wipe(text); }
  WipedText(WipedText&&) noexcept = default;
  WipedText& operator=(WipedText&& other) noexcept {
    clear();
    bytes_ = std::move(other.bytes_);
    return *this;
  }
  WipedText(const WipedText&) = delete;
  WipedText& operator=(const WipedText&) = delete;
  ~WipedText() { clear(); }

  // Replaces the text; the old bytes are overwritten first.
  void assign(std::string_view text) {
    clear();
    append(text);
  }
  void append(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
  void push_back(char c) { bytes_.push_back(c); }
  void reserve(std::size_t size) { bytes_.reserve(size); }
  // Overwrites what a shorter size gives up; a longer one appends zero bytes.
  void resize(std::size_t size) {
    if (size < bytes_.size()) wipeBytes(bytes_.data() + size, bytes_.size() - size);
    bytes_.resize(size);
  }
  // Overwrites the text and leaves it empty, with its buffer kept for reuse.
  void clear() noexcept {
    wipeBytes(bytes_.data(), bytes_.size());
    bytes_.clear();
  }

  std::string_view text() const noexcept { return {bytes_.data(), bytes_.size()}; }
  char* data() noexcept { return bytes_.data(); }
  std::size_t size() const noexcept { return bytes_.size(); }
  bool empty() const noexcept { return bytes_.empty(); }

 private:
  std::vector<char, WipingAllocator<char>> bytes_;
};

}  // namespace sdkcore
