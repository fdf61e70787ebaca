#!/usr/bin/env bash
# The /play page in windows of several sizes, in headless Chromium, from a
# board on SQLite in a scratch folder: window_in_browser.mjs.
#   window_in_browser.sh SERVER WEB_DIR MODULES SHOTS_DIR
set -euo pipefail
server=$1 web_dir=$2 modules=$3 shots=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/board_server.sh"
start_board "$server" "$web_dir"
mkdir -p "$shots"
ORBITRIX_WEB_MODULES=$modules node "$here/window_in_browser.mjs" "$base" "$shots"
