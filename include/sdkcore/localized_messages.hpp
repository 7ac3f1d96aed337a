#pragma once

#include <string>
#include <string_view>

#include "sdkcore/export.h"
#include "sdkcore/resource_bundle.hpp"

// The library's message texts, in two stages that let a host application replace any message:
//
//  - The thirteen accessors return the host application's text for their key, or the key itself.
//    The host's texts live in its "main bundle", the directory of the running executable, as
//    <exe dir>/<language>.lproj/Localizable.json (a flat JSON object key -> text). The language
//    is the current one when that directory exists, otherwise "en". The file is read at every
//    call.
//  - localized() looks a text up in the library's own bundle for the current language and
//    returns the text itself when there is no entry, and for every key when the bundle has no
//    table for the language (there is no fallback to another language).
//
// A validator's message for key K is localized(accessor()): the library's text for K unless the
// host has its own text, which then comes through unchanged.
//
// The current language is the language code of ICU's default locale (from LC_ALL, LC_MESSAGES or
// LANG, or whatever the host sets with icu::Locale::setDefault), read afresh at every call; a
// region is ignored ("de_AT" uses "de"), "C" and "POSIX" give "en", and so does a locale without
// a language code.
//
// All functions are thread-safe, never throw but for std::bad_alloc, and always return a text.
namespace sdkcore {

// The library's resource bundle, located once on first use, from any thread. It is the first
// "SDKCore_SDKCore.bundle" directory found in, in order: the host's resource directory
// (<exe dir>/../share/<exe name>); the directory holding the library's code (the shared library,
// or the executable when linked statically) and the install location relative to it
// (<prefix>/share/sdkcore beside <prefix>/lib or <prefix>/bin); the executable's directory. When
// there is none, the copy of the library's string tables compiled into it serves.
SDKCORE_EXPORT const ResourceBundle& sdkCoreBundle();

// Returns the current language's text for 'key' in sdkCoreBundle(), or 'key' itself.
SDKCORE_EXPORT std::string localized(std::string_view key);

// Each returns the host's text for its key, or the key: "vorlix_card_incorrect_cvc",
// "vorlix_card_incorrect_length", "vorlix_card_incorrect_number", "vorlix_card_incorrect_expiry",
// "vorlix_card_incorrect_card_holder", "vorlix_order_incorrect_length",
// "vorlix_binding_incorrect_length", "vorlix_pub_key_required", "vorlix_binding_required",
// "vorlix_binding_incorrect", "vorlix_field_required" (for requiredField()),
// "vorlix_email_incorrect", "vorlix_phone_number_incorrect".
SDKCORE_EXPORT std::string cardIncorrectCVC();
SDKCORE_EXPORT std::string cardIncorrectLength();
SDKCORE_EXPORT std::string cardIncorrectNumber();
SDKCORE_EXPORT std::string cardIncorrectExpiry();
SDKCORE_EXPORT std::string cardIncorrectCardHolder();
SDKCORE_EXPORT std::string orderIncorrectLength();
SDKCORE_EXPORT std::string bindingIncorrectLength();
SDKCORE_EXPORT std::string pubKeyRequired();
SDKCORE_EXPORT std::string bindingRequired();
SDKCORE_EXPORT std::string bindingIncorrect();
SDKCORE_EXPORT std::string requiredField();
SDKCORE_EXPORT std::string emailIncorrect();
SDKCORE_EXPORT std::string phoneNumberIncorrect();

}  // namespace sdkcore
