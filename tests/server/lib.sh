# Shared by the scripts that drive orbitrix-server as a process: a scratch
# folder, and a server started on a free loopback port.
#
# Sourced with SERVER set to the program and RECORDINGS to board_recordings.
set -u
work=$(mktemp -d)
server_pid=
cleanup() {
    # A background child that a signal ends before it execs the server runs
    # this trap too: only the script itself cleans up.
    [ "$BASHPID" = "$$" ] || return
    [ -n "$server_pid" ] && kill -KILL "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/server.log" ] && tail -n 20 "$work/server.log" >&2
    exit 1
}

# The database the servers use: $work/board.sqlite3 unless use_postgres
# gives them one on the tests' PostgreSQL cluster.
database=$work/board.sqlite3

# use_postgres: one on the tests' PostgreSQL cluster instead.
. "$(dirname "${BASH_SOURCE[0]}")/postgres.sh"

# Starts the server on $database with any extra options; sets $server_pid
# and $base once it listens.
start_server() {
    : >"$work/server.log"
    "$SERVER" --listen 127.0.0.1:0 --database "$database" \
        --submissions-per-minute 0 "$@" 2>>"$work/server.log" &
    server_pid=$!
    local port=
    for _ in $(seq 100); do
        port=$(sed -n 's/^orbitrix-server: serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' \
            "$work/server.log")
        [ -n "$port" ] && break
        kill -0 "$server_pid" 2>/dev/null || fail "the server did not start"
        sleep 0.05
    done
    [ -n "$port" ] || fail "the server did not say where it listens"
    base="http://127.0.0.1:$port"
}

# The status of POSTing FILE to /api/runs; the answer's body in $work/answer.
submit() {
    curl -s -o "$work/answer" -w '%{http_code}' --max-time 30 \
        -H 'Content-Type: text/plain' --data-binary "@$1" "$base/api/runs"
}
