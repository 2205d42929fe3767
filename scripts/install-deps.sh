#!/usr/bin/env bash
# Installs what Corvalen-Pro needs to build, test and run on Debian 12, and
# only what is missing: when everything is there it prints nothing, changes
# nothing and needs no root. Installing needs root (or sudo).
#
#   scripts/install-deps.sh               build, test and run
#   scripts/install-deps.sh --packaging   also what scripts/package.sh and
#                                         scripts/check-package.sh use
#   scripts/install-deps.sh --bench       also what the benchmarks with a
#                                         screen reader use (AT-SPI bus)
#
# Every name below is a real package, never a virtual one (which dpkg never
# lists as installed, so it would be "missing" on every run): check a new
# name with `dpkg-query -W NAME` after installing it.
set -euo pipefail

packages=(
  build-essential
  cmake
  ninja-build
  ccache
  pkg-config
  qt6-base-dev
  qt6-base-dev-tools
  qt6-serialport-dev
  libqt6sql6-sqlite
  libgl-dev
  libjpeg62-turbo-dev
  libxlsxwriter-dev
  qtkeychain-qt6-dev
  libgtest-dev
  xvfb
  xauth
  ser2net
  libreoffice-calc-nogui
  dbus-daemon
  gnome-keyring
  clang-14
  libclang-rt-14-dev
  libqt6sql6-sqlite
  qt6-svg-dev
  poppler-utils
)

packaging_packages=(
  dpkg-dev
  fakeroot
  help2man
  librsvg2-bin
  lintian
  desktop-file-utils
  appstream
  debootstrap
  systemd
)

bench_packages=(
  dbus-daemon
  at-spi2-core
  python3-gi
  gir1.2-atspi-2.0
)

case "${1:-}" in
  "") ;;
  --packaging) packages+=("${packaging_packages[@]}") ;;
  --bench) packages+=("${bench_packages[@]}") ;;
  -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "install-deps.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
esac

# The names among the arguments that dpkg does not list as installed.
missing_of() {
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "$@" 2>/dev/null \
    | awk '$2 == "installed" { print $1 }' || true)
  local p
  for p in "$@"; do
    grep -qxF "$p" <<<"$installed" || echo "$p"
  done
}

mapfile -t missing < <(missing_of "${packages[@]}")
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "These packages are missing and this user cannot install them: ${missing[*]}" >&2
  echo "Ask someone with root to run: apt-get install ${missing[*]}" >&2
  exit 1
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"

# A name that apt accepts but dpkg still does not list as installed is a
# virtual package: the next run would try again. Say so now.
mapfile -t still < <(missing_of "${missing[@]}")
if [ ${#still[@]} -ne 0 ]; then
  echo "install-deps.sh: not installed after apt-get: ${still[*]}" >&2
  echo "(a virtual package name? list the real package that provides it)" >&2
  exit 1
fi
