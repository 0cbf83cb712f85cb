#!/usr/bin/env bash
# Every program in examples/ opens with a header text, _{[NAME.mox: ...]},
# that says what it does and holds a "Run: mox NAME.mox" line (the language
# has no comments; an unused let is the nearest thing), has an entry in
# examples/README.md, and is run by a case under tests/examples/ (the echo
# pair by tests/echo_examples.sh).
set -u
cd "$1" || exit 1
missing=0
for path in examples/*.mox; do
  program=${path#examples/}
  head -n 1 "$path" | grep -q "^_{\[$program: " || { echo "$path does not open with its header"; missing=1; }
  grep -q "^Run: mox $program" "$path" || { echo "$path has no Run: line"; missing=1; }
  grep -q "^- \`$program" examples/README.md || { echo "examples/README.md has no entry for $program"; missing=1; }
  grep -qx "$program" tests/examples/*.args || grep -q "/$program\"" tests/echo_examples.sh ||
    { echo "no case under tests/examples/ runs $program"; missing=1; }
done
exit $missing
