#pragma once

#include <new>
#include <utility>

namespace sdkcore {

// Storage for a process-wide object whose destructor never runs. Sinks may log, and hosts may
// call in, from other static destructors or from threads still running at exit, so such objects
// must outlive them all. Construct it as a function-local static, which C++ initialises once and
// thread-safely.
template <typename T>
class NoDestructor {
 public:
  template <typename... Args>
  explicit NoDestructor(Args&&... args) {
    new (storage_) T(std::forward<Args>(args)...);
  }
  NoDestructor(const NoDestructor&) = delete;
  NoDestructor& operator=(const NoDestructor&) = delete;
  T& get() noexcept { return *std::launder(reinterpret_cast<T*>(storage_)); }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace sdkcore
