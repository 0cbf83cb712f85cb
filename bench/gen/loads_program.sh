#!/usr/bin/env bash
# Writes a program that loads a one-line definition LOADS times, among the
# COUNT definitions of the checks benchmark (bench/gen/definitions_program.sh):
# what a load costs should not grow with the program around it. It exits
# with status 7.
#
#   bench/gen/loads_program.sh COUNT LOADS > FILE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
printf 'argv\\seq(go(%d),K(7,fna)),go\\n\\(n<1)(0)(seq(load([0,sq\\x\\x*x]),go(n-1))),seq\\x\\y\\y' "$2"
"$here/definitions_program.sh" "$1" | sed 's/^argv\\K(7,fna)//'
