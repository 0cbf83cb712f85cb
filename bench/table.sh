#!/usr/bin/env bash
# Whole-program benchmark table: for every row below, the mox program and
# its peers in python3 and bc (where the row names one), each run RUNS
# times; the median wall time, the median CPU time (user + system) and the
# median peak resident memory are printed side by side, with the ratios of
# mox's CPU time to each peer's. CPU time is the fair measure on a shared
# machine, where a process waits for a core as long as it runs; on an idle
# one wall and CPU time agree.
#
#   bench/table.sh [build-dir] [runs] [rows]
#
# Defaults: build/release, 3 runs, every row; `rows` is an extended regular
# expression that the names of the rows to run must match.
#
# Rows are one line each: a name, the mox program, the python3 program, the
# bc program (each a path under bench/, gen:NAME for a generated program,
# or "-"), and what every side must agree on: `status`, the exit status
# (the result modulo 256; bc prints it as its last line), or `digits`, the
# number printed on standard output (and the exit statuses of mox and
# python3). New rows go at the end of ROWS.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
runs=${2:-3}
only=${3:-.}
mox=$build/mox
[[ -x $mox ]] || { echo "no $mox: build the release preset first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is not installed" >&2; exit 1; }
# The python3 on PATH may be a wrapper that adds its own start-up time.
if command -v pyenv >/dev/null 2>&1; then python=$(pyenv which python3); else python=python3; fi

ROWS='
startup       programs/startup.mox      programs/startup.py     -                       status
nfib25        programs/nfib.mox         programs/nfib.py        -                       status
nfib30        programs/nfib30.mox       programs/nfib30.py      -                       status
church        programs/church.mox       -                       -                       status
yloop         programs/yloop.mox        programs/yloop.py       -                       status
pairs         programs/pairs.mox        programs/pairs.py       -                       status
list10m       programs/list10m.mox      programs/list10m.py     -                       status
textbuild     programs/textbuild.mox    programs/textbuild.py   -                       status
sum5m-infix   gen:sum5m.mox             -                       gen:sum5m.bc            status
sum1m-call    gen:sum1m-call.mox        -                       -                       status
defs100k      gen:defs100k.mox          -                       -                       status
defs-plain    gen:defs100k-plain.mox    -                       -                       status
fact          programs/fact.mox         programs/fact.py        programs/fact.bc        status
fib           programs/fib.mox          programs/fib.py         programs/fib.bc         status
pow           programs/pow.mox          programs/pow.py         programs/pow.bc         status
factloop      programs/factloop.mox     programs/factloop.py    programs/factloop.bc    status
fibloop       programs/fibloop.mox      programs/fibloop.py     programs/fibloop.bc     status
fact-print    programs/fact_print.mox   programs/fact_print.py  programs/fact_print.bc  digits
pow-print     programs/pow_print.mox    programs/pow_print.py   programs/pow_print.bc   digits
fib-print     programs/fib_print.mox    programs/fib_print.py   programs/fib_print.bc   digits
fibcmp        programs/fibcmp.mox       programs/fibcmp.py      programs/fibcmp.bc      status
loads1k       gen:loads1k.mox           -                       -                       status
vecfill       programs/vecfill.mox      programs/vecfill.py     -                       status
msort         programs/msort.mox        programs/msort.py       -                       status
'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The path of a program, made first when it is a generated one.
path_of() {
  local file
  case $1 in
    -) echo - ;;
    gen:*)
      file=$work/${1#gen:}
      if [[ ! -e $file ]]; then
        case ${1#gen:} in
          sum5m.mox) "$here/gen/sum_program.sh" mox-infix 5000000 >"$file" ;;
          sum5m.bc) "$here/gen/sum_program.sh" bc 5000000 >"$file" ;;
          sum1m-call.mox) "$here/gen/sum_program.sh" mox-call 1000000 >"$file" ;;
          defs100k.mox) "$here/gen/definitions_program.sh" 100000 >"$file" ;;
          defs100k-plain.mox) "$here/gen/definitions_program.sh" 100000 plain >"$file" ;;
          loads1k.mox) "$here/gen/loads_program.sh" 5000 1000 >"$file" ;;
        esac
      fi
      echo "$file" ;;
    *) echo "$here/$1" ;;
  esac
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure KIND FILE : prints "wall cpu kilobytes status" (medians of $runs
# runs); the last run's standard output is left in $work/KIND.out.
measure() {
  local kind=$1 file=$2 walls= cpus= mems= status= t c m
  for ((i = 0; i < runs; i++)); do
    case $kind in
      mox) /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$mox" "$file" >"$work/mox.out" 2>/dev/null </dev/null
           status=$? ;;
      py) /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$python" "$file" >"$work/py.out" 2>/dev/null </dev/null
          status=$? ;;
      bc) BC_LINE_LENGTH=0 /usr/bin/time -o "$work/time" -f '%e %U %S %M' bc -q "$file" </dev/null >"$work/bc.out" 2>/dev/null
          status=$(tail -n 1 "$work/bc.out") ;;
    esac
    read -r t c m < <(tail -n 1 "$work/time" | awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }')
    walls+="$t"$'\n'
    cpus+="$c"$'\n'
    mems+="$m"$'\n'
  done
  printf '%s %s %s %s\n' "$(median <<<"${walls%$'\n'}")" "$(median <<<"${cpus%$'\n'}")" \
    "$(median <<<"${mems%$'\n'}")" "$status"
}

ratio() { [[ $2 == - ]] && echo - || awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0 ? "%.2f" : "-"), a / b }'; }
megabytes() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

printf '%-12s %8s %8s %8s %8s %8s %8s %8s %8s %8s %7s %7s\n' program mox_s mox_cpu mox_MB \
  py_s py_cpu py_MB bc_s bc_cpu bc_MB mox/py mox/bc
failed=0
while read -r name m p b check; do
  [[ -z $name ]] && continue
  grep -Eq -- "$only" <<<"$name" || continue
  read -r tm cm mm sm < <(measure mox "$(path_of "$m")")
  tp=- cp=- mp=- tb=- cb=- mb=-
  if [[ $p != - ]]; then
    read -r tp cp mp sp < <(measure py "$(path_of "$p")")
    [[ $sp == "$sm" ]] || { echo "$name: python3 gave status $sp, mox $sm" >&2; failed=1; }
    [[ $check == digits ]] && ! cmp -s "$work/mox.out" "$work/py.out" &&
      { echo "$name: mox and python3 print different digits" >&2; failed=1; }
    mp=$(megabytes "$mp")
  fi
  if [[ $b != - ]]; then
    read -r tb cb mb sb < <(measure bc "$(path_of "$b")")
    if [[ $check == digits ]]; then
      cmp -s "$work/mox.out" "$work/bc.out" || { echo "$name: mox and bc print different digits" >&2; failed=1; }
    else
      [[ $sb == "$sm" ]] || { echo "$name: bc gave $sb, mox $sm" >&2; failed=1; }
    fi
    mb=$(megabytes "$mb")
  fi
  printf '%-12s %8s %8s %8s %8s %8s %8s %8s %8s %8s %7s %7s\n' "$name" "$tm" "$cm" "$(megabytes "$mm")" \
    "$tp" "$cp" "$mp" "$tb" "$cb" "$mb" "$(ratio "$cm" "$cp")" "$(ratio "$cm" "$cb")"
done <<<"$ROWS"
exit $failed
