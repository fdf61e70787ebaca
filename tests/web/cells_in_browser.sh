#!/usr/bin/env bash
# The page's terminal against the in-memory console, cell by cell: a board
# on SQLite in a scratch folder holding one recording made here (the first
# of board_sample_runs'), then cells_in_browser.mjs plays a session in the
# page and replays that run there, comparing the screens with frame_cells'.
#   cells_in_browser.sh SERVER WEB_DIR MODULES SHOTS_DIR FRAME_CELLS SAMPLE_RUNS
set -euo pipefail
server=$1 web_dir=$2 modules=$3 shots=$4 frame_cells=$5 sample_runs=$6
here=$(cd "$(dirname "$0")" && pwd)
. "$here/board_server.sh"

"$sample_runs" "$work"
start_board "$server" "$web_dir"
status=$(curl -sS --fail-with-body -o "$work/answer" -w '%{http_code}' \
    --data-binary "@$work/1.replay" -H 'Content-Type: text/plain' "$base/api/runs") ||
    { cat "$work/answer" >&2; exit 1; }
[ "$status" = 201 ] || { echo "sending the sample run: $status" >&2; exit 1; }
run=$(sed -n 's/.*"id": *\([0-9]*\).*/\1/p' "$work/answer")
[ -n "$run" ] || { echo "no run id in $(cat "$work/answer")" >&2; exit 1; }
mkdir -p "$shots"
ORBITRIX_WEB_MODULES=$modules node "$here/cells_in_browser.mjs" "$base" "$shots" \
    "$frame_cells" "$work" "$run"
