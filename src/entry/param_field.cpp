#include "sdkcore/param_field.hpp"

namespace sdkcore {

std::string_view caseName(ParamField field) noexcept {
  switch (field) {
    case ParamField::UNKNOWN:
      return "UNKNOWN";
    case ParamField::PAN:
      return "PAN";
    case ParamField::CVC:
      return "CVC";
    case ParamField::EXPIRY:
      return "EXPIRY";
    case ParamField::CARDHOLDER:
      return "CARDHOLDER";
    case ParamField::PUB_KEY:
      return "PUB_KEY";
    case ParamField::STORED_PAYMENT_METHOD_ID:
      return "STORED_PAYMENT_METHOD_ID";
    case ParamField::BINDING_ID:
      return "BINDING_ID";
    case ParamField::MD_ORDER:
      return "MD_ORDER";
  }
  return "UNKNOWN";  // unreachable for valid enumerators
}

std::string debugString(std::optional<ParamField> field) {
  if (!field) return "nil";
  constexpr std::string_view kOpen = "Optional(SDKCore.ParamField.";
  const std::string_view name = caseName(*field);
  std::string out;
  out.reserve(kOpen.size() + name.size() + 1);
  out += kOpen;
  out += name;
  out += ')';
  return out;
}

const char* ParamFieldError::what() const noexcept {
  // caseName returns views of string literals, so data() is NUL-terminated.
  return caseName(field_).data();
}

}  // namespace sdkcore
