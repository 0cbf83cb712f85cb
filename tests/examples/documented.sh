#!/usr/bin/env bash
# Every program in examples/ must have an entry in examples/README.md, which
# tells how to run it (the language has no comments to hold that).
set -u
cd "$1/examples" || exit 1
missing=0
for program in *.mox; do
  if ! grep -q "^- \`$program" README.md; then
    echo "examples/README.md has no entry for $program"
    missing=1
  fi
done
exit $missing
