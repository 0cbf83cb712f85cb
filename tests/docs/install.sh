#!/usr/bin/env bash
# cmake --install into a fresh prefix: the interpreter, its manual page and
# every example land where README.md says, and the installed mox runs an
# installed example.
set -u
build=$1 source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >"$prefix/log" 2>&1 || { cat "$prefix/log"; exit 1; }
failed=0
[[ -x $prefix/bin/mox ]] || { echo "no executable bin/mox"; failed=1; }
[[ -f $prefix/share/man/man1/mox.1.gz ]] || { echo "no share/man/man1/mox.1.gz"; failed=1; }
docs=$prefix/share/doc/mox
while read -r file; do
  cmp -s "$source/$file" "$docs/$file" || { echo "share/doc/mox/$file is missing or differs"; failed=1; }
done < <(cd "$source" && find examples -type f)
[[ -f $docs/editors/mox.tmLanguage.json && -f $prefix/share/vim/vimfiles/syntax/mox.vim ]] ||
  { echo "the editor files are missing"; failed=1; }
"$prefix/bin/mox" "$docs/examples/sieve.mox" 10 >"$prefix/out"
status=$?
[[ $status == 4 && $(cat "$prefix/out") == "2 3 5 7" ]] ||
  { echo "the installed mox ran sieve.mox 10 with status $status:"; cat "$prefix/out"; failed=1; }
[[ $failed == 0 ]] && echo "installed into $prefix and ran"
exit $failed
