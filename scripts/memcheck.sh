#!/usr/bin/env bash
# One token of each payment variant through the sdkcore program under valgrind's memcheck, with
# the log sink on: fails on any memory error and on any block definitely or indirectly lost.
# Usage: scripts/memcheck.sh PATH_TO_SDKCORE
set -euo pipefail

program=$1
card="--pan 4111111111111111 --cvc 123 --expiry 12/30 --cardholder JOHN"
variants=(
  "cardParams:$card --order ORDER-1"
  "cardParamsInstant:$card"
  "newPaymentMethodParams:$card --new-card"
  "bindingParams:--binding-id BIND-77 --cvc 123 --order ORDER-1"
  "bindingParamsInstant:--binding-id BIND-77"
  "storedPaymentMethodParams:--stored-id pm_3WhDgViUq4 --cvc 123"
)

report=$(mktemp)
trap 'rm -f "$report"' EXIT
status=0
for variant in "${variants[@]}"; do
  name=${variant%%:*}
  # shellcheck disable=SC2086 # the arguments are split on purpose
  if valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect \
      --errors-for-leak-kinds=definite,indirect --log-file="$report" \
      "$program" token --log --timestamp 1700000000 ${variant#*:} >/dev/null 2>&1; then
    echo "memcheck $name: no errors, nothing lost"
  else
    echo "memcheck $name: FAILED (exit $?)"
    cat "$report"
    status=1
  fi
done
exit $status
