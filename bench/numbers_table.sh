#!/usr/bin/env bash
# The big-number rows of bench/table.sh: the factorial and Fibonacci loops
# (many medium-size operations), the Fibonacci loop bounded by a comparison,
# and 10000!, 3^200000 and F(20000) printed in full, beside python3 and bc.
#
#   bench/numbers_table.sh [build-dir] [runs]
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/table.sh" "${1:-$here/../build/release}" "${2:-3}" '^(factloop|fibloop|fibcmp|fact-print|pow-print|fib-print)$'
