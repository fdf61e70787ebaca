#!/usr/bin/env bash
# /play asked open, on a board that stops answering, and copied to a host
# with no board (Python's static file server): play_modes.mjs at the keys.
#   play_modes.sh SERVER WEB_DIR MODULES SHOTS_DIR
set -euo pipefail
server=$1 web_dir=$2 modules=$3 shots=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/board_server.sh"
start_board "$server" "$web_dir"
mkdir -p "$shots"

# The copy: the page as the board serves it, beside its /static/ files.
mkdir -p "$work/copy/play" "$work/copy/static"
cp "$web_dir"/* "$work/copy/static/"
curl -sf --max-time 10 "$base/play" >"$work/copy/play/index.html"
: >"$work/copy.log"
python3 -u -m http.server --bind 127.0.0.1 --directory "$work/copy" 0 >"$work/copy.log" 2>&1 &
copy_pid=$!
trap 'kill $copy_pid 2>/dev/null; stop_board' EXIT
copy_port=
for _ in $(seq 100); do
    copy_port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$work/copy.log")
    [ -n "$copy_port" ] && break
    sleep 0.1
done
[ -n "$copy_port" ] || { echo "the copy's server did not start:" >&2; cat "$work/copy.log" >&2; exit 1; }

ORBITRIX_WEB_MODULES=$modules node "$here/play_modes.mjs" "$base" \
    "http://127.0.0.1:$copy_port" "$shots"
