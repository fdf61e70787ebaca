#!/usr/bin/env bash
# The board's pages in headless Chromium: a server on SQLite in a scratch
# folder, a few runs sent through the API (one under a hostile name), then
# board_in_browser.mjs looks at the pages as a visitor.
#   board_in_browser.sh SERVER SAMPLE_RUNS WEB_DIR MODULES SHOTS_DIR
set -euo pipefail
server=$1 sample_runs=$2 web_dir=$3 modules=$4 shots=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/board_server.sh"

# The runs are made before the board starts.
"$sample_runs" "$work"
start_board "$server" "$web_dir" --submissions-per-minute 0

send() {
    curl -sS --fail-with-body -o "$work/answer" -w '%{http_code}' \
        --data-binary "@$1" -H 'Content-Type: text/plain' "$base/api/runs"
}
for f in "$work"/1.replay "$work"/2.replay "$work"/3.replay "$here/../data/session.replay"; do
    status=$(send "$f") || { cat "$work/answer" >&2; exit 1; }
    [ "$status" = 201 ] || { echo "sending $f: $status" >&2; exit 1; }
done
# Run 1 is Ana's, with the most points; the hostile name has the fewest of
# the three, and the committed session's games none.
mkdir -p "$shots"
ORBITRIX_WEB_MODULES=$modules node "$here/board_in_browser.mjs" "$base" "$shots" 1 \
    Ana Bia '<img src=x onerror=alert(1)>'
