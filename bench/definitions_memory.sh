#!/usr/bin/env bash
# Peak memory and time of parsing and checking many definitions: the
# program of the checks benchmark (bench/checks_bench.cpp: definitions
# calling each other in a chain, with lets, pair lets, operators, literals
# and backticks, every tenth one followed by a dead one), whose main
# expression only mentions the first, so nearly all the work is the start-up.
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

awk -v n="$count" '
function name(i,  s) { s = "fn"; do { s = s sprintf("%c", 97 + i % 26); i = int(i / 26) } while (i > 0); return s }
BEGIN {
  printf "argv\\K(7,%s)", name(0)
  for (i = 0; i < n; ++i) {
    next_call = i + 1 < n ? name(i + 1) "(q,count+1)" : "count"
    printf ",%s\\first\\count\\p q{V first [text %d]}total{count*2+%d}K(%s,S(K total)(I p)`(K 1 2)`(total))", name(i), i, i, next_call
    if (i % 10 == 9) printf ",dead%s\\x\\x+undefined%s", name(i), name(i)
  }
}' >"$work/defs.mox"

/usr/bin/time -f '%e %U %M' -o "$work/usage" "$mox" "$work/defs.mox" || status=$?
[[ ${status:-0} == 7 ]] || { echo "mox gave status ${status:-0}, not 7" >&2; exit 1; }
read -r wall user kb < <(tail -1 "$work/usage")
printf 'definitions %d: peak %.1f MB, %s s wall, %s s user\n' "$count" "$(echo "$kb / 1024" | bc -l)" "$wall" "$user"
