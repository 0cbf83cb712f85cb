#!/usr/bin/env bash
# Instruction counts of the whole-program benchmarks under callgrind, one
# column per mox binary, so that two builds can be compared exactly on a
# busy machine (wall times there are noise; instruction counts repeat).
#
#   bench/instructions.sh [rows] BINARY...
#
# `rows` is an extended regular expression on the program names (default:
# every program of bench/programs/ but the three that take minutes under
# callgrind, list10m, nfib30 and msort). Example, a base build against this one:
#
#   bench/instructions.sh . /work/base/build/release/mox build/release/mox
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
rows=${1:-.}
shift || true
(($# > 0)) || { echo "usage: $0 [rows] BINARY..." >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is needed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

i=0
for bin in "$@"; do echo "# [$((++i))] $bin"; done
printf '%-12s' program
for ((i = 1; i <= $#; i++)); do printf ' %16s' "[$i]"; done
(($# == 2)) && printf ' %8s' change
printf '\n'
for program in "$here"/programs/*.mox; do
  name=$(basename "$program" .mox)
  [[ $name == list10m || $name == nfib30 || $name == msort ]] && [[ $rows == . ]] && continue
  grep -Eq -- "$rows" <<<"$name" || continue
  printf '%-12s' "$name"
  counts=()
  for bin in "$@"; do
    valgrind --tool=callgrind --callgrind-out-file="$work/cg" "$bin" "$program" >/dev/null 2>"$work/log"
    n=$(sed -n 's/.*refs: *\([0-9,]*\).*/\1/p' "$work/log" | tr -d ,)
    counts+=("$n")
    printf ' %16s' "$n"
  done
  (($# == 2)) && awk -v a="${counts[0]}" -v b="${counts[1]}" 'BEGIN { printf " %+7.1f%%", (b - a) * 100 / a }'
  printf '\n'
done
