#!/usr/bin/env bash
# The manual page as installed (version filled in): groff reads it without a
# single warning, and man renders it with its sections.
set -u
page=$1
warnings=$(groff -man -ww -z "$page" 2>&1) || { echo "groff failed: $warnings"; exit 1; }
if [[ -n $warnings ]]; then
  echo "groff warns:"; echo "$warnings"; exit 1
fi
text=$(MANPAGER=cat MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$page" 2>&1) || { echo "man failed: $text"; exit 1; }
failed=0
for heading in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" DIAGNOSTICS ENVIRONMENT FILES EXAMPLES; do
  grep -q "^$heading\$" <<<"$text" || { echo "no section $heading"; failed=1; }
done
grep -q '@[A-Z_]*@' "$page" && { echo "a placeholder is left in $page"; failed=1; }
grep -q '^ *mox file \[argument\.\.\.\]$' <<<"$text" || { echo "no synopsis line"; failed=1; }
[[ $failed == 0 ]] && echo "the manual page renders cleanly"
exit $failed
