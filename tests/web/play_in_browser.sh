#!/usr/bin/env bash
# The game played in headless Chromium from the board's /play page: a
# server on SQLite in a scratch folder, play_in_browser.mjs at the keys.
#   play_in_browser.sh SERVER WEB_DIR MODULES SHOTS_DIR ORBITRIX
set -euo pipefail
server=$1 web_dir=$2 modules=$3 shots=$4 program=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server_pid=
finish() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

"$server" --listen 127.0.0.1:0 --database "$work/board.sqlite3" --web "$web_dir" \
    2>"$work/server.log" &
server_pid=$!
for _ in $(seq 100); do
    port=$(sed -n 's/.*serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/server.log")
    [ -n "$port" ] && break
    sleep 0.1
done
if [ -z "${port:-}" ]; then
    echo "the server did not start:" >&2
    cat "$work/server.log" >&2
    exit 1
fi
mkdir -p "$shots"
ORBITRIX_WEB_MODULES=$modules node "$here/play_in_browser.mjs" "http://127.0.0.1:$port" "$shots" \
    "$program"
