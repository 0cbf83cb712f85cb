#!/usr/bin/env bash
# Runs the program tests with the WebAssembly interpreter (mox_node.js under
# node, on the host's files): every tests/programs/**/NAME.mox, then the
# browser build's own tests/web/programs/NAME.mox (the members that fail
# there by design), each through tests/run_program.sh exactly as the console
# build's are run.
#
# Usage: node_programs.sh SOURCE_DIR WASM_BUILD_DIR
set -u
source=$1
build=$2
runner=$build/web/mox_node
if ! command -v node >/dev/null; then
  echo "SKIPPED: node not found; tools/deps installs it (with emscripten)"
  exit 77
fi
if [[ ! -x $runner ]]; then
  echo "no $runner: build the wasm preset first"
  exit 1
fi
# Tests of the console host's own limits, which WebAssembly does not share:
# its memory has no protected pages (a low address reads as any other),
# sizes are 32-bit, so absurd requests are reported at another size,
# there is no command processor for `system`, and no process file system
# through which a program writes its own memory.
host_only='^(robust/(fault_|post_)|bridge/(system_|process_memory_))'
passed=0 failed=0
for folder in "$source/tests/programs" "$source/tests/web/programs"; do
  while IFS= read -r program; do
    name=${program#"$folder"/}
    name=${name%.mox}
    [[ $name =~ $host_only ]] && continue
    if log=$(bash "$source/tests/run_program.sh" "$runner" "$program" 2>&1); then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "FAIL $name"
      echo "$log" | head -30
    fi
  done < <(find "$folder" -name '*.mox' | sort)
done
echo "$passed passed, $failed failed"
((failed == 0))
