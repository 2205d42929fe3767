#!/usr/bin/env bash
# Builds the Debian package of Corvalen-Pro with CPack:
# build/package/corvalen-pro_<version>_<arch>.deb, holding corvalen-pro, the
# virtual panel as corvalen-virtual-panel, the menu entry, the icon, the
# AppStream metadata and a manual page for each command; its dependencies
# come from the binaries (dpkg-shlibdeps). Installs what is missing for this
# first (scripts/install-deps.sh --packaging). scripts/check-package.sh
# checks the package.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --packaging
scripts/build.sh
rm -f build/package/*.deb
if ! (cd build && cpack -G DEB >package.log 2>&1); then
  cat build/package.log >&2
  exit 1
fi
deb=$(ls build/package/*.deb)
echo "Package: $deb"
echo "Install it with: sudo apt install ./$deb"
