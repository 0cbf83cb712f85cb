#!/usr/bin/env bash
# Writes the program of the checks benchmark (bench/checks_bench.cpp) with
# COUNT definitions: definitions calling each other in a chain, with lets,
# pair lets, operators, literals and backticks, every tenth one followed by
# a dead one. The main expression only mentions the first, so nearly all of
# a run is the start-up (parsing and checking); it exits with status 7.
# With "plain" the definitions hold no backticks. Over a megabyte, both are
# shared as they are parsed (the backticks' code here can tell nothing of
# it); with backticks, the checks also evaluate and rewrite 2 * COUNT
# backtick expressions.
#
#   bench/gen/definitions_program.sh COUNT [plain] > FILE
set -euo pipefail
tick='`'
[[ ${2:-} == plain ]] && tick=''
awk -v n="$1" -v tick="$tick" '
function name(i,  s) { s = "fn"; do { s = s sprintf("%c", 97 + i % 26); i = int(i / 26) } while (i > 0); return s }
BEGIN {
  printf "argv\\K(7,%s)", name(0)
  for (i = 0; i < n; ++i) {
    next_call = i + 1 < n ? name(i + 1) "(q,count+1)" : "count"
    printf ",%s\\first\\count\\p q{V first [text %d]}total{count*2+%d}K(%s,S(K total)(I p)%s(K 1 2)%s(total))", name(i), i, i, next_call, tick, tick
    if (i % 10 == 9) printf ",dead%s\\x\\x+undefined%s", name(i), name(i)
  }
}'
