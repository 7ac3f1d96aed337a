#!/usr/bin/env bash
# `make demo`: card data in, token out, and the merchant side decrypting it again.
set -euo pipefail
build=${1:-build}
sdkcore="$build/sdkcore"
[ -x "$sdkcore" ] || { echo "demo: $sdkcore is not built (run 'make demo')" >&2; exit 1; }

bold=$'\e[1m' dim=$'\e[2m' off=$'\e[0m'
[ -t 1 ] || bold='' dim='' off=''

heading() { printf '\n%s== %s ==%s\n' "$bold" "$1" "$off"; }
# Prints a command line as it could be typed (arguments with blanks in single quotes).
show() {
  local line='$' arg
  for arg in "$@"; do
    case $arg in *[[:space:]]*) line+=" '$arg'" ;; *) line+=" $arg" ;; esac
  done
  printf '%s%s%s\n' "$dim" "$line" "$off"
}
# Shortens the PEM key text inside the log lines, for reading only.
shorten_keys() {
  sed 's/\(BEGIN PUBLIC KEY-----\\n\)[A-Za-z0-9+\/=\\n]*\(\\n-----END\)/\1...\2/g' | sed 's/^/  /'
}

args=(token --log --pan 4111111111111111 --cvc 123 --expiry 12/30 --cardholder "JOHN DOE"
      --order ORDER-1 --from ZKIT_CORE)

heading "1. The host app hands SDKCore the card data (field flags, built-in demo key)"
show sdkcore "${args[@]}"
echo "What it writes on stderr: the demo-key warning, then the library's log events (--log),"
echo "card number and security code masked (key text shortened here for reading):"
# stderr (warning and log lines) and stdout (the result) are shown apart.
errfile=$(mktemp)
trap 'rm -f "$errfile"' EXIT
result=$("$sdkcore" "${args[@]}" 2>"$errfile") || { cat "$errfile" >&2; echo "$result"; exit 1; }
shorten_keys <"$errfile"

heading "2. The token it returns (Base64 of the RSA-encrypted payment string)"
echo "$result"
token=$(printf '%s' "$result" | sed -n 's/^{"token":"\([A-Za-z0-9+/=]*\)"}$/\1/p')
[ -n "$token" ] || { echo "demo: no token in the output" >&2; exit 1; }

heading "3. The merchant side decrypts it with the demo private key"
show sdkcore decrypt "<the token above>"
plain=$("$sdkcore" decrypt "$token" 2>"$errfile") || { cat "$errfile" >&2; echo "$plain"; exit 1; }
sed 's/^/  /' "$errfile"
echo "$plain"
echo
echo "The nine fields of the payment string:"
printf '%s\n' "$plain" | sed -n 's/.*"fields":{\(.*\)}}$/\1/p' | sed 's/","/"\n"/g' |
  sed 's/^"\([^"]*\)":"\(.*\)"$/  \1: \2/'

heading "Done"
echo "The demo key pair is a published test key: never use it for real card data."
echo "Try 'sdkcore --help', or 'make test' to run every test."
