#include "capi/abi_support.hpp"

#include <cstdlib>
#include <cstring>

#include "base/wiped_text.hpp"

namespace sdkcore::capi {
namespace {

// Each buffer is preceded by a header that records its size, so that sdkcore_free can overwrite
// all of it: buffers may hold card data, such as a decoded binding id.
struct alignas(std::max_align_t) BufferHeader {
  std::size_t size;
};

}  // namespace

void* newBuffer(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size() + 1;  // the NUL byte
  if (size > SIZE_MAX - sizeof(BufferHeader)) throw std::bad_alloc();
  void* block = std::malloc(sizeof(BufferHeader) + size);
  if (block == nullptr) throw std::bad_alloc();
  static_cast<BufferHeader*>(block)->size = size;
  auto* data = static_cast<unsigned char*>(block) + sizeof(BufferHeader);
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  data[bytes.size()] = 0;
  return data;
}

void handOut(std::string_view text, char** out, std::size_t* outSize) {
  *out = static_cast<char*>(newBuffer(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
  setIfGiven(outSize, text.size());
}

void freeBuffer(void* buffer) noexcept {
  if (buffer == nullptr) return;
  auto* header =
      reinterpret_cast<BufferHeader*>(static_cast<unsigned char*>(buffer) - sizeof(BufferHeader));
  wipeBytes(buffer, header->size);
  std::free(header);
}

}  // namespace sdkcore::capi
