#!/usr/bin/env bash
# SIGKILL during a stream of submissions, a few times over on one SQLite
# file, or with `postgres` on one PostgreSQL database: every run answered
# 201 is still there, byte for byte, and the database opens cleanly after
# each kill.
SERVER=$1
RECORDINGS=$2
. "$(dirname "$0")/lib.sh"
[ "${3:-sqlite}" = sqlite ] || use_postgres

count=80
mkdir "$work/runs"
"$RECORDINGS" "$work/runs" "$count" 20 || fail "cannot make the recordings"
: >"$work/answered"
next=1
for round in 1 2 3 4; do
    start_server --workers 2
    (
        i=$next
        while [ "$i" -le "$count" ]; do
            code=$(submit "$work/runs/$i.replay") || exit 0
            [ "$code" = 201 ] && echo "$i $(sed 's/^{"id":\([0-9]*\).*/\1/' "$work/answer")" \
                >>"$work/answered"
            i=$((i + 1))
        done
    ) &
    stream=$!
    # Killed once this round's stream is under way: a loaded machine (or a
    # slower database) slows the stream, not the test.
    answered=$(wc -l <"$work/answered")
    for _ in $(seq 400); do
        [ "$(wc -l <"$work/answered")" -gt "$answered" ] && break
        sleep 0.05
    done
    sleep "0.$((2 + round))"
    kill -KILL "$server_pid"
    wait "$server_pid" 2>/dev/null
    server_pid=
    wait "$stream"
    [ "$(wc -l <"$work/answered")" -gt 0 ] || fail "round $round: nothing answered 201"
    # Resume after the last run answered; one sent but unanswered is sent again.
    next=$(($(tail -n 1 "$work/answered" | cut -d' ' -f1) + 1))
done

start_server
[ "$(curl -s "$base/healthz")" = '{"ok":true}' ] || fail "the database does not answer"
kept=0
while read -r i id; do
    sha=$(sha256sum "$work/runs/$i.replay" | cut -d' ' -f1)
    answer=$(curl -s "$base/api/runs/$id")
    case $answer in *"\"sha256\":\"$sha\""*) ;; *) fail "run $id (file $i) lost: $answer" ;; esac
    kept=$((kept + 1))
done <"$work/answered"
kill -TERM "$server_pid"
wait "$server_pid"
server_pid=
echo "orbitrix-server on ${3:-sqlite}: $kept runs answered 201 across 4 SIGKILLs, all kept"
