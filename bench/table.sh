#!/usr/bin/env bash
# Whole-program benchmark table: for every row below, the mox program and
# its peers in python3 and bc (where the row names one), each run RUNS
# times; the median wall time and the median peak resident memory are
# printed side by side, with the ratio of mox's time to each peer's. Every
# side must exit with the same status (the result modulo 256).
#
#   bench/table.sh [build-dir] [runs] [rows]
#
# Defaults: build/release, 3 runs, every row; `rows` is an extended regular
# expression that the names of the rows to run must match.
#
# Rows are one line each: a name, then the mox program, the python3 program
# and the bc program, each a path under bench/ or under the generated
# folder (gen:NAME, made by bench/gen/sum_program.sh below), or "-".
# New rows go at the end of ROWS.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
runs=${2:-3}
only=${3:-.}
mox=$build/mox
[[ -x $mox ]] || { echo "no $mox: build the release preset first" >&2; exit 1; }
# The python3 on PATH may be a wrapper that adds its own start-up time.
if command -v pyenv >/dev/null 2>&1; then python=$(pyenv which python3); else python=python3; fi

ROWS='
startup       programs/startup.mox      programs/startup.py     -
nfib25        programs/nfib.mox         programs/nfib.py        -
nfib30        programs/nfib30.mox       programs/nfib30.py      -
church        programs/church.mox       -                       -
yloop         programs/yloop.mox        programs/yloop.py       -
pairs         programs/pairs.mox        programs/pairs.py       -
list10m       programs/list10m.mox      programs/list10m.py     -
textbuild     programs/textbuild.mox    programs/textbuild.py   -
sum5m-infix   gen:sum5m.mox             -                       gen:sum5m.bc
sum1m-call    gen:sum1m-call.mox        -                       -
fact          programs/fact.mox         programs/fact.py        programs/fact.bc
fib           programs/fib.mox          programs/fib.py         programs/fib.bc
pow           programs/pow.mox          programs/pow.py         programs/pow.bc
'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$here/gen/sum_program.sh" mox-infix 5000000 >"$work/sum5m.mox"
"$here/gen/sum_program.sh" bc 5000000 >"$work/sum5m.bc"
"$here/gen/sum_program.sh" mox-call 1000000 >"$work/sum1m-call.mox"

path_of() {
  case $1 in
    -) echo - ;;
    gen:*) echo "$work/${1#gen:}" ;;
    *) echo "$here/$1" ;;
  esac
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure KIND FILE : prints "seconds kilobytes status" (medians of $runs runs)
measure() {
  local kind=$1 file=$2 times= mems= status= t m
  for ((i = 0; i < runs; i++)); do
    case $kind in
      mox) /usr/bin/time -o "$work/time" -f '%e %M' "$mox" "$file" >/dev/null 2>&1; status=$? ;;
      py) /usr/bin/time -o "$work/time" -f '%e %M' "$python" "$file" >/dev/null 2>&1; status=$? ;;
      bc) BC_LINE_LENGTH=0 /usr/bin/time -o "$work/time" -f '%e %M' bc -q "$file" </dev/null >"$work/bc.out" 2>/dev/null
          status=$(tail -n 1 "$work/bc.out") ;;
    esac
    read -r t m < <(tail -n 1 "$work/time")
    times+="$t"$'\n'
    mems+="$m"$'\n'
  done
  printf '%s %s %s\n' "$(median <<<"${times%$'\n'}")" "$(median <<<"${mems%$'\n'}")" "$status"
}

ratio() { [[ $2 == - ]] && echo - || awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0 ? "%.2f" : "-"), a / b }'; }

printf '%-12s %9s %9s %9s %9s %9s %9s %8s %8s\n' program mox_s mox_MB py_s py_MB bc_s bc_MB mox/py mox/bc
while read -r name m p b; do
  [[ -z $name ]] && continue
  grep -Eq -- "$only" <<<"$name" || continue
  read -r tm mm sm < <(measure mox "$(path_of "$m")")
  tp=- mp=- tb=- mb=-
  if [[ $p != - ]]; then
    read -r tp mp sp < <(measure py "$(path_of "$p")")
    [[ $sp == "$sm" ]] || echo "$name: python3 gave $sp, mox $sm" >&2
    mp=$(awk -v k="$mp" 'BEGIN { printf "%.1f", k / 1024 }')
  fi
  if [[ $b != - ]]; then
    read -r tb mb sb < <(measure bc "$(path_of "$b")")
    [[ $sb == "$sm" ]] || echo "$name: bc gave $sb, mox $sm" >&2
    mb=$(awk -v k="$mb" 'BEGIN { printf "%.1f", k / 1024 }')
  fi
  printf '%-12s %9s %9.1f %9s %9s %9s %9s %8s %8s\n' "$name" "$tm" "$(awk -v k="$mm" 'BEGIN { print k / 1024 }')" \
    "$tp" "$mp" "$tb" "$mb" "$(ratio "$tm" "$tp")" "$(ratio "$tm" "$tb")"
done <<<"$ROWS"
