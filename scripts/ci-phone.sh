#!/usr/bin/env bash
# The phone builds, run by hand (CI's time budget does not hold them yet): most of the suite on
# arm64 under qemu-user against the trimmed ICU data, the 32-bit ARM part (see below) and the size
# report. Measured cost on the 2-core CI machine: about 20 minutes with a warm ccache, on top of
# the half hour of .ci/run. The first run also installs the cross packages.
set -euo pipefail
cd "$(dirname "$0")/.."
# arm64: the whole suite but two programs: the validators' ran past 14 minutes under qemu-user on
# a loaded machine, the hostile-input one forks a child per row (make test-arm64 runs both).
make test-arm64 CROSS_CTEST="-E ^sdkcore_(validation|hostile_input)_tests$"
# armhf: the library, the CLI and the test programs of what 32-bit ARM changes (the payment
# string's date with a 32-bit time_t, time stamps, Base58's 128-bit products, the CLI's round
# trip); the rest of the suite is the same code that the arm64 run covers, and building it twice
# would not fit the time.
make test-armhf CROSS_TARGETS="sdkcore_cli sdkcore_cryptogram_tests sdkcore_entry_tests sdkcore_cli_tests" \
  CROSS_CTEST="-R ^sdkcore_(cryptogram|entry|cli)_tests$"
make size
