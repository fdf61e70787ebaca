# Sourced, after pane.sh, by the end-to-end tests that play against a board
# of their own: start_board [PORT] starts $SERVER on $work/board.sqlite3
# (the same database each time) over loopback, its log $work/server.log,
# and sets $board and $server_pid; stop_board stops it. Proxies are kept
# out of loopback, and the board is stopped with the test.
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY ORBITRIX_SERVER
server_pid=
trap '[ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null; cleanup' EXIT

start_board() {
    : >"$work/server.log"
    "$SERVER" --listen "127.0.0.1:${1:-0}" --database "$work/board.sqlite3" 2>"$work/server.log" &
    server_pid=$!
    wait_until 10 "the board to listen" grep -q '^orbitrix-server: serving on 127\.0\.0\.1:' \
        "$work/server.log"
    port=$(sed -n 's/^orbitrix-server: serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/server.log")
    board="http://127.0.0.1:$port"
}
stop_board() {
    kill "$server_pid"
    wait "$server_pid" || true
    server_pid=
}
