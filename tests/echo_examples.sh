#!/usr/bin/env bash
# Runs examples/echo_server.mox (count 2) and two examples/echo_client.mox on
# 127.0.0.1: each client must get its words back, and the server must then
# end by itself with status 0. The port is picked at random below the host's
# ephemeral range, and again while the server finds it taken (its status 3).
# Every wait is bounded; a server still running at the end is killed.
set -u
mox=$1 examples=$2 work=$(mktemp -d) server=
trap '[[ -n $server ]] && kill $server 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "$*"; cat "$work/out" "$work/err" 2>/dev/null; exit 1; }

listening() {
  "$mox" "$examples/echo_server.mox" "$port" 2 >"$work/out" 2>"$work/err" &
  server=$!
  for _ in $(seq 100); do
    grep -qx "listening on 127.0.0.1 port $port" "$work/out" && return 0
    kill -0 $server 2>/dev/null || break
    sleep 0.1
  done
  wait $server
  local status=$?
  server=
  [[ $status == 3 ]] || fail "server stopped with status $status before listening"
  return 1
}

for _ in $(seq 20); do
  port=$((20000 + RANDOM % 12000))
  listening && break
done
[[ -n $server ]] || fail "no free port found"

echoes() {  # expected reply, then the client's words
  local expected=$1
  shift
  timeout 10 "$mox" "$examples/echo_client.mox" "$port" "$@" >"$work/got" || fail "client failed"
  printf '%s\n' "$expected" | cmp -s - "$work/got" || fail "echoed: $(od -c "$work/got" | head -5)"
}
echoes "hello world" hello world
echoes "[brackets] and  spaces" "[brackets]" "and " spaces

for _ in $(seq 100); do kill -0 $server 2>/dev/null && sleep 0.1; done
kill -0 $server 2>/dev/null && fail "server did not end after two connections"
wait $server || fail "server ended with status $?"
server=
echo "both clients got their words back"
