#!/bin/sh
# Checks the dynamic symbol table of the shared library: it must define the C interface
# (sdkcore_*) and the public C++ interface (sdkcore::, with the vtables and type information of
# its classes) and nothing else, such as ICU, OpenSSL, nlohmann/json or instantiations of the
# standard library's templates. Also checks the SONAME.
# Usage: export_check.sh LIBRARY SONAME
set -eu
library=$1
soname=$2

symbols=$(nm -D --defined-only -C "$library" | sed -E 's/^[0-9a-fA-F]* *[A-Za-z] //; s/@@?[A-Z_0-9]+$//')

allowed='^(sdkcore_[a-z0-9_]+|sdkcore::.+|(vtable|typeinfo|typeinfo name) for sdkcore::.+'
allowed="$allowed"'|std::hash<sdkcore::[A-Za-z]+>::operator\(\).*|SDKCORE_[0-9]+)$'
unexpected=$(printf '%s\n' "$symbols" | grep -Ev "$allowed" || true)
if [ -n "$unexpected" ]; then
  echo "exported but not part of the interface:" >&2
  printf '%s\n' "$unexpected" | head -n 40 >&2
  exit 1
fi

for expected in 'sdkcore_version' 'sdkcore_generate_token' 'sdkcore_remove_log_sink' \
    'sdkcore_detect_card_brands' 'sdkcore_check_security_code' 'sdkcore_set_message_language' \
    'sdkcore::setMessageLanguage(std::basic_string_view<char, std::char_traits<char> >)' \
    'sdkcore::SdkCore::generateWithConfig(sdkcore::SDKCoreConfig const&)' \
    'sdkcore::Logger::removeLogInterface(std::shared_ptr<sdkcore::LogInterface> const&)' \
    'vtable for sdkcore::Logger' 'typeinfo for sdkcore::LogInterface' \
    'typeinfo for sdkcore::ParamFieldError'; do
  if ! printf '%s\n' "$symbols" | grep -Fxq "$expected"; then
    echo "not exported: $expected" >&2
    exit 1
  fi
done

actual=$(objdump -p "$library" | sed -n 's/^ *SONAME *//p')
if [ "$actual" != "$soname" ]; then
  echo "SONAME is '$actual', expected '$soname'" >&2
  exit 1
fi
echo "exports $(printf '%s\n' "$symbols" | wc -l) symbols of the interface; SONAME $actual"
