# Sourced by the test runners: compares a finished run of mox with the files
# of its test case, BASE.code (expected exit status, default 0) and, when
# present, BASE.stdout and BASE.stderr (exact). Prints what differs and
# exits with 1 if anything does, 0 otherwise.
check_run() {
  local base=$1 status=$2 out=$3 err=$4 expected=0 failed=0 stream file
  [[ -f $base.code ]] && expected=$(tr -d '[:space:]' < "$base.code")
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
}
