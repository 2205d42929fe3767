#!/usr/bin/env bash
# The house stands one way: every include between folders of src/ points
# down this order, and no product file grows past the size a reader takes
# in at once. Prints each violation as file:line and exits 1 when there is
# any. The order and the rules are described in docs/architecture.md.
set -u

# Lowest first. app and cli share the top and never include each other.
LAYERS=(table link directory parameters events rfid backup history archive sites app cli)
MAX_LINES=400
# Files allowed over MAX_LINES, by path under src/. The two here are being
# split; the list is meant to be empty.
OVERSIZE_ALLOWED=()

# The source tree to check: src/ beside this script, or the one given.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
src="${1:-$root/src}"
src="${src%/}"
declare -A rank
for i in "${!LAYERS[@]}"; do rank[${LAYERS[$i]}]=$i; done
rank[cli]=${rank[app]} # the two shells stand side by side

failed=0
report() { echo "$1"; failed=1; }

while IFS= read -r file; do
  rel="${file#"$src"/}"
  from="${rel%%/*}"
  [[ -n "${rank[$from]:-}" ]] || continue
  from_widgets=0
  [[ "$rel" == */widgets/* ]] && from_widgets=1
  while IFS=: read -r line target; do
    to="${target%%/*}"
    [[ -n "${rank[$to]:-}" ]] || continue # Qt, system or local includes
    where="src/$rel:$line"
    if [[ "$to" == app || "$to" == cli ]] && [[ "$to" != "$from" ]]; then
      report "$where: includes $target: nothing includes $to/"
    elif (( ${rank[$to]} > ${rank[$from]} )); then
      report "$where: includes $target: $from/ may not include $to/ (above it)"
    fi
    if [[ "$target" == */widgets/* ]] && (( from_widgets == 0 )); then
      report "$where: includes $target: code outside widgets/ includes no widgets"
    fi
  done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^"]+"' "$file" \
             | sed -E 's/^([0-9]+):.*"([^"]+)"/\1:\2/')
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

while IFS= read -r file; do
  rel="${file#"$src"/}"
  lines=$(wc -l < "$file")
  (( lines > MAX_LINES )) || continue
  allowed=0
  for ok in "${OVERSIZE_ALLOWED[@]}"; do [[ "$ok" == "$rel" ]] && allowed=1; done
  (( allowed )) || report "src/$rel:$lines: $lines lines, more than $MAX_LINES"
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

exit $failed
