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

expected=0
[[ -f $base.code ]] && expected=$(tr -d '[:space:]' < "$base.code")
failed=0
if [[ $status != "$expected" ]]; then
  echo "exit status $status, expected $expected"
  failed=1
fi
for stream in stdout stderr; do
  file=$out
  [[ $stream == stderr ]] && file=$err
  if [[ -f $base.$stream ]] && ! cmp -s "$file" "$base.$stream"; then
    echo "$stream differs (expected, then actual):"
    od -c "$base.$stream" | head -40
    echo ---
    od -c "$file" | head -40
    failed=1
  fi
done
if [[ $failed != 0 ]]; then
  echo "--- stderr was:"; head -c 4000 "$err"
fi
exit $failed
