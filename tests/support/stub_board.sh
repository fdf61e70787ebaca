# The stand-in board of stub_board.py for an end-to-end test, sourced.
#
# start_stub_board DIR: starts it in DIR (made here) and sets $board to its
# address; stop_stub_board ends it. The board is on loopback: no proxy of
# the machine running the tests may see it.
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY

stub_board_pid=
start_stub_board() {
    local dir=$1 tries=50
    mkdir -p "$dir"
    python3 "$(dirname "${BASH_SOURCE[0]}")/stub_board.py" "$dir" &
    stub_board_pid=$!
    until [ -s "$dir/port" ]; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || { echo "FAIL: the stub board did not start" >&2; exit 1; }
        sleep 0.1
    done
    board="http://127.0.0.1:$(cat "$dir/port")"
}

stop_stub_board() {
    [ -z "$stub_board_pid" ] || { kill "$stub_board_pid" 2>/dev/null; wait "$stub_board_pid" 2>/dev/null; } || true
    stub_board_pid=
}
