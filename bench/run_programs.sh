#!/usr/bin/env bash
# Whole-program timings: every bench/programs/NAME.mox through the real mox
# binary, best wall time of three runs, beside python3 (NAME.py) and bc
# (NAME.bc) on the same computation where those exist. Every side must give
# the same exit status (the result modulo 256).
#
#   bench/run_programs.sh [build-dir]      (default: build/release)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
mox=$build/mox
[[ -x $mox ]] || { echo "no $mox: build the release preset first" >&2; exit 1; }
if command -v pyenv >/dev/null 2>&1; then python=$(pyenv which python3); else python=python3; fi

# best_time CMD... : prints "seconds status" for the fastest of three runs
best_time() {
  local best= status t0 t1 t
  for _ in 1 2 3; do
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    status=$?
    t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l)
    if [[ -z $best ]] || (( $(echo "$t < $best" | bc -l) )); then best=$t; fi
  done
  printf '%.3f %s\n' "$best" "$status"
}

printf '%-10s %10s %10s %10s %9s %9s\n' program mox python3 bc mox/py mox/bc
for program in "$here"/programs/*.mox; do
  name=$(basename "$program" .mox)
  read -r tm sm < <(best_time "$mox" "$program")
  tp=- tb=- rp=- rb=-
  if [[ -f $here/programs/$name.py ]]; then
    read -r tp sp < <(best_time "$python" "$here/programs/$name.py")
    [[ $sp == "$sm" ]] || echo "$name: python3 gave $sp, mox $sm" >&2
    rp=$(printf '%.2f' "$(echo "$tm / $tp" | bc -l)")
  fi
  if [[ -f $here/programs/$name.bc ]]; then
    tb=$(best_time bash -c "BC_LINE_LENGTH=0 bc -q '$here/programs/$name.bc' <<< quit" | cut -d' ' -f1)
    rb=$(printf '%.2f' "$(echo "$tm / $tb" | bc -l)")
  fi
  printf '%-10s %10s %10s %10s %9s %9s\n' "$name" "$tm" "$tp" "$tb" "$rp" "$rb"
done
