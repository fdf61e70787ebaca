#!/usr/bin/env bash
# orbitrix-server as a process: its command line, and SIGTERM while a
# submission is being replayed: the submission is answered and kept, the
# server exits 0, and the database opens again with the run in it.
SERVER=$1
RECORDINGS=$2
. "$(dirname "$0")/lib.sh"

"$SERVER" --help >"$work/out" 2>"$work/err" || fail "--help: status $?"
grep -q '^Usage: orbitrix-server ' "$work/out" || fail "--help: no usage line"
[ ! -s "$work/err" ] || fail "--help wrote to stderr"
[ "$("$SERVER" -V)" = "orbitrix-server 1.0.0" ] || fail "-V: $("$SERVER" -V)"
"$SERVER" --workers 0 >"$work/out" 2>"$work/err"
[ $? = 2 ] || fail "--workers 0: not status 2"
[ "$(cat "$work/err")" = "orbitrix-server: bad value '0' for --workers
Try 'orbitrix-server --help'." ] || fail "--workers 0 said: $(cat "$work/err")"
"$SERVER" --listen 127.0.0.1:0 --database "$work/no/such/dir/b.sqlite3" 2>"$work/err"
[ $? = 1 ] || fail "an unopenable database: not status 1"
grep -q '^orbitrix-server: cannot open ' "$work/err" || fail "unopenable: $(cat "$work/err")"

# The default database goes under XDG_DATA_HOME, its folder made.
XDG_DATA_HOME="$work/xdg" "$SERVER" --listen 127.0.0.1:0 2>"$work/xdg.log" &
pid=$!
for _ in $(seq 100); do grep -q 'serving on' "$work/xdg.log" && break; sleep 0.05; done
kill -TERM "$pid"
wait "$pid" || fail "SIGTERM on an idle server: status $?"
[ -f "$work/xdg/orbitrix/board.sqlite3" ] || fail "no default database: $(cat "$work/xdg.log")"

# A SIGTERM at any moment of the start, before the server listens too,
# stops it: by its default action before the server takes the signal over
# (143), cleanly after (0); never a server left serving.
for delay in 0 0.005 0.01 0.02 0.05 0.1; do
  XDG_DATA_HOME="$work/xdg" "$SERVER" --listen 127.0.0.1:0 2>"$work/early.log" &
  pid=$!
  sleep "$delay"
  kill -TERM "$pid"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "SIGTERM after ${delay}s of start: still serving 5 s later"
  fi
  wait "$pid"
  status=$?
  [ "$status" = 0 ] || [ "$status" = 143 ] || fail "SIGTERM after ${delay}s of start: status $status"
done

mkdir "$work/slow"
# An hour and a half of play: long enough a replay to stop the server in.
"$RECORDINGS" "$work/slow" 1 5400 || fail "cannot make the recording"
start_server --workers 1
submit "$work/slow/1.replay" >"$work/status" &
submitter=$!
port=${base##*:}
in_flight() { ss -Htn state established "( dport = :$port )" | grep -q .; }
for _ in $(seq 200); do in_flight && break; sleep 0.01; done
in_flight || fail "the submission never reached the server"
kill -TERM "$server_pid"
wait "$submitter"
wait "$server_pid"
status=$?
server_pid=
[ "$status" = 0 ] || fail "SIGTERM: status $status"
[ "$(cat "$work/status")" = 201 ] || fail "the submission under way got $(cat "$work/status")"
grep -q '^orbitrix-server: stopped$' "$work/server.log" || fail "no 'stopped' line"
grep -Eq ' 127\.0\.0\.1 POST /api/runs 201 [0-9]+ [0-9]+ms$' "$work/server.log" ||
    fail "no log line for the submission"

start_server
answer=$(curl -s "$base/api/runs/1")
sha=$(sha256sum "$work/slow/1.replay" | cut -d' ' -f1)
case $answer in *"\"sha256\":\"$sha\""*) ;; *) fail "the run was not kept: $answer" ;; esac
curl -s "$base/runs/1.replay" | cmp -s - "$work/slow/1.replay" || fail "other bytes served back"
kill -TERM "$server_pid"
wait "$server_pid" || fail "second SIGTERM: status $?"
server_pid=
echo "orbitrix-server: command line and SIGTERM ok"
