#!/usr/bin/env bash
# Peak memory and time of parsing and checking many definitions: the
# program of the checks benchmark (bench/gen/definitions_program.sh), whose
# main expression only mentions the first definition, so nearly all the
# work is the start-up. It runs the program with its backticks and without.
#
#   bench/definitions_memory.sh [count] [build-dir]   (default: 100000, build/release)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
count=${1:-100000}
build=${2:-$here/../build/release}
mox=$build/mox
[[ -x $mox ]] || { echo "no $mox: build the release preset first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Both forms: with backticks and without (both shared as parsed, being
# over a megabyte).
for form in backticks plain; do
  "$here/gen/definitions_program.sh" "$count" "$form" >"$work/defs.mox"
  status=0
  /usr/bin/time -f '%e %U %M' -o "$work/usage" "$mox" "$work/defs.mox" || status=$?
  [[ $status == 7 ]] || { echo "mox gave status $status, not 7" >&2; exit 1; }
  read -r wall user kb < <(tail -1 "$work/usage")
  printf 'definitions %d, %s: peak %.1f MB, %s s wall, %s s user\n' "$count" "$form" "$(echo "$kb / 1024" | bc -l)" "$wall" "$user"
done
