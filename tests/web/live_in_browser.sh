#!/usr/bin/env bash
# A live session watched in headless Chromium: a server on SQLite in a
# scratch folder, the committed session fed to it batch by batch as a client
# would stream it, and live_in_browser.mjs watching /live/ID while it plays.
#   live_in_browser.sh SERVER WEB_DIR MODULES SHOTS_DIR
set -euo pipefail
server=$1 web_dir=$2 modules=$3 shots=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server_pid= feeder_pid=
finish() {
    [ -n "$feeder_pid" ] && kill "$feeder_pid" 2>/dev/null
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
base=http://127.0.0.1:$port

# Two lines every half second: the session's 39 lines take about 10 s.
python3 "$here/live_feeder.py" "$base" "$here/../data/session.replay" 2 0.5 >"$work/fed" &
feeder_pid=$!
for _ in $(seq 100); do
    [ -s "$work/fed" ] && break
    sleep 0.1
done
session=$(head -n 1 "$work/fed")
mkdir -p "$shots"
ORBITRIX_WEB_MODULES=$modules node "$here/live_in_browser.mjs" "$base" "$shots" "$session"
wait "$feeder_pid"
feeder_pid=
