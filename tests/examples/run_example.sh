#!/usr/bin/env bash
# Runs one example case: tests/examples/CASE.args names the program under
# examples/ on its first line and gives its arguments on the next ones (one
# per line, paths relative to the source folder, where the case runs).
# Beside it: CASE.stdout (exact expected output), and optionally
# CASE.stderr (exact), CASE.code (expected exit status, default 0) and
# CASE.stdin (standard input, default empty).
set -u
mox=$1 source=$2 case=${3%.args}

mapfile -t args < "$case.args"
program=examples/${args[0]}
stdin=/dev/null
[[ -f $case.stdin ]] && stdin=$case.stdin

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
(cd "$source" && "$mox" "$program" "${args[@]:1}") <"$stdin" >"$out" 2>"$err"
status=$?

expected=0
[[ -f $case.code ]] && expected=$(tr -d '[:space:]' < "$case.code")
failed=0
if [[ $status != "$expected" ]]; then
  echo "exit status $status, expected $expected"
  failed=1
fi
for stream in stdout stderr; do
  file=$out
  [[ $stream == stderr ]] && file=$err
  if [[ -f $case.$stream ]] && ! diff "$case.$stream" "$file"; then
    echo "$stream differs (expected <, actual >)"
    failed=1
  fi
done
[[ -f $case.stdout ]] || { echo "$case.stdout is missing"; failed=1; }
if [[ $failed != 0 ]]; then
  echo "--- stderr was:"; head -c 4000 "$err"
fi
exit $failed
