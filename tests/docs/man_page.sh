#!/usr/bin/env bash
# The manual page as installed (version filled in): groff reads it without a
# single warning, man renders it with its sections, and every command of its
# EXAMPLES that is shown with output prints exactly that output (run on the
# examples of the source folder with the mox under test).
set -u
for tool in groff man; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed (tools/deps installs it)"; exit 77; }
done
page=$1 mox=$(realpath "$2") source=$3
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

# run COMMAND EXPECTED: runs a "$ " line of EXAMPLES, when output follows it.
run() {
  [[ -z $1 || -z $2 ]] && return
  local actual
  actual=$(cd "$source" && PATH="$(dirname "$mox"):$PATH" bash -c "${1//\/usr\/share\/doc\/mox\//}" 2>&1)
  [[ $actual == "$2" ]] || { printf 'EXAMPLES: %s printed\n%s\ninstead of\n%s\n' "$1" "$actual" "$2"; failed=1; }
}
command= expected=
while IFS= read -r line; do
  line=${line#       }
  if [[ $line == '$ '* || -z $line ]]; then
    run "$command" "$expected"
    command= expected=
    [[ $line == '$ '* ]] && command=${line#'$ '}
  elif [[ -n $command ]]; then
    expected+=${expected:+$'\n'}$line
  fi
done < <(sed -n '/^EXAMPLES$/,/^[^ E]/p' <<<"$text"; echo)
[[ $failed == 0 ]] && echo "the manual page renders cleanly and its examples hold"
exit $failed
