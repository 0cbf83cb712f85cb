#!/usr/bin/env bash
# Checks that the program-test runner notices a wrong exit status and a
# wrong output, so that a broken runner cannot make every program test pass.
set -u
mox=$1
runner=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
: > "$tmp/t.mox"                      # mox alone prints usage: status 1
printf '1\n' > "$tmp/t.code"
printf '' > "$tmp/t.argv"             # no arguments at all after mox
bash "$runner" "$mox" "$tmp/t.mox" >/dev/null || { echo "runner rejected a passing case"; exit 1; }
printf '7\n' > "$tmp/t.code"
bash "$runner" "$mox" "$tmp/t.mox" >/dev/null && { echo "runner accepted a wrong status"; exit 1; }
printf '1\n' > "$tmp/t.code"
printf 'not what mox prints' > "$tmp/t.stderr"
bash "$runner" "$mox" "$tmp/t.mox" >/dev/null && { echo "runner accepted a wrong stderr"; exit 1; }
echo "runner self-test passed"
