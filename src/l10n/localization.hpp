#pragma once

// Internals of the localized messages: where the library's bundle and the host's string tables
// are looked for, and the lookups themselves with explicit directories so they can be tested.
//
// Library bundle. It is located once per process. The candidate directories, in order (each gets
// "SDKCore_SDKCore.bundle" appended; the first existing directory that holds a string table
// wins):
//   1. the host's resource directory: <exe dir>/../share/<exe name> (a program installed as
//      /opt/shop/bin/shop keeps its resources in /opt/shop/share/shop);
//   2. the directory that holds the library's code (the shared library, or the executable when
//      linked statically, as dladdr reports it), then the install location relative to it:
//      <code dir>/../share/sdkcore for a library in <prefix>/lib, likewise from <prefix>/bin;
//   3. the host's main bundle: the directory of the running executable (/proc/self/exe, or dyld's
//      _NSGetExecutablePath() on Apple platforms).
// When none exists, the string tables compiled into the library serve, so the library always has
// its texts.
//
// Host string tables. The host's main bundle is the directory of the running executable; a host
// replaces any message by putting <exe dir>/<language>.lproj/Localizable.json beside its program
// (a flat JSON object key -> text). The language is the current one when that directory exists,
// otherwise "en". The file is read at every lookup, so a host may change it at any time.
//
// Current language: the one the host set with setMessageLanguage(), or else the language of the
// first of LC_ALL, LC_MESSAGES and LANG that is not empty, read on the first lookup after start or
// after resetMessageLanguage(). Only the language part of a locale name counts ("de_DE.UTF-8@euro"
// gives "de"); "C", "POSIX", a name without a language and a name whose language part is no
// language code give "en".

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sdkcore/resource_bundle.hpp"

namespace sdkcore {

// Where the running program and the library's code are.
struct ProcessLocation {
  std::optional<std::filesystem::path> executable;
  std::optional<std::filesystem::path> libraryCode;
};

// The locations of this process; either may be absent when the system does not tell.
ProcessLocation currentProcessLocation();

// The directories to look in for "SDKCore_SDKCore.bundle", in order, without repeats.
std::vector<std::filesystem::path> bundleCandidates(const ProcessLocation& location);

// The bundle in the first candidate that holds a "SDKCore_SDKCore.bundle" directory with at least
// one string table, else the compiled-in tables. Never throws but for std::bad_alloc.
ResourceBundle locateBundle(const std::vector<std::filesystem::path>& candidates);

// The current language code ("en", "de", ...), never empty. Thread-safe and lock-free.
std::string currentLanguage();

// The language code of a locale name in POSIX or BCP 47 form: the part before the first '_' or
// '-', with any code set ('.') and modifier ('@') cut off, lower-cased, a three-letter code that
// has a two-letter one replaced by it ("deu" gives "de"). "C", "POSIX", "und", "root" and a name
// without a language part ("_US", "") give "en". nullopt when the part is not two to eight ASCII
// letters.
std::optional<std::string> languageOfLocaleName(std::string_view name);

// The host's text for 'key' from the tables of the main bundle directory 'mainBundle' in
// 'language' (or "en" when that language has no directory); nullopt when there is none.
std::optional<std::string> hostText(const std::filesystem::path& mainBundle,
                                    std::string_view language, std::string_view key);

// Fills "{domain}" and "{code}" in 'format' (one pass: inserted texts are not searched again).
std::string formatErrorDescription(std::string_view format, std::string_view domain, int code);

// The localized description of an error with 'domain' and 'code', from the library's bundle in
// the current language ("<domain> (error <code>)" in English).
std::string localizedErrorDescription(std::string_view domain, int code);

}  // namespace sdkcore
