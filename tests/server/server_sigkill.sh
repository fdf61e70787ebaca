#!/usr/bin/env bash
# SIGKILL during a stream of submissions, a few times over on one SQLite
# file: every run answered 201 is still there, byte for byte, and the
# database opens cleanly after each kill.
SERVER=$1
RECORDINGS=$2
. "$(dirname "$0")/lib.sh"

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
echo "orbitrix-server: $kept runs answered 201 across 4 SIGKILLs, all kept"
