#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# Pass --sanitize to run the suite in the ASan + UBSan build instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
sanitize=""
dir=build
if [ "${1:-}" = "--sanitize" ]; then
  sanitize=--sanitize
  dir=build-asan
fi
scripts/build.sh $sanitize "$dir"
cd "$dir"
rm -f Testing/e2e-suite-times.txt
status=0
ctest --output-on-failure || status=$?
if [ -f Testing/e2e-suite-times.txt ]; then
  echo "test_e2e, time per group of tests:"
  cat Testing/e2e-suite-times.txt
fi
exit "$status"
