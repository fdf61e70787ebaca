#!/usr/bin/env bash
# Two servers on one PostgreSQL database serve one board: runs sent to
# either are on both, and the same run sent to both at the same moment is
# stored once, answered 201 by one and 200 by the other with one id.
# Usage: two_servers_one_postgres.sh ORBITRIX-SERVER TESTS-DATA
SERVER=$1 DATA=$2
. "$(dirname "$0")/board_lib.sh"

database=$(fresh_postgres)
start_server one "$database"
start_server two "$database"

# Runs sent to one server and the other in turn.
for n in $(seq 0 5); do
    recording "$n" >"$work/run$n"
    port=$one_port
    [ $((n % 2)) -eq 0 ] || port=$two_port
    answer=$(post "$port" "$work/run$n")
    [ "${answer%% *}" = 201 ] || fail "run $n: $answer"
done

# The same bytes to both at once, round after round.
for n in $(seq 6 13); do
    recording "$n" >"$work/run$n"
    post "$one_port" "$work/run$n" >"$work/one$n" &
    first=$!
    post "$two_port" "$work/run$n" >"$work/two$n" &
    second=$!
    wait "$first" "$second"
    answers=$(cat "$work/one$n" "$work/two$n" | sort)
    ids=$(cut -d' ' -f2 <<<"$answers" | sort -u)
    [ "$(cut -d' ' -f1 <<<"$answers" | tr '\n' ' ')" = "200 201 " ] ||
        fail "run $n sent to both: $(tr '\n' ' ' <<<"$answers"), not one 201 and one 200"
    [ "$(wc -l <<<"$ids")" -eq 1 ] || fail "run $n sent to both has two ids: $ids"
done

# Both show the same board, every page, and each other's runs.
for query in "" "?level=4" "?level=1&limit=5&offset=5" "?kind=open&offset=20"; do
    get "$one_port" "/api/board$query" >"$work/board-one"
    get "$two_port" "/api/board$query" >"$work/board-two"
    cmp -s "$work/board-one" "$work/board-two" ||
        fail "the boards differ for '$query': $(cat "$work/board-one") vs $(cat "$work/board-two")"
done
grep -q '"total":28,' <(get "$one_port" /api/board) ||
    fail "14 runs of 2 games, but $(get "$one_port" /api/board | head -c 120)"
grep -q '"total":14,' <(get "$two_port" "/api/board?level=4") || fail "level 4's total"
for n in 0 7 13; do
    name=$(sed -n 's/^game lost .* "\(.*\)"$/\1/p' "$work/run$n")
    id=$(post "$one_port" "$work/run$n" | cut -d' ' -f2)
    get "$two_port" "/api/runs/$id" | grep -q "\"name\":\"$name\"" ||
        fail "run $n ($name) is not run $id on the second server"
    get "$two_port" "/runs/$id.replay" | cmp -s - "$work/run$n" ||
        fail "run $n's recording from the second server differs"
done
echo "two servers, one board: 14 runs, 8 sent to both at once, each stored once"
