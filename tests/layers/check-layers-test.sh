#!/usr/bin/env bash
# The layer check on a small tree of its own: it passes a tree whose
# includes all point down, and names every include that points up, reaches
# into a shell or into widgets from outside them, and every file too long.
set -u
check="$1"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mk() { mkdir -p "$(dirname "$tree/$1")"; printf '%s\n' "${@:2}" > "$tree/$1"; }

mk table/Table.h '#pragma once'
mk link/Link.h '#include "table/Table.h"' '#include <QObject>' '#include "Local.h"'
mk directory/widgets/Page.h '#include "link/Link.h"'
mk rfid/widgets/RfidPage.h '#include "directory/widgets/Page.h"'
mk app/widgets/main.cpp '#include "rfid/widgets/RfidPage.h"'
mk cli/main.cpp '#include "backup/Store.h"'
mk backup/Store.h '#include "rfid/Tag.h"'
mk rfid/Tag.h '#include "directory/Entry.h"'
mk directory/Entry.h '#include "link/Link.h"'
if ! out="$("$check" "$tree")"; then
  echo "a clean tree was refused:"; echo "$out"; exit 1
fi

mk link/Up.h '#include "directory/Entry.h"'
mk directory/Back.cpp '#include "backup/Store.h"'
mk rfid/Shell.h '#include "app/widgets/Window.h"'
mk app/Twin.cpp '#include "cli/CliJob.h"'
mk events/Log.cpp '#include "directory/widgets/Page.h"'
mk archive/Long.cpp $(seq 1 401)
out="$("$check" "$tree")"
rc=$?
expected=(
  "link/Up.h:1: includes directory/Entry.h: link/ may not include directory/ (above it)"
  "directory/Back.cpp:1: includes backup/Store.h: directory/ may not include backup/ (above it)"
  "rfid/Shell.h:1: includes app/widgets/Window.h: nothing includes app/"
  "rfid/Shell.h:1: includes app/widgets/Window.h: code outside widgets/ includes no widgets"
  "app/Twin.cpp:1: includes cli/CliJob.h: nothing includes cli/"
  "events/Log.cpp:1: includes directory/widgets/Page.h: code outside widgets/ includes no widgets"
  "archive/Long.cpp:401: 401 lines, more than 400"
)
status=0
[[ $rc == 1 ]] || { echo "exit code $rc, not 1"; status=1; }
for line in "${expected[@]}"; do
  grep -qF "src/$line" <<< "$out" || { echo "not reported: $line"; status=1; }
done
count=$(grep -c . <<< "$out")
[[ $count == "${#expected[@]}" ]] || { echo "$count reports, not ${#expected[@]}:"; echo "$out"; status=1; }
exit $status
