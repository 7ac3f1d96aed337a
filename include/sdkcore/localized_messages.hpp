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
// The current language is the one the host sets with setMessageLanguage(), or else that of the
// environment: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty, read at the
// first lookup (and again after resetMessageLanguage()). It is taken afresh at every call. Only
// the language counts: a region, a code set and a modifier are ignored ("de_AT" and
// "de_DE.UTF-8@euro" use "de"); "C", "POSIX", a locale without a language code and one whose
// language part is no language code give "en".
//
// All functions are thread-safe and never throw but for std::bad_alloc; those that return a text
// always return one.
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

// Sets the language of the library's messages for the whole process, in place of the
// environment's: 'locale' is a language code or a locale name in POSIX or BCP 47 form ("de",
// "de_AT", "de-AT", "de_DE.UTF-8@euro"), of which only the language part counts, lower-cased; a
// three-letter code that has a two-letter one becomes that ("deu" gives "de"). "C", "POSIX" and a
// name without a language part ("_US") give "en". The empty text goes back to the environment, as
// resetMessageLanguage() does. Returns false and changes nothing when the language part is not
// two to eight ASCII letters. Validators made afterwards use the new language; those made before
// keep the messages they were built with. Lock-free; the last of concurrent calls wins.
SDKCORE_EXPORT bool setMessageLanguage(std::string_view locale);

// Drops the language set with setMessageLanguage(): the environment is read again at the next
// lookup. Lock-free.
SDKCORE_EXPORT void resetMessageLanguage() noexcept;

// Returns the current language code ("en", "de", ...), never empty.
SDKCORE_EXPORT std::string messageLanguage();

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
