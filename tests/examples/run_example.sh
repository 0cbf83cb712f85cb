#!/usr/bin/env bash
# Runs one example case: tests/examples/CASE.args names the program under
# examples/ on its first line and gives its arguments on the next ones (one
# per line, paths relative to the source folder, where the case runs).
# Beside it: CASE.stdout (exact expected output), and optionally
# CASE.stderr (exact), CASE.code (expected exit status, default 0) and
# CASE.stdin (standard input, default empty).
set -u
source "$(dirname "$0")/../check_run.sh"
mox=$1 source=$2 case=${3%.args}

mapfile -t args < "$case.args"
program=examples/${args[0]}
stdin=/dev/null
[[ -f $case.stdin ]] && stdin=$case.stdin

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
(cd "$source" && "$mox" "$program" "${args[@]:1}") <"$stdin" >"$out" 2>"$err"
status=$?

[[ -f $case.stdout ]] || { echo "$case.stdout is missing"; exit 1; }
check_run "$case" "$status" "$out" "$err"
