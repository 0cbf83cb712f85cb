#!/usr/bin/env bash
# Builds the wasm preset (build/wasm) for the tests that use the WebAssembly
# interpreter. Exit status 77 (skipped) when a tool they need is missing.
# Usage: build_wasm.sh SOURCE_DIR
set -eu
for tool in emcc node chromium; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool not found; tools/deps installs it"
    exit 77
  fi
done
cd "$1"
export NODE_PATH=/usr/share/nodejs  # where Debian's emscripten finds its JavaScript modules
cmake --preset wasm
cmake --build --preset wasm
