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

# Qt's automoc does not always notice a header that appeared after the last
# configure; when the set of headers changed, let it scan everything afresh.
headers=$(find src tests tools -name '*.h' | sort | md5sum | cut -d' ' -f1)
if [ -d "$dir" ] && [ "$(cat "$dir/.headers" 2>/dev/null)" != "$headers" ]; then
  find "$dir" -maxdepth 3 -type d -name '*_autogen' -exec rm -rf {} +
fi
mkdir -p "$dir"
echo "$headers" > "$dir/.headers"

cmake -S . -B "$dir" -G Ninja -DCORVALEN_SANITIZE="$sanitize" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
