#!/usr/bin/env bash
# Configures and builds into a folder (default: build). Pass --sanitize for an
# AddressSanitizer + UndefinedBehaviorSanitizer build (default folder
# build-asan).
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=OFF
dir=""
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON ;;
    *) dir="$arg" ;;
  esac
done
if [ -z "$dir" ]; then
  if [ "$sanitize" = ON ]; then dir=build-asan; else dir=build; fi
fi

cmake -S . -B "$dir" -G Ninja -DCORVALEN_SANITIZE="$sanitize" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
