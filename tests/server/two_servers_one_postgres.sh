#!/usr/bin/env bash
# Two servers on one PostgreSQL database serve one board: runs sent to
# either are on both, and the same run sent to both at the same moment is
# stored once, answered 201 by one and 200 by the other with one id; and
# runs sent with tickets to both at once are stored, open: not played live.
SERVER=$1
RECORDINGS=$2
. "$(dirname "$0")/lib.sh"
use_postgres

mkdir "$work/runs"
"$RECORDINGS" "$work/runs" 14 10 || fail "cannot make the recordings"
[ "$(sha256sum "$work"/runs/*.replay | cut -d' ' -f1 | sort -u | wc -l)" = 14 ] ||
    fail "the recordings are not 14 different ones"
start_server
one=$base one_pid=$server_pid
trap 'kill -KILL "$one_pid" 2>/dev/null; cleanup' EXIT
mv "$work/server.log" "$work/one.log"
start_server
two=$base

# post BASE N: "STATUS ID" for run N.
post() {
    local answer=$work/answer-${1##*:}-$2 status
    status=$(curl -s --max-time 30 -o "$answer" -w '%{http_code}' -H 'Content-Type: text/plain' \
        --data-binary "@$work/runs/$2.replay" "$1/api/runs") || status=000
    echo "$status $(sed -n 's/^{"id":\([0-9]*\),.*/\1/p' "$answer" 2>/dev/null)"
}

# Runs sent to one server and the other in turn.
for n in 1 2 3 4 5 6; do
    to=$one
    [ $((n % 2)) -eq 0 ] || to=$two
    answer=$(post "$to" "$n")
    [ "${answer%% *}" = 201 ] || fail "run $n: $answer"
done

# The same bytes to both at once, round after round.
for n in $(seq 7 14); do
    post "$one" "$n" >"$work/both-one" &
    first=$!
    post "$two" "$n" >"$work/both-two" &
    second=$!
    wait "$first" "$second"
    answers=$(sort "$work/both-one" "$work/both-two")
    [ "$(cut -d' ' -f1 <<<"$answers" | tr '\n' ' ')" = "200 201 " ] ||
        fail "run $n sent to both: $(tr '\n' ' ' <<<"$answers"), not one 201 and one 200"
    [ "$(cut -d' ' -f2 <<<"$answers" | sort -u | wc -l)" -eq 1 ] ||
        fail "run $n sent to both has two ids: $(tr '\n' ' ' <<<"$answers")"
done

# Both show the same board, page by page, and each other's runs.
total=$(curl -s "$one/api/board" | sed -n 's/.*"total":\([0-9]*\),.*/\1/p')
[ "$total" -gt 0 ] || fail "an empty board"
for query in "" "?level=1" "?limit=3&offset=2" "?kind=open&offset=$((total - 2))"; do
    curl -s "$one/api/board$query" >"$work/board-one"
    curl -s "$two/api/board$query" >"$work/board-two"
    cmp -s "$work/board-one" "$work/board-two" ||
        fail "the boards differ for '$query': $(cat "$work/board-one") vs $(cat "$work/board-two")"
done
for n in 1 8 14; do
    id=$(post "$one" "$n" | cut -d' ' -f2)
    curl -s "$two/runs/$id.replay" | cmp -s - "$work/runs/$n.replay" ||
        fail "run $n is not run $id on the second server"
done
# Every run is stored once: the board's games come from 14 runs.
: >"$work/board-runs"
for offset in $(seq 0 100 "$total"); do
    curl -s "$two/api/board?offset=$offset" | grep -o '"run":[0-9]*' >>"$work/board-runs"
done
[ "$(wc -l <"$work/board-runs")" -eq "$total" ] || fail "the pages do not hold $total games"
[ "$(sort -u "$work/board-runs" | wc -l)" -eq 14 ] ||
    fail "the board's games come from $(sort -u "$work/board-runs" | wc -l) runs, not 14"

# A page's tag from one server is the other's too: both answer 304 to it,
# until a run comes to either (below), and then neither does.
revalidated() { # BASE TAG: the status of a revalidation of ?level=2
    curl -s -o /dev/null -w '%{http_code}' -H "If-None-Match: $2" "$1/api/board?level=2"
}
tag=$(curl -s -D - -o /dev/null "$one/api/board?level=2" | tr -d '\r' | sed -n 's/^etag: //Ip')
[ -n "$tag" ] || fail "the board's page has no tag"
for to in "$one" "$two"; do
    [ "$(revalidated "$to" "$tag")" = 304 ] || fail "$to does not keep the other's tag $tag"
done

# Ana's session and the same keys typed as Ann, both naming one ticket of
# their first game's seed, dealt an hour ago straight into the database.
python3 - "$(dirname "$0")/../data/session.replay" "$work" <<'PY'
import sys
ana = open(sys.argv[1]).read()
ann = ana.replace("key 110 0\nkey 97 0\nkey 13 0", "key 110 0\nkey 110 0\nkey 13 0", 1)
open(sys.argv[2] + "/ana.replay", "w").write(ana)
open(sys.argv[2] + "/ann.replay", "w").write(ann.replace('"Ana"', '"Ann"', 1))
PY
psql -qX "$database" -c "INSERT INTO tickets (id, seed, issued_ms) VALUES
    ('a1b2', 1765000004, (extract(epoch FROM now()) * 1000)::bigint - 3600000)" >/dev/null ||
    fail "cannot deal the ticket"
ranked_post() {
    curl -s --max-time 30 -H 'Content-Type: text/plain' --data-binary "@$work/$2.replay" \
        "$1/api/runs?tickets=a1b2" >"$work/ranked-$2"
}
ranked_post "$one" ana &
first=$!
ranked_post "$two" ann &
second=$!
wait "$first" "$second"
# Sent once played, neither ranks, however fresh its ticket: each is told so.
[ "$(cat "$work/ranked-ana" "$work/ranked-ann" | grep -o '"kind":"ranked"' | wc -l)" = 0 ] ||
    fail "a game sent after it was played ranked: $(cat "$work/ranked-ana" "$work/ranked-ann")"
[ "$(cat "$work/ranked-ana" "$work/ranked-ann" | grep -o '"open_because":"not played live' | wc -l)" -ge 2 ] ||
    fail "the games are not told they were not played live: $(cat "$work/ranked-ann")"
[ "$(curl -s "$two/api/board?kind=ranked" | sed -n 's/.*"total":\([0-9]*\),.*/\1/p')" = 0 ] ||
    fail "the ranked board holds a game sent after it was played"
for to in "$one" "$two"; do
    [ "$(revalidated "$to" "$tag")" = 200 ] || fail "$to keeps $tag after a run came"
done
echo "two servers, one board: 14 runs, 8 sent to both at once, each stored once ($total games)"
