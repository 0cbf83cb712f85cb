#!/usr/bin/env bash
# Runs examples/echo_server.mox and examples/echo_client.mox against each
# other on 127.0.0.1: the server is started on a port picked at random below
# the host's ephemeral range (another one when that port is taken, which the
# server tells by its exit status 3), two clients send their words, each must
# get them back, and the server must then end by itself, having served its
# count of two. Every wait is bounded; whatever is still running at the end
# is killed.
set -u
mox=$1
examples=$2
work=$(mktemp -d)
server=
cleanup() {
  [[ -n $server ]] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "$*"
  echo "--- server stdout:"; cat "$work/out" 2>/dev/null
  echo "--- server stderr:"; cat "$work/err" 2>/dev/null
  exit 1
}

# Starts the server on $port; true once it says it listens.
start_server() {
  : >"$work/out"
  "$mox" "$examples/echo_server.mox" "$port" 2 >"$work/out" 2>"$work/err" &
  server=$!
  for _ in $(seq 100); do
    grep -q "^listening on 127.0.0.1 port $port\$" "$work/out" && return 0
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
  done
  wait "$server"
  status=$?
  server=
  [[ $status == 3 ]] || fail "the server stopped with status $status before listening"
  return 1
}

started=
for _ in $(seq 20); do
  port=$((20000 + RANDOM % 12000))
  start_server && started=1 && break
done
[[ -n $started ]] || fail "no free port found"

# One client: its words must come back, joined by spaces, with a newline.
check_client() {
  local expected=$1
  shift
  timeout 10 "$mox" "$examples/echo_client.mox" "$port" "$@" >"$work/got" 2>"$work/client_err"
  local status=$?
  [[ $status == 0 ]] || fail "the client ended with status $status: $(cat "$work/client_err")"
  printf '%s\n' "$expected" | cmp -s - "$work/got" || fail "echoed: $(od -c "$work/got" | head -5)"
}

check_client "hello world" hello world
check_client "[brackets] and  spaces" "[brackets]" "and " spaces

for _ in $(seq 100); do
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$server" 2>/dev/null && fail "the server did not end after its two connections"
wait "$server"
status=$?
server=
[[ $status == 0 ]] || fail "the server ended with status $status"
echo "echoed both clients' words"
