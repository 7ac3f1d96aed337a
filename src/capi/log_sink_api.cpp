// The log sink functions of the C interface: host callbacks attached to the shared logger under
// numeric handles.

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "base/no_destructor.hpp"
#include "capi/abi_support.hpp"
#include "sdkcore/log_interface.hpp"
#include "sdkcore/logger.hpp"
#include "sdkcore/sdkcore.h"

namespace {

using sdkcore::capi::guarded;

// A sink that hands each event to a host callback. The error text is what() of the event's
// exception: for a ParamFieldError the field's case name, for any other error its description.
class CallbackSink final : public sdkcore::LogInterface {
 public:
  CallbackSink(sdkcore_log_callback callback, void* userData)
      : callback_(callback), userData_(userData) {}

  void log(const std::type_info&, const std::string& tag, const std::string& message,
           std::shared_ptr<const std::exception> exception) override {
    const char* error = exception ? exception->what() : nullptr;
    callback_(userData_, tag.c_str(), tag.size(), message.c_str(), message.size(), error,
              error != nullptr ? std::strlen(error) : 0);
  }

 private:
  sdkcore_log_callback callback_;
  void* userData_;
};

// The attached callback sinks by handle. Its lock is never held while the logger is called, so
// a callback may add or remove sinks.
class SinkRegistry {
 public:
  static SinkRegistry& shared() {
    static sdkcore::NoDestructor<SinkRegistry> registry;
    return registry.get();
  }

  std::uint64_t add(std::shared_ptr<CallbackSink> sink) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::uint64_t handle = nextHandle_++;
    sinks_.emplace(handle, std::move(sink));
    return handle;
  }

  // Removes and returns the sink of 'handle', or null when there is none.
  std::shared_ptr<CallbackSink> take(std::uint64_t handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = sinks_.find(handle);
    if (found == sinks_.end()) return nullptr;
    std::shared_ptr<CallbackSink> sink = std::move(found->second);
    sinks_.erase(found);
    return sink;
  }

 private:
  std::mutex mutex_;
  std::uint64_t nextHandle_ = 1;
  std::map<std::uint64_t, std::shared_ptr<CallbackSink>> sinks_;
};

}  // namespace

extern "C" {

int sdkcore_add_log_sink(sdkcore_log_callback callback, void* user_data, uint64_t* out_handle) {
  return guarded([&] {
    if (out_handle == nullptr) return SDKCORE_INVALID_ARGUMENT;
    *out_handle = 0;
    if (callback == nullptr) return SDKCORE_INVALID_ARGUMENT;
    auto sink = std::make_shared<CallbackSink>(callback, user_data);
    const std::uint64_t handle = SinkRegistry::shared().add(sink);
    try {
      sdkcore::Logger::shared().addLogInterface(sink);
    } catch (...) {
      SinkRegistry::shared().take(handle);
      throw;
    }
    *out_handle = handle;
    return SDKCORE_OK;
  });
}

int sdkcore_remove_log_sink(uint64_t handle) {
  return guarded([&] {
    const std::shared_ptr<CallbackSink> sink = SinkRegistry::shared().take(handle);
    if (!sink) return SDKCORE_UNKNOWN_NAME;
    sdkcore::Logger::shared().removeLogInterface(sink);
    return SDKCORE_OK;
  });
}

}  // extern "C"
