#!/usr/bin/env bash
# Runs one program test: mox on tests/programs/<area>/NAME.mox, from the
# program's own directory, and compares what it did with the files beside it:
#   NAME.code    expected exit status (default 0)
#   NAME.stdout  exact expected standard output (checked only if present)
#   NAME.stderr  exact expected standard error (checked only if present)
#   NAME.args    arguments after the file name, one per line
#   NAME.argv    replaces the whole argument list (file name included)
#   NAME.stdin   standard input (default: empty)
set -u
source "$(dirname "$0")/check_run.sh"
mox=$1
program=$2
dir=$(dirname "$program")
base=$(basename "$program" .mox)
cd "$dir" || exit 99

args=("$base.mox")
if [[ -f $base.argv ]]; then
  mapfile -t args < "$base.argv"
elif [[ -f $base.args ]]; then
  mapfile -t extra < "$base.args"
  args+=("${extra[@]}")
fi
stdin=/dev/null
[[ -f $base.stdin ]] && stdin=$base.stdin

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"$mox" "${args[@]}" <"$stdin" >"$out" 2>"$err"
status=$?

check_run "$base" "$status" "$out" "$err"
