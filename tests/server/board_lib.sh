# Shared by the board's end-to-end tests: orbitrix-server processes on
# loopback ports, valid recordings told apart by their player's name, and a
# throwaway PostgreSQL database.
#
# Sourced with SERVER set to orbitrix-server and DATA to tests/data; gives
# $work, a scratch folder removed at exit with every server still running.
set -euo pipefail

work=$(mktemp -d)
servers=()
cleanup() {
    local pid
    for pid in "${servers[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -f "$log" ] && { echo "== $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

# start_server NAME DATABASE [OPTION...]: sets NAME_port and NAME_pid once
# the server answers /healthz; its log is $work/NAME.log.
start_server() {
    local name=$1 database=$2
    shift 2
    "$SERVER" --listen 127.0.0.1:0 --database "$database" "$@" 2>"$work/$name.log" &
    local pid=$!
    servers+=("$pid")
    local port="" tries
    for tries in $(seq 100); do
        port=$(sed -n 's/^orbitrix-server: serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/$name.log")
        [ -n "$port" ] && break
        kill -0 "$pid" 2>/dev/null || fail "$name did not start"
        sleep 0.05
    done
    [ -n "$port" ] || fail "$name did not say its port"
    printf -v "${name}_port" %s "$port"
    printf -v "${name}_pid" %s "$pid"
}

# The committed recording with its first player's name made from N: the
# name is typed and recorded, and the game it plays does not depend on it,
# so each N is a different, valid recording.
recording() {
    local n=$1 letters=abcdefghijklmnopqrstuvwxyz
    local second=${letters:$((n / 26 % 26)):1} third=${letters:$((n % 26)):1}
    local name="A$second$third"
    [ "$n" -lt 676 ] || fail "recording $n: names run out at 676"
    awk -v second="$(printf %d "'$second")" -v third="$(printf %d "'$third")" -v name="$name" '
        !done && $0 == "key 110 0" { print "key " second " 0"; next }
        !done && $0 == "key 97 0" { print "key " third " 0"; done = 1; next }
        $0 == "game lost 52 52 0 0 \"Ana\"" { print "game lost 52 52 0 0 \"" name "\""; next }
        { print }' "$DATA/session.replay"
}

# post PORT FILE: prints the status and the body's run id, "STATUS ID".
post() {
    local answer
    answer=$(curl -s --max-time 30 -w '\n%{http_code}' --data-binary "@$2" \
        "http://127.0.0.1:$1/api/runs") || return 1
    local status=${answer##*$'\n'}
    local id
    id=$(sed -n '1s/^{"id":\([0-9]*\),.*/\1/p' <<<"$answer")
    echo "$status ${id:-none}"
}

get() {
    curl -s --max-time 30 --fail "http://127.0.0.1:$1$2"
}

# A new, empty database on the cluster the ctest fixture started.
fresh_postgres() {
    local url
    url=$(cat "$ORBITRIX_PG_STATE/url") || fail "no cluster: run through ctest"
    local name="board_$$_$RANDOM"
    psql -qX "$url" -c "CREATE DATABASE $name" >/dev/null || fail "cannot create $name"
    sed "s|/orbitrix?|/$name?|" <<<"$url"
}
