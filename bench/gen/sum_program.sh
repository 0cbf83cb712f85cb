#!/usr/bin/env bash
# Writes a program that sums TERMS ones, in one of three forms:
#   mox-infix  a\1+1+...+1          (2 bytes a term: 5,000,000 terms = 10 MB)
#   mox-call   a\plus(1,plus(1,...)) (8 bytes a term, nested TERMS deep)
#   bc         (1+1+...+1)%256
#
#   bench/gen/sum_program.sh FORM TERMS > FILE
set -euo pipefail
form=$1 n=$2
case $form in
  mox-infix) printf 'a\\'; awk -v n="$n" 'BEGIN { ORS = ""; for (i = 1; i < n; i++) print "1+"; print "1\n" }' ;;
  mox-call) printf 'a\\'; awk -v n="$n" 'BEGIN { ORS = ""; for (i = 1; i < n; i++) print "plus(1,"; print "1"; for (i = 1; i < n; i++) print ")"; print "\n" }' ;;
  bc) awk -v n="$n" 'BEGIN { ORS = ""; print "("; for (i = 1; i < n; i++) print "1+"; print "1)%256\n" }' ;;
  *) echo "unknown form $form" >&2; exit 1 ;;
esac
