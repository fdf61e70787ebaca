#!/usr/bin/env bash
# A live session watched in headless Chromium: a server on SQLite in a
# scratch folder, the committed session fed to it batch by batch as a client
# would stream it, and live_in_browser.mjs watching /live/ID while it plays.
#   live_in_browser.sh SERVER WEB_DIR MODULES SHOTS_DIR
set -euo pipefail
server=$1 web_dir=$2 modules=$3 shots=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/board_server.sh"
feeder_pid=
trap '[ -z "$feeder_pid" ] || kill "$feeder_pid" 2>/dev/null; stop_board' EXIT
start_board "$server" "$web_dir"

# Two lines every half second once the page watches: about 10 s of play.
python3 "$here/live_feeder.py" "$base" "$here/../data/session.replay" 2 0.5 1 >"$work/fed" &
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
