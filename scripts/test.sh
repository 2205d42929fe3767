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
ctest --output-on-failure
