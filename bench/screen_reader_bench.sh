#!/usr/bin/env bash
# The program's CPU with a screen reader's process listening, as a blind
# installer would use it: the program runs on Xvfb with the AT-SPI bus, the
# reader (screen_reader_bench.py, another process) listens to every event
# and asks each event's source for its role and name, and it drives the
# program through the accessibility interface alone: the lamp, the PIN
# dialog, GetData, WriteAllData and the questions. The virtual panel holds
# 1,024 residents of a 1000 model.
#
#   bench/screen_reader_bench.sh [BUILD_FOLDER]     (default: build)
#
# Prints wall time, the program's CPU (all its threads) and the events the
# reader got, for the log-on, the download, the upload (with the backup read
# before it, and its rewrite alone) and 5 s idle online.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

if [ "${SCREEN_READER_BENCH_INSIDE:-}" != 1 ]; then
  "$root/scripts/install-deps.sh" --bench
  for f in "$build/src/corvalen-pro" "$build/tools/panel-sim/panel-sim"; do
    [ -x "$f" ] || { echo "screen_reader_bench: $f is missing; build first (scripts/build.sh)" >&2; exit 1; }
  done
  SCREEN_READER_BENCH_INSIDE=1 exec xvfb-run -a dbus-run-session -- "$0" "$build" 2> >(grep -v 'dbus-daemon' >&2)
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A home of its own: the backups, the journal and the settings stay here.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
unset XDG_DATA_HOME XDG_STATE_HOME XDG_CONFIG_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$work"

/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids+=($!)
sleep 1

{
  echo "corvalen-xarn-panel-memory 1"
  echo "model 1000"
  for ((r = 128; r <= 1151; r++)); do
    printf 'record %04d =%d,1234,5678,12,0123456789:;<,Resident%%20%d\n' "$r" "$r" "$r"
  done
} > panel.mem
"$build/tools/panel-sim/panel-sim" --quiet --no-keys --memory panel.mem --link "$work/panel" > panel-sim.out &
pids+=($!)
for _ in $(seq 50); do [ -e "$work/panel" ] && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/src/corvalen-pro" --com2="$work/panel" \
  > program.out 2>&1 &
program=$!
pids+=("$program")

/usr/bin/python3 "$here/screen_reader_bench.py" "$program"
