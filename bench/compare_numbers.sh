#!/usr/bin/env bash
# Times mox's big-integer arithmetic against python3 and bc in one run, on
# three computations that every side finishes by producing the decimal
# digits of the result: 10000! by a loop of small products, 3^200000, and
# the 20,000th Fibonacci number by repeated addition.
#
#   bench/compare_numbers.sh [build-dir]     (default: build/release)
#
# Each command runs three times; the best wall time counts (process start
# included for all three). The ratios mox/python3 and mox/bc follow.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
driver=$build/bench/numbers_driver
[[ -x $driver ]] || { echo "no $driver: build the release preset first" >&2; exit 1; }
if command -v pyenv >/dev/null 2>&1; then python=$(pyenv which python3); else python=python3; fi
command -v bc >/dev/null || { echo "bc is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/fact.py" <<'PY'
import sys
sys.set_int_max_str_digits(0)
r = 1
for i in range(2, 10001):
    r *= i
print(len(str(r)))
PY
cat >"$work/pow.py" <<'PY'
import sys
sys.set_int_max_str_digits(0)
print(len(str(3 ** 200000)))
PY
cat >"$work/fib.py" <<'PY'
import sys
sys.set_int_max_str_digits(0)
a, b = 0, 1
for _ in range(20000):
    a, b = b, a + b
print(len(str(a)))
PY
echo 'r=1; for(i=2;i<=10000;i++) r*=i; length(r)' >"$work/fact.bc"
echo 'length(3^200000)' >"$work/pow.bc"
echo 'a=0; b=1; for(i=0;i<20000;i++){c=a+b; a=b; b=c}; length(a)' >"$work/fib.bc"

# best wall time in seconds of three runs; the command's output must match
best_time() {
  local expect=$1 best= t start out
  shift
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    out=$("$@" 2>/dev/null)
    t=$(echo "$(date +%s.%N) - $start" | bc -l)
    [[ $out == "$expect" ]] || { echo "unexpected output '$out' from $*" >&2; exit 1; }
    if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
  done
  printf '%.3f' "$best"
}

printf '%-10s %9s %9s %9s %12s %9s\n' task mox python3 bc mox/python3 mox/bc
run() {
  local name=$1 digits=$2 mox py bcs
  shift 2
  mox=$(best_time "$digits" "$driver" "$@")
  py=$(best_time "$digits" "$python" "$work/$name.py")
  bcs=$(best_time "$digits" bc -q "$work/$name.bc")
  printf '%-10s %8ss %8ss %8ss %12.2f %9.2f\n' "$name" "$mox" "$py" "$bcs" \
    "$(echo "$mox / $py" | bc -l)" "$(echo "$mox / $bcs" | bc -l)"
}
run fact 35660 fact 10000
run pow 95425 pow 3 200000
run fib 4180 fib 20000
