#!/usr/bin/env bash
# Builds the fuzzers of fuzz/ (folder build-fuzz: clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for SECONDS
# (default 60), starting from its seeds in fuzz/corpus/<fuzzer>/. Prints one
# line a fuzzer: executions, executions a second, coverage (code edges) and
# features libFuzzer reached, corpus size, findings. Exits non-zero when a
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

# clang and its libFuzzer runtime come with the build's packages.
scripts/install-deps.sh
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
row='%-18s %12s %8s %9s %9s %7s %9s\n'
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
  speed="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)"
  last="$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)"
  cov="$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")"
  ft="$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")"
  corpus_size="$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")"
  found="$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)"
  if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then
    found=1 # it stopped without leaving an input: see the log
  fi
  total_runs=$((total_runs + ${runs:-0}))
  total_findings=$((total_findings + found))
  rows+=("$(printf "$row" "$name" "${runs:-?}" "${speed:-?}" "${cov:-?}" "${ft:-?}" "${corpus_size:-?}" "$found")")
done

printf "$row" fuzzer executions exec/s coverage features corpus findings
printf '%s\n' "${rows[@]}"
printf "$row" total "$total_runs" "" "" "" "" "$total_findings"
if [ "$total_findings" -ne 0 ]; then
  echo >&2
  echo "Findings (inputs under $dir/findings/, logs under $dir/logs/):" >&2
  find "$dir/findings" -type f >&2
  exit 1
fi
