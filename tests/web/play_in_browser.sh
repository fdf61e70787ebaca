#!/usr/bin/env bash
# The game played in headless Chromium from the board's /play page: a
# server on SQLite in a scratch folder, play_in_browser.mjs at the keys.
#   play_in_browser.sh SERVER WEB_DIR MODULES SHOTS_DIR ORBITRIX
set -euo pipefail
server=$1 web_dir=$2 modules=$3 shots=$4 program=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/board_server.sh"
start_board "$server" "$web_dir"
mkdir -p "$shots"
ORBITRIX_WEB_MODULES=$modules node "$here/play_in_browser.mjs" "$base" "$shots" \
    "$program"
