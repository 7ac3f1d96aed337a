#include "log/event_log.hpp"

#include <array>
#include <cstddef>

#include "base/no_destructor.hpp"

namespace sdkcore {
namespace {

constexpr std::size_t kFields = static_cast<std::size_t>(ParamField::MD_ORDER) + 1;
using FieldErrors = std::array<std::shared_ptr<const std::exception>, kFields>;

FieldErrors makeFieldErrors() {
  FieldErrors made;
  for (std::size_t i = 0; i < kFields; ++i) {
    made[i] = std::make_shared<const ParamFieldError>(static_cast<ParamField>(i));
  }
  return made;
}

}  // namespace

std::shared_ptr<const std::exception> EventLog::fieldError(ParamField field) {
  // Never destroyed: events may be logged from static destructors.
  static NoDestructor<FieldErrors> errors(makeFieldErrors());
  return errors.get()[static_cast<std::size_t>(field)];
}

}  // namespace sdkcore
