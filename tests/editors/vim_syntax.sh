#!/usr/bin/env bash
# Colours every example with editors/vim/syntax/mox.vim in Vim's batch mode
# (tests/editors/vim_check.vim tells what is checked).
set -u
command -v vim >/dev/null || { echo "skipped: vim is not installed (tools/deps installs it)"; exit 77; }
source=$1
report=$(mktemp)
trap 'rm -f "$report"' EXIT
cd "$source" || exit 1
mapfile -t files < <(find examples -name '*.mox' | sort)
vim -N -u NONE -i NONE -es --cmd 'set rtp^=editors/vim' --cmd "let g:report = '$report'" \
    -S tests/editors/vim_check.vim -- "${files[@]}" </dev/null
status=$?
cat "$report"
exit $status
