#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh made (or the one named):
#
#   1. lintian finds no errors (its warnings and notes are listed);
#   2. desktop-file-validate passes the menu entry, appstreamcli the metadata,
#      systemd-analyze verify the nightly backup's user units;
#   3. in a throw-away Debian 12 root (debootstrap and chroot): apt installs
#      the package and what it depends on, without recommended packages;
#      corvalen-pro --version and corvalen-virtual-panel --version run; the
#      menu entry's command, started by a user in / on an X display (Xvfb),
#      keeps running and works in that user's Documents/Corvalen-Pro; and
#      purging the package leaves none of its files behind.
#
#   scripts/check-package.sh [--no-install] [PACKAGE.deb]
#
# Step 3 needs root (or sudo) and a Debian mirror (CORVALEN_DEBIAN_MIRROR,
# default http://deb.debian.org/debian). It keeps the base system and the
# downloaded packages in ~/.cache/corvalen-pro/ (CORVALEN_CACHE) to be quicker
# the next time, and works without them. --no-install skips it.
set -euo pipefail
cd "$(dirname "$0")/.."

install_check=yes
install_only=no
deb=""
for arg in "$@"; do
  case "$arg" in
    --no-install) install_check=no ;;
    --install-only) install_only=yes ;; # the part that runs as root
    -h|--help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "check-package.sh: unknown option $arg" >&2; exit 2 ;;
    *) deb="$arg" ;;
  esac
done
if [ -z "$deb" ]; then
  deb=$(ls build/package/corvalen-pro_*.deb 2>/dev/null | head -n 1 || true)
  [ -n "$deb" ] || { echo "check-package.sh: no package; run scripts/package.sh first" >&2; exit 2; }
fi
[ -f "$deb" ] || { echo "check-package.sh: no such package: $deb" >&2; exit 2; }
deb=$(realpath "$deb")
export CORVALEN_CACHE="${CORVALEN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/corvalen-pro}"

work=$(mktemp -d "${TMPDIR:-/tmp}/corvalen-check.XXXXXX")
chmod 755 "$work"
cleanup() {
  # Nothing is ever mounted below $work on this machine's side (the chroot's
  # /proc lives in its own mount namespace), but make sure before deleting.
  if grep -qF " $work/" /proc/mounts; then
    echo "check-package.sh: something is still mounted below $work; left in place" >&2
    return
  fi
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

step() { echo "== $*"; }
seconds() { echo "$(($(date +%s) - $1)) s"; }

static_checks() {
  step "lintian"
  cp "$deb" "$work/"
  chmod 644 "$work/$(basename "$deb")"
  local as_user=()
  if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null 2>&1; then
    # lintian does not want to run as root.
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work")
  fi
  local status=0
  # From the work folder, which the user lintian runs as can enter: lintian
  # changes folders and back, and the checkout may sit in a folder only its
  # owner may enter (a private home).
  (cd "$work" && "${as_user[@]}" lintian --fail-on error --display-info --pedantic "$(basename "$deb")") || status=$?
  if [ "$status" -ne 0 ]; then
    echo "lintian found errors (or failed: exit $status)" >&2
    exit 1
  fi
  echo "lintian: no errors"

  step "menu entry and metadata"
  local tree="$work/tree"
  dpkg-deb -x "$deb" "$tree"
  local desktop metainfo
  desktop=$(ls "$tree"/usr/share/applications/*.desktop)
  metainfo=$(ls "$tree"/usr/share/metainfo/*.metainfo.xml)
  desktop-file-validate "$desktop"
  echo "desktop-file-validate: $(basename "$desktop") passes"
  appstreamcli validate --no-net "$metainfo"
  appstreamcli validate-tree --no-net "$tree"

  step "systemd user units"
  # systemd-analyze wants the service's program where ExecStart names it:
  # the units are verified in a copy whose ExecStart points into the
  # package's tree, after checking that they name the package's program.
  local units="$tree/usr/lib/systemd/user" copy="$work/units"
  local unit
  for unit in corvalen-backup.service corvalen-backup.timer; do
    [ -f "$units/$unit" ] || { echo "check-package.sh: $unit is not in the package" >&2; exit 1; }
  done
  grep -qx 'ExecStart=/usr/bin/corvalen-cli sites backup --all' "$units/corvalen-backup.service" \
    || { echo "check-package.sh: corvalen-backup.service does not start /usr/bin/corvalen-cli" >&2; exit 1; }
  [ -x "$tree/usr/bin/corvalen-cli" ] || { echo "check-package.sh: no /usr/bin/corvalen-cli in the package" >&2; exit 1; }
  mkdir -p "$copy"
  cp "$units"/corvalen-backup.* "$copy/"
  sed -i "s#^ExecStart=/usr/bin/#ExecStart=$tree/usr/bin/#" "$copy/corvalen-backup.service"
  local verify_log="$work/systemd-analyze.log"
  if ! systemd-analyze verify --man=no "$copy/corvalen-backup.service" "$copy/corvalen-backup.timer" \
       >"$verify_log" 2>&1 || [ -s "$verify_log" ]; then
    cat "$verify_log" >&2
    echo "check-package.sh: systemd-analyze verify found problems in the units" >&2
    exit 1
  fi
  echo "systemd-analyze verify: corvalen-backup.service and corvalen-backup.timer pass"
}

# The throw-away root: a minimal Debian 12 from the cache, else debootstrap.
make_root() {
  local root=$1
  local mirror="${CORVALEN_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
  local tarball="$CORVALEN_CACHE/bookworm-$(dpkg --print-architecture)-minbase.tar.gz"
  mkdir -p "$root"
  if [ -f "$tarball" ] && tar -xzf "$tarball" --numeric-owner -C "$root" 2>/dev/null \
     && [ -x "$root/usr/bin/apt-get" ]; then
    echo "base system from $tarball"
    return
  fi
  rm -rf --one-file-system "$root"
  mkdir -p "$root"
  echo "debootstrap --variant=minbase bookworm from $mirror"
  if ! debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1; then
    tail -n 20 "$work/debootstrap.log" >&2
    echo "check-package.sh: debootstrap failed" >&2
    exit 1
  fi
  # Kept for the next run when the cache can be written; never needed.
  if mkdir -p "$CORVALEN_CACHE" 2>/dev/null \
     && tar -czf "$tarball.part" --numeric-owner -C "$root" . 2>/dev/null; then
    mv "$tarball.part" "$tarball"
  else
    rm -f "$tarball.part"
  fi
}

in_root() {
  local root=$1
  shift
  if unshare --mount --pid --fork --mount-proc="$root/proc" true 2>/dev/null; then
    unshare --mount --pid --fork --mount-proc="$root/proc" chroot "$root" "$@"
  else
    chroot "$root" "$@"
  fi
}

install_checks() {
  local root="$work/root"
  local start
  start=$(date +%s)
  step "throw-away Debian 12 root"
  make_root "$root"
  echo "ready in $(seconds "$start")"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  local archives="$CORVALEN_CACHE/apt-archives"
  if [ -d "$archives" ]; then
    find "$archives" -maxdepth 1 -name '*.deb' -exec cp -t "$root/var/cache/apt/archives/" {} + 2>/dev/null || true
  fi
  cp "$deb" "$root/tmp/"
  local name
  name=$(basename "$deb")

  step "install with apt"
  start=$(date +%s)
  cat >"$root/tmp/install.sh" <<EOF
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends /tmp/$name >/tmp/install.log 2>&1 \
  || { tail -n 30 /tmp/install.log; exit 1; }
dpkg-query -W -f='\${Package} \${Version} \${db:Status-Status}\n' corvalen-pro
corvalen-pro --version
corvalen-virtual-panel --version
dpkg -L corvalen-pro >/tmp/files
# For the menu start below: an X display and a user.
apt-get install -y -qq --no-install-recommends xvfb xauth >/tmp/xvfb.log 2>&1 \
  || { tail -n 30 /tmp/xvfb.log; exit 1; }
id tester >/dev/null 2>&1 || useradd -m tester
EOF
  in_root "$root" sh /tmp/install.sh
  echo "installed in $(seconds "$start")"
  if mkdir -p "$archives" 2>/dev/null; then
    find "$root/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -n -t "$archives/" {} + 2>/dev/null || true
  fi

  step "start from the menu entry"
  cat >"$root/tmp/menu.sh" <<'EOF'
set -u
entry=$(ls /usr/share/applications/*.desktop)
command=$(sed -n 's/^Exec=//p' "$entry")
echo "$(basename "$entry"): Exec=$command"
# Started from / as a desktop would; still running after 5 s means the
# window came up (a start-up failure ends it at once).
su tester -c "cd / && xvfb-run -a timeout 5 $command" >/tmp/menu.out 2>&1
status=$?
cat /tmp/menu.out
folder=/home/tester/Documents/Corvalen-Pro
if [ "$status" -ne 124 ]; then
  echo "the program ended with $status before 5 s" >&2
  exit 1
fi
if ! [ -d "$folder" ] || ! grep -qF "works in $folder" /tmp/menu.out; then
  echo "the program did not work in $folder" >&2
  exit 1
fi
echo "ran 5 s on Xvfb, working in $folder"
EOF
  in_root "$root" sh /tmp/menu.sh

  step "purge"
  cat >"$root/tmp/purge.sh" <<'EOF'
set -e
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq corvalen-pro >/tmp/purge.log 2>&1 \
  || { cat /tmp/purge.log; exit 1; }
if [ "$(dpkg-query -W -f='${db:Status-Status}' corvalen-pro 2>/dev/null)" = installed ]; then
  echo "corvalen-pro is still installed" >&2
  exit 1
fi
left=0
while read -r f; do
  if [ -f "$f" ] || [ -L "$f" ]; then echo "left behind: $f" >&2; left=1; fi
done </tmp/files
[ "$left" -eq 0 ]
echo "purged; none of its $(wc -l </tmp/files) paths left but shared folders"
EOF
  in_root "$root" sh /tmp/purge.sh
}

if [ "$install_only" = yes ]; then
  install_checks
  exit 0
fi

static_checks
if [ "$install_check" = yes ]; then
  if [ "$(id -u)" -eq 0 ]; then
    install_checks
  elif command -v sudo >/dev/null 2>&1; then
    sudo --preserve-env=CORVALEN_DEBIAN_MIRROR "$0" --install-only "$deb"
  else
    echo "check-package.sh: the install check needs root or sudo (or pass --no-install)" >&2
    exit 1
  fi
fi
echo "== package checks passed: $deb"
