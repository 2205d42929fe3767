#!/usr/bin/env bash
# Runs Corvalen-Pro. By default against the virtual panel: installs what is
# missing, builds, starts panel-sim with demo data (its memory kept under the
# user's state folder), points COM2 at it and opens the program; the panel
# stops when the program exits. The program works in the folder Corvalen-Pro
# of the user's documents folder (made if missing), where it keeps the phone
# list and the log-on details; it says where that is when it starts.
#
#   scripts/run.sh                        the virtual panel on COM2
#   scripts/run.sh -- --model 100 --chunks   ... with panel-sim options after --
#   scripts/run.sh --real                 a real panel on the default ports
#   scripts/run.sh --port /dev/ttyUSB0    a real panel on this device as COM2
#   scripts/run.sh --port tcp://gw:4001   ... or behind a serial server (rfc2217:// too)
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'
}

real=no
port=""
panel_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --real) real=yes ;;
    --port)
      [ $# -ge 2 ] || { echo "run.sh: --port wants a device, e.g. --port /dev/ttyUSB0" >&2; exit 2; }
      real=yes; port="$2"; shift ;;
    --port=*) real=yes; port="${1#--port=}" ;;
    -h|--help) usage; exit 0 ;;
    --) shift; panel_args=("$@"); break ;;
    *) echo "run.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
  esac
  shift
done

scripts/install-deps.sh
scripts/build.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
run.sh: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the
program's window cannot open. Run it under a virtual display instead:

    xvfb-run -a scripts/run.sh

(The program is built; xvfb-run is installed.)
MSG
  exit 1
fi

program=build/src/corvalen-pro
panel_sim=build/tools/panel-sim/panel-sim

if [ "$real" = yes ]; then
  if [ -n "$port" ]; then
    echo "Corvalen-Pro with COM2 on $port"
    exec "$program" --user-folder "--com2=$port"
  fi
  exec "$program" --user-folder
fi

state_dir="${XDG_STATE_HOME:-$HOME/.local/state}/corvalen-pro"
if [ -n "${XDG_RUNTIME_DIR:-}" ] && [ -d "$XDG_RUNTIME_DIR" ] && [ -w "$XDG_RUNTIME_DIR" ]; then
  run_dir="$XDG_RUNTIME_DIR/corvalen-pro"
else
  run_dir="${TMPDIR:-/tmp}/corvalen-pro-$(id -u)"
fi
mkdir -p "$state_dir"
mkdir -p -m 700 "$run_dir"
if [ ! -O "$run_dir" ]; then
  echo "run.sh: $run_dir belongs to someone else; not using it" >&2
  exit 1
fi
chmod 700 "$run_dir"
link="$run_dir/panel"
out="$run_dir/panel.out"
log="$run_dir/panel.log"

: >"$out"
"$panel_sim" --demo --memory "$state_dir/panel.mem" --link "$link" --no-keys "${panel_args[@]}" \
  </dev/null >"$out" 2>"$log" &
panel_pid=$!
stop_panel() {
  if kill -0 "$panel_pid" 2>/dev/null; then
    kill -TERM "$panel_pid" 2>/dev/null || true
    wait "$panel_pid" 2>/dev/null || true
  fi
}
trap stop_panel EXIT
trap 'exit 130' INT TERM

# The panel prints its device on its first line and the PIN on its second.
for _ in $(seq 1 100); do
  [ "$(wc -l <"$out")" -ge 2 ] && break
  kill -0 "$panel_pid" 2>/dev/null || break
  sleep 0.1
done
if [ "$(wc -l <"$out")" -lt 2 ]; then
  echo "run.sh: the virtual panel did not start:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi
device="$(sed -n 1p "$out")"
pin="$(sed -n 2p "$out" | sed 's/^PIN //')"

echo "Virtual panel on $device (COM2 = $link)"
echo "Log on with the PIN: $pin"
echo "Panel log: $log   Panel memory: $state_dir/panel.mem"
"$program" --user-folder "--com2=$link"
