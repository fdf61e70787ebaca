#!/usr/bin/env bash
# A server killed with SIGKILL in the middle of a stream of submissions
# keeps every run it answered 201 for, and its database opens cleanly after:
# round after round, a client sends runs one after another while the server
# is killed at a random moment; then a fresh server must hold each of them.
# Usage: sigkill_during_submissions.sh ORBITRIX-SERVER TESTS-DATA sqlite|postgres
SERVER=$1 DATA=$2 engine=$3
. "$(dirname "$0")/board_lib.sh"

case "$engine" in
sqlite) database=$work/board.sqlite3 ;;
postgres) database=$(fresh_postgres) ;;
*) fail "unknown engine '$engine'" ;;
esac

rounds=6
: >"$work/acknowledged"
next=0
for round in $(seq "$rounds"); do
    start_server "round$round" "$database"
    port_var=round${round}_port pid_var=round${round}_pid
    port=${!port_var} pid=${!pid_var}
    # The client: each run's answer, as it came, in the acknowledged list.
    (
        for n in $(seq "$next" $((next + 40))); do
            recording "$n" >"$work/run$n"
            answer=$(post "$port" "$work/run$n") || exit 0
            case "$answer" in
            "201 "*) echo "$n ${answer#* }" >>"$work/acknowledged" ;;
            *) echo "run $n: $answer" >>"$work/unexpected" ;;
            esac
        done
    ) &
    client=$!
    # Killed once this round's stream is under way, at a random moment of
    # a later submission: a loaded machine slows the stream, not the test.
    before=$(wc -l <"$work/acknowledged")
    for tries in $(seq 400); do
        [ "$(wc -l <"$work/acknowledged")" -gt "$before" ] && break
        kill -0 "$client" 2>/dev/null || break
        sleep 0.05
    done
    sleep "0.$((RANDOM % 5))"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    wait "$client"
    next=$((next + 41))
done
[ ! -s "$work/unexpected" ] || fail "answers other than 201: $(cat "$work/unexpected")"
acknowledged=$(wc -l <"$work/acknowledged")
[ "$acknowledged" -ge "$rounds" ] || fail "only $acknowledged runs answered 201 in $rounds rounds"

start_server after "$database"
while read -r n id; do
    name=$(sed -n 's/^game lost .* "\(.*\)"$/\1/p' "$work/run$n")
    get "$after_port" "/api/runs/$id" | grep -q "\"name\":\"$name\"" ||
        fail "run $n ($name), answered 201 as run $id, is gone"
    # Sent again, it is found, not stored a second time.
    [ "$(post "$after_port" "$work/run$n")" = "200 $id" ] || fail "run $n sent again"
done <"$work/acknowledged"
get "$after_port" /healthz | grep -q '"ok":true' || fail "healthz after the kills"
echo "$engine: $acknowledged runs answered 201 across $rounds kills, all kept"
