#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder
# and checks its metadata and contents; then runs the packaged interpreter
# on a packaged example.
set -u
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed (tools/deps installs it)"; exit 77; }
done
build=$1 version=$2 runtime=$3  # runtime: how mox links the C++ runtime, static or shared
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/log" 2>&1; then
  cat "$tmp/log"; exit 1
fi
deb=("$tmp"/mox_"$version"_*.deb)
[[ -f ${deb[0]} ]] || { echo "no package mox_${version}_*.deb:"; ls "$tmp"; exit 1; }
dpkg-deb -I "$deb" >"$tmp/info" && dpkg-deb -c "$deb" >"$tmp/contents" || exit 1

failed=0
field() { sed -n "s/^ $1: //p" "$tmp/info"; }
expect() {  # expect WHAT PATTERN TEXT
  grep -Eq "$2" <<<"$3" || { echo "$1: '$3' does not match /$2/"; failed=1; }
}
expect Package '^mox$' "$(field Package)"
expect Version "^$version\$" "$(field Version)"
expect Architecture '^amd64$' "$(field Architecture)"
expect Section '^interpreters$' "$(field Section)"
expect Maintainer '.+ <.+>' "$(field Maintainer)"
expect Description '^interpreter for' "$(field Description)"
depends=$(field Depends)
for library in libc6 libgmp10; do
  expect Depends "(^|, )$library( |,|$)" "$depends"
done
if [[ $runtime == static ]]; then
  ! grep -q 'libstdc++' <<<"$depends" || { echo "Depends: '$depends' names the C++ runtime"; failed=1; }
else
  expect Depends '(^|, )libstdc\+\+6( |,|$)' "$depends"
fi
for file in ./usr/bin/mox ./usr/share/man/man1/mox.1.gz \
    ./usr/share/doc/mox/examples/README.md ./usr/share/doc/mox/examples/hello.mox \
    ./usr/share/doc/mox/examples/sieve.mox ./usr/share/doc/mox/examples/wrap.mox ./usr/share/doc/mox/examples/calc.mox \
    ./usr/share/doc/mox/examples/tour/shape.mox ./usr/share/doc/mox/editors/mox.tmLanguage.json \
    ./usr/share/vim/vimfiles/syntax/mox.vim ./usr/share/vim/vimfiles/ftdetect/mox.vim; do
  grep -q " $file\$" "$tmp/contents" || { echo "the package lacks $file"; failed=1; }
done
grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/mox$' "$tmp/contents" || { echo "./usr/bin/mox is not an executable owned by root"; failed=1; }

dpkg-deb -x "$deb" "$tmp/root"
"$tmp/root/usr/bin/mox" "$tmp/root/usr/share/doc/mox/examples/hello.mox"
status=$?
[[ $status == 42 ]] || { echo "the packaged mox ran hello.mox with status $status"; failed=1; }

if [[ $failed != 0 ]]; then
  cat "$tmp/info" "$tmp/contents"
else
  echo "package $(basename "$deb") checked: $depends"
fi
exit $failed
