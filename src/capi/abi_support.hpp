#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <string>
#include <string_view>

#include "sdkcore/sdkcore.h"

// What every function of the C interface shares: the exception barrier, the reading of text
// arguments and the buffers handed to the caller.
namespace sdkcore::capi {

// Runs 'body', which returns a status, and turns every exception into a status: std::bad_alloc
// into SDKCORE_OUT_OF_MEMORY, anything else into SDKCORE_INTERNAL_ERROR. Nothing escapes.
template <typename Body>
int guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return SDKCORE_OUT_OF_MEMORY;
  } catch (...) {
    return SDKCORE_INTERNAL_ERROR;
  }
}

// True for a usable text argument: any pointer with length 0, or a non-NULL pointer.
constexpr bool isText(const void* data, std::size_t size) noexcept {
  return data != nullptr || size == 0;
}

// The text argument as a view; the empty view for NULL with length 0. Call isText() first.
inline std::string_view textOf(const char* data, std::size_t size) noexcept {
  return data == nullptr ? std::string_view() : std::string_view(data, size);
}

// Copies 'bytes' into a new buffer that the caller frees with sdkcore_free, followed by a NUL
// byte that 'size' does not count. Throws std::bad_alloc.
void* newBuffer(std::span<const std::uint8_t> bytes);

// Hands 'text' to the caller: a new buffer in *out and its length in *outSize (when not NULL).
// Throws std::bad_alloc.
void handOut(std::string_view text, char** out, std::size_t* outSize);

// Frees a buffer of newBuffer() after overwriting it. Accepts NULL.
void freeBuffer(void* buffer) noexcept;

// Stores 'value' through 'out' when it is not NULL.
template <typename T>
void setIfGiven(T* out, T value) noexcept {
  if (out != nullptr) *out = value;
}

// Lends a text that an object of the interface owns: *out points into it and *outSize (when not
// NULL) is its length; NULL and 0 for no text.
inline void lend(const std::string* text, const char** out, std::size_t* outSize) noexcept {
  *out = text != nullptr ? text->c_str() : nullptr;
  setIfGiven(outSize, text != nullptr ? text->size() : std::size_t{0});
}

}  // namespace sdkcore::capi
