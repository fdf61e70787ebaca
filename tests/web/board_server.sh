# Sourced by the Chromium tests' scripts: start_board SERVER WEB_DIR [FLAG...]
# starts the board on SQLite in a scratch folder ($work) with the pages'
# files, and sets $base to its address; on exit the board is stopped and
# the folder removed. A board that does not start stops the script with
# its log.
work=$(mktemp -d)
board_pid=
stop_board() {
    [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null && wait "$board_pid" 2>/dev/null
    rm -rf "$work"
}
trap stop_board EXIT

start_board() {
    local server=$1 web_dir=$2 port=
    shift 2
    # The log exists before the board starts: the loop below reads it at once.
    : >"$work/server.log"
    "$server" --listen 127.0.0.1:0 --database "$work/board.sqlite3" --web "$web_dir" "$@" \
        2>"$work/server.log" &
    board_pid=$!
    for _ in $(seq 100); do
        port=$(sed -n 's/.*serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/server.log")
        [ -n "$port" ] && break
        sleep 0.1
    done
    if [ -z "$port" ]; then
        echo "the server did not start:" >&2
        cat "$work/server.log" >&2
        exit 1
    fi
    base=http://127.0.0.1:$port
}
