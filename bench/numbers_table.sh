#!/usr/bin/env bash
# Big numbers through the whole interpreter, side by side with python3 and
# bc: one line per program of bench/programs (the factorial and Fibonacci
# loops, and 10000!, 3^200000 and F(20000) printed in full), with the best
# wall time of three runs and the peak resident memory of each side.
#
#   bench/numbers_table.sh [build-dir]      (default: build/release)
#
# Every side must agree: the same exit status from mox and python3 (the
# result modulo 256), the same digits on standard output from all three
# for the printing programs, and bc's printed result equal to that status
# for the loops. Columns: seconds and peak MB for mox, python3 and bc, then
# the time ratios mox/python3 and mox/bc.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
mox=$build/mox
[[ -x $mox ]] || { echo "no $mox: build the release preset first" >&2; exit 1; }
# python3 on PATH may be a wrapper that adds to every start; ask pyenv for the binary.
if command -v pyenv >/dev/null 2>&1; then python=$(pyenv which python3); else python=python3; fi
command -v bc >/dev/null || { echo "bc is not installed" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is not installed" >&2; exit 1; }
programs=(factloop fibloop fact_print pow_print fib_print)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure TAG CMD...: best wall seconds of three runs and the peak MB, as
# "seconds mb"; the last run's output goes to $work/TAG.out, its status
# to $work/TAG.status.
measure() {
  local tag=$1 best= t0 t1 t
  shift
  for _ in 1 2 3; do
    t0=$(date +%s.%N)
    /usr/bin/time -f %M -o "$work/$tag.rss" "$@" >"$work/$tag.out" 2>/dev/null </dev/null
    echo $? >"$work/$tag.status"
    t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l)
    if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
  done
  printf '%.3f %.1f\n' "$best" "$(echo "$(tail -1 "$work/$tag.rss") / 1024" | bc -l)"
}

printf '%-11s %8s %7s %8s %7s %8s %7s %7s %7s\n' program mox_s mox_MB py_s py_MB bc_s bc_MB mox/py mox/bc
status=0
for name in "${programs[@]}"; do
  p=$here/programs/$name
  read -r tm mm < <(measure mox "$mox" "$p.mox")
  read -r tp mp < <(measure py "$python" "$p.py")
  read -r tb mb < <(measure bc env BC_LINE_LENGTH=0 bc -q "$p.bc")
  sm=$(cat "$work/mox.status") sp=$(cat "$work/py.status")
  if [[ $sm != "$sp" ]]; then echo "$name: mox gave $sm, python3 $sp" >&2; status=1; fi
  if [[ $name == *_print ]]; then
    cmp -s "$work/mox.out" "$work/py.out" || { echo "$name: mox and python3 print different digits" >&2; status=1; }
    cmp -s "$work/mox.out" "$work/bc.out" || { echo "$name: mox and bc print different digits" >&2; status=1; }
  elif [[ $(cat "$work/bc.out") != "$sm" ]]; then
    echo "$name: bc gave $(cat "$work/bc.out"), mox $sm" >&2
    status=1
  fi
  printf '%-11s %8s %7s %8s %7s %8s %7s %7.2f %7.2f\n' "$name" "$tm" "$mm" "$tp" "$mp" "$tb" "$mb" \
    "$(echo "$tm / $tp" | bc -l)" "$(echo "$tm / $tb" | bc -l)"
done
exit $status
