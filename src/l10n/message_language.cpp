#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "l10n/localization.hpp"
#include "sdkcore/localized_messages.hpp"

namespace sdkcore {
namespace {

constexpr std::string_view kDefaultLanguage = "en";

struct LanguageAlias {
  std::string_view threeLetters;
  std::string_view twoLetters;
};

// The ISO 639-2 (terminology) codes that have an ISO 639-1 code, with that code, sorted: a locale
// name may use either ("deu_DE"), while language directories are named by the shorter one. The
// withdrawn "bh" (Bihari) is left out.
constexpr LanguageAlias kThreeLetterCodes[] = {
    {"aar", "aa"}, {"abk", "ab"}, {"afr", "af"}, {"aka", "ak"}, {"amh", "am"}, {"ara", "ar"},
    {"arg", "an"}, {"asm", "as"}, {"ava", "av"}, {"ave", "ae"}, {"aym", "ay"}, {"aze", "az"},
    {"bak", "ba"}, {"bam", "bm"}, {"bel", "be"}, {"ben", "bn"}, {"bis", "bi"}, {"bod", "bo"},
    {"bos", "bs"}, {"bre", "br"}, {"bul", "bg"}, {"cat", "ca"}, {"ces", "cs"}, {"cha", "ch"},
    {"che", "ce"}, {"chu", "cu"}, {"chv", "cv"}, {"cor", "kw"}, {"cos", "co"}, {"cre", "cr"},
    {"cym", "cy"}, {"dan", "da"}, {"deu", "de"}, {"div", "dv"}, {"dzo", "dz"}, {"ell", "el"},
    {"eng", "en"}, {"epo", "eo"}, {"est", "et"}, {"eus", "eu"}, {"ewe", "ee"}, {"fao", "fo"},
    {"fas", "fa"}, {"fij", "fj"}, {"fin", "fi"}, {"fra", "fr"}, {"fry", "fy"}, {"ful", "ff"},
    {"gla", "gd"}, {"gle", "ga"}, {"glg", "gl"}, {"glv", "gv"}, {"grn", "gn"}, {"guj", "gu"},
    {"hat", "ht"}, {"hau", "ha"}, {"heb", "he"}, {"her", "hz"}, {"hin", "hi"}, {"hmo", "ho"},
    {"hrv", "hr"}, {"hun", "hu"}, {"hye", "hy"}, {"ibo", "ig"}, {"ido", "io"}, {"iii", "ii"},
    {"iku", "iu"}, {"ile", "ie"}, {"ina", "ia"}, {"ind", "id"}, {"ipk", "ik"}, {"isl", "is"},
    {"ita", "it"}, {"jav", "jv"}, {"jpn", "ja"}, {"kal", "kl"}, {"kan", "kn"}, {"kas", "ks"},
    {"kat", "ka"}, {"kau", "kr"}, {"kaz", "kk"}, {"khm", "km"}, {"kik", "ki"}, {"kin", "rw"},
    {"kir", "ky"}, {"kom", "kv"}, {"kon", "kg"}, {"kor", "ko"}, {"kua", "kj"}, {"kur", "ku"},
    {"lao", "lo"}, {"lat", "la"}, {"lav", "lv"}, {"lim", "li"}, {"lin", "ln"}, {"lit", "lt"},
    {"ltz", "lb"}, {"lub", "lu"}, {"lug", "lg"}, {"mah", "mh"}, {"mal", "ml"}, {"mar", "mr"},
    {"mkd", "mk"}, {"mlg", "mg"}, {"mlt", "mt"}, {"mon", "mn"}, {"mri", "mi"}, {"msa", "ms"},
    {"mya", "my"}, {"nau", "na"}, {"nav", "nv"}, {"nbl", "nr"}, {"nde", "nd"}, {"ndo", "ng"},
    {"nep", "ne"}, {"nld", "nl"}, {"nno", "nn"}, {"nob", "nb"}, {"nor", "no"}, {"nya", "ny"},
    {"oci", "oc"}, {"oji", "oj"}, {"ori", "or"}, {"orm", "om"}, {"oss", "os"}, {"pan", "pa"},
    {"pli", "pi"}, {"pol", "pl"}, {"por", "pt"}, {"pus", "ps"}, {"que", "qu"}, {"roh", "rm"},
    {"ron", "ro"}, {"run", "rn"}, {"rus", "ru"}, {"sag", "sg"}, {"san", "sa"}, {"sin", "si"},
    {"slk", "sk"}, {"slv", "sl"}, {"sme", "se"}, {"smo", "sm"}, {"sna", "sn"}, {"snd", "sd"},
    {"som", "so"}, {"sot", "st"}, {"spa", "es"}, {"sqi", "sq"}, {"srd", "sc"}, {"srp", "sr"},
    {"ssw", "ss"}, {"sun", "su"}, {"swa", "sw"}, {"swe", "sv"}, {"tah", "ty"}, {"tam", "ta"},
    {"tat", "tt"}, {"tel", "te"}, {"tgk", "tg"}, {"tgl", "tl"}, {"tha", "th"}, {"tir", "ti"},
    {"ton", "to"}, {"tsn", "tn"}, {"tso", "ts"}, {"tuk", "tk"}, {"tur", "tr"}, {"twi", "tw"},
    {"uig", "ug"}, {"ukr", "uk"}, {"urd", "ur"}, {"uzb", "uz"}, {"ven", "ve"}, {"vie", "vi"},
    {"vol", "vo"}, {"wln", "wa"}, {"wol", "wo"}, {"xho", "xh"}, {"yid", "yi"}, {"yor", "yo"},
    {"zha", "za"}, {"zho", "zh"}, {"zul", "zu"}};

std::string_view twoLetterCode(std::string_view threeLetters) noexcept {
  const auto* found = std::lower_bound(
      std::begin(kThreeLetterCodes), std::end(kThreeLetterCodes), threeLetters,
      [](const LanguageAlias& alias, std::string_view code) { return alias.threeLetters < code; });
  if (found == std::end(kThreeLetterCodes) || found->threeLetters != threeLetters) {
    return threeLetters;
  }
  return found->twoLetters;
}

bool isAsciiLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char asciiLower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The language in force, packed into one word so that reading and replacing it need no lock: up
// to eight ASCII letters, the first in the lowest byte, the rest zero. 0: not known yet, to be
// read from the environment at the next lookup.
using PackedLanguage = std::uint64_t;

std::atomic<PackedLanguage> packedLanguage{0};

PackedLanguage pack(std::string_view language) noexcept {
  PackedLanguage packed = 0;
  for (std::size_t i = 0; i < language.size() && i < sizeof(PackedLanguage); ++i) {
    packed |= PackedLanguage{static_cast<unsigned char>(language[i])} << (8 * i);
  }
  return packed;
}

std::string unpack(PackedLanguage packed) {
  std::string language;
  for (; packed != 0; packed >>= 8) language += static_cast<char>(packed & 0xFF);
  return language;
}

// The language of the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty (the order
// in which the C library reads them for messages); the default when none is, or when its
// language part is not a language code.
std::string environmentLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      return languageOfLocaleName(value).value_or(std::string(kDefaultLanguage));
    }
  }
  return std::string(kDefaultLanguage);
}

}  // namespace

std::optional<std::string> languageOfLocaleName(std::string_view name) {
  // The code set and the modifier ("de_DE.UTF-8@euro") say nothing about the language.
  name = name.substr(0, name.find_first_of(".@"));
  if (name == "C" || name == "POSIX") return std::string(kDefaultLanguage);
  const std::string_view part = name.substr(0, name.find_first_of("_-"));
  if (part.empty()) return std::string(kDefaultLanguage);  // a region alone: "_US"
  if (part.size() < 2 || part.size() > 8 || !std::all_of(part.begin(), part.end(), isAsciiLetter)) {
    return std::nullopt;
  }
  std::string language(part);
  std::transform(language.begin(), language.end(), language.begin(), asciiLower);
  if (language == "und" || language == "root") return std::string(kDefaultLanguage);
  return std::string(twoLetterCode(language));
}

std::string currentLanguage() {
  PackedLanguage packed = packedLanguage.load();
  if (packed == 0) {
    const PackedLanguage fromEnvironment = pack(environmentLanguage());
    // A language set meanwhile by another thread wins over this reading of the environment.
    if (packedLanguage.compare_exchange_strong(packed, fromEnvironment)) packed = fromEnvironment;
  }
  return unpack(packed);
}

bool setMessageLanguage(std::string_view locale) {
  if (locale.empty()) {
    resetMessageLanguage();
    return true;
  }
  const std::optional<std::string> language = languageOfLocaleName(locale);
  if (!language) return false;
  packedLanguage.store(pack(*language));
  return true;
}

void resetMessageLanguage() noexcept { packedLanguage.store(0); }

std::string messageLanguage() { return currentLanguage(); }

}  // namespace sdkcore
