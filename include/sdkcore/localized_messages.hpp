#pragma once

#include <string>
#include <string_view>

#include "sdkcore/resource_bundle.hpp"

// The library's message texts. Each accessor returns the host application's text for its key
// (from the host's string tables beside the executable), or the key itself; localized() then
// looks a text up in the library's own bundle for the current language (ICU's default locale,
// read at every call). All are thread-safe.
namespace sdkcore {

// The library's resource bundle, located once on first use.
const ResourceBundle& sdkCoreBundle();

// Returns the current language's text for 'key' in sdkCoreBundle(), or 'key' itself.
std::string localized(std::string_view key);

std::string cardIncorrectCVC();
std::string cardIncorrectLength();
std::string cardIncorrectNumber();
std::string cardIncorrectExpiry();
std::string cardIncorrectCardHolder();
std::string orderIncorrectLength();
std::string bindingIncorrectLength();
std::string pubKeyRequired();
std::string bindingRequired();
std::string bindingIncorrect();
std::string requiredField();
std::string emailIncorrect();
std::string phoneNumberIncorrect();

}  // namespace sdkcore
