#!/usr/bin/env bash
# Builds the fuzzers of fuzz/ (folder build-fuzz: clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for SECONDS
# (default 60), starting from its seeds in fuzz/corpus/<fuzzer>/. Prints one
# line a fuzzer: executions, corpus size, findings. Exits non-zero when a
# fuzzer does not build or finds anything; the inputs that failed are kept
# under build-fuzz/findings/<fuzzer>/ and the logs under build-fuzz/logs/.
# New corpus entries go to build-fuzz/corpus/<fuzzer>/, never into fuzz/.
#
#   scripts/fuzz.sh                 every fuzzer, 60 s each
#   scripts/fuzz.sh 5               every fuzzer, 5 s each (CI)
#   scripts/fuzz.sh 600 tag_line    one fuzzer
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS] [FUZZER...]" >&2
  exit 2
fi
shift || true

# What the fuzzing build needs beyond the normal build's packages.
scripts/install-deps.sh
fuzz_packages=(clang-14 libclang-rt-14-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { echo "Cannot install ${missing[*]} without root or sudo" >&2; exit 1; }
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
fi
cxx="$(command -v clang++-14 || command -v clang++)"

dir=build-fuzz
# CMake forgets every other setting when the compiler of a configured folder
# changes; start that folder's configuration afresh instead.
if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx "CMAKE_CXX_COMPILER:[A-Z]*=$cxx" "$dir/CMakeCache.txt"; then
  rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
fi
cmake -S . -B "$dir" -G Ninja -DCORVALEN_FUZZ=ON -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"

if [ $# -gt 0 ]; then
  fuzzers=("$@")
else
  fuzzers=()
  for f in fuzz/*.cpp; do
    fuzzers+=("$(basename "$f" .cpp)")
  done
fi

# The file fuzzers write through the program's writers, which sync every
# file: give them a scratch folder in memory where there is one.
scratch_base=/dev/shm
[ -d "$scratch_base" ] && [ -w "$scratch_base" ] || scratch_base="${TMPDIR:-/tmp}"
scratch="$(mktemp -d "$scratch_base/corvalen-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$dir/logs"
total_runs=0
total_findings=0
rows=()
for name in "${fuzzers[@]}"; do
  program="$dir/fuzz/fuzz_$name"
  if [ ! -x "$program" ]; then
    echo "fuzz.sh: no fuzzer $name" >&2
    exit 2
  fi
  corpus="$dir/corpus/$name"
  findings="$dir/findings/$name"
  log="$dir/logs/$name.log"
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings" "fuzz/corpus/$name"
  echo "fuzzing $name for ${seconds}s" >&2
  status=0
  CORVALEN_FUZZ_SCRATCH="$scratch" ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0}" \
    "$program" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?

  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  corpus_size="$(grep -o 'corp: [0-9]*' "$log" | tail -1 | sed 's/corp: //')"
  found="$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)"
  if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then
    found=1 # it stopped without leaving an input: see the log
  fi
  total_runs=$((total_runs + ${runs:-0}))
  total_findings=$((total_findings + found))
  rows+=("$(printf '%-20s %12s %8s %9s' "$name" "${runs:-?}" "${corpus_size:-?}" "$found")")
done

printf '%-20s %12s %8s %9s\n' fuzzer executions corpus findings
printf '%s\n' "${rows[@]}"
printf '%-20s %12s %8s %9s\n' total "$total_runs" "" "$total_findings"
if [ "$total_findings" -ne 0 ]; then
  echo >&2
  echo "Findings (inputs under $dir/findings/, logs under $dir/logs/):" >&2
  find "$dir/findings" -type f >&2
  exit 1
fi
