#!/usr/bin/env bash
# Two servers on one PostgreSQL database: a live session fed to one is
# listed by the other and streamed from it as it is played, the other
# hearing of each batch from the database's notices; the end reaches the
# other's watchers, and its page becomes the run's. The other's listening
# connection, dropped, is opened again, and the next session is watched
# there as well.
SERVER=$1
. "$(dirname "$0")/lib.sh"
use_postgres
feeder=$(dirname "$0")/../web/live_feeder.py
recording=$(dirname "$0")/../data/session.replay

start_server
one=$base one_pid=$server_pid
trap 'kill -KILL "$one_pid" 2>/dev/null; cleanup' EXIT
mv "$work/server.log" "$work/one.log"
start_server
two=$base

# watched ROUND: the recording fed to one, two lines every half second
# (about 10 s), and watched on two from when two lists it to its end.
watched() {
    local fed=$work/fed-$1 stream=$work/stream-$1 id run
    python3 "$feeder" "$one" "$recording" 2 0.5 >"$fed" &
    local feeder_pid=$!
    for _ in $(seq 50); do
        [ -s "$fed" ] && break
        sleep 0.1
    done
    id=$(head -n 1 "$fed")
    [ -n "$id" ] || fail "round $1: no session opened on one"
    for _ in $(seq 50); do
        curl -s "$two/api/live" >"$work/listed" && grep -q "\"id\":$id," "$work/listed" && break
        sleep 0.1
    done
    grep -q "\"id\":$id," "$work/listed" && grep -q '"player":"Ana"' "$work/listed" ||
        fail "round $1: two does not list session $id: $(cat "$work/listed")"
    # Until the session ends, which ends the stream.
    curl -s -N --max-time 40 "$two/api/live/$id/stream" >"$stream" ||
        fail "round $1: two's stream did not end with the session"
    wait "$feeder_pid" || fail "round $1: the feeder failed"
    run=$(tail -n 1 "$fed" | python3 -c 'import json, sys; print(json.load(sys.stdin)["id"])')
    head -n 1 "$stream" | grep -q '^data: {"cols":80,"init":' ||
        fail "round $1: the stream does not open with the whole screen"
    # The second game's panel, as two's own replay draws it from the keys.
    grep -q 'Bob' "$stream" || fail "round $1: the stream never shows Bob's game"
    tail -n 3 "$stream" | grep -qx "event: done" ||
        fail "round $1: the stream does not end with the session: $(tail -n 3 "$stream")"
    [ "$(curl -s -o /dev/null -w '%{http_code} %{redirect_url}' "$two/live/$id")" = \
        "303 $two/runs/$run" ] || fail "round $1: two's page of session $id is not run $run's"
    curl -s "$two/api/live" | grep -q "\"id\":$id," && fail "round $1: two lists it after its end"
    curl -s "$two/runs/$run.replay" | cmp -s - "$recording" ||
        fail "round $1: run $run is not the recording fed"
    echo "round $1: session $id fed to one, watched on two to its end ($(wc -c <"$stream") bytes)"
}

watched 1
dropped=$(psql -qAtX "$database" -c "SELECT count(pg_terminate_backend(pid))
    FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()
    AND query IN ('LISTEN orbitrix_live', 'SELECT 1')")
[ "$dropped" -ge 2 ] || fail "the servers' listening connections were not found ($dropped)"
watched 2
