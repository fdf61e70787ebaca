#!/usr/bin/env bash
# The board's pages timed over loopback: a server on SQLite holding GAMES
# games (100000 unless given), the committed session sent through the API
# for a run page. Prints a Markdown section for bench/RESULTS.md.
#   board_pages.sh SERVER BOARD_FILL WEB_DIR MODULES RECORDING [GAMES]
set -euo pipefail
server=$1 fill=$2 web_dir=$3 modules=$4 recording=$5 games=${6:-100000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server_pid=
finish() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

fill_start=$(date +%s)
"$fill" "$work/board.sqlite3" "$games"
fill_seconds=$(($(date +%s) - fill_start))
"$server" --listen 127.0.0.1:0 --database "$work/board.sqlite3" --web "$web_dir" \
    2>"$work/server.log" &
server_pid=$!
for _ in $(seq 100); do
    port=$(sed -n 's/.*serving on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/server.log")
    [ -n "$port" ] && break
    sleep 0.1
done
base=http://127.0.0.1:$port
run=$(curl -sS --data-binary "@$recording" "$base/api/runs" | sed -n 's/^{"id":\([0-9]*\).*/\1/p')

# Median and largest of N requests, after a few to warm up: the time to the
# first byte and to the last, in ms, and the size.
timed() {
    local url=$1 n=30
    for _ in 1 2 3; do curl -sS -o /dev/null "$url"; done
    for _ in $(seq $n); do
        curl -sS -o /dev/null -w '%{time_starttransfer} %{time_total} %{size_download}\n' "$url"
    done | awk -v n=$n '{ f[NR] = $1 * 1000; t[NR] = $2 * 1000; s = $3 }
        END {
            asort(f); asort(t)
            printf "%.2f ms | %.2f ms | %.2f ms | %.2f ms | %.1f KiB", f[int(n / 2) + 1], f[n],
                t[int(n / 2) + 1], t[n], s / 1024
        }'
}
loaded() {
    ORBITRIX_WEB_MODULES=$modules node "$here/board_load.mjs" "$1" 7 |
        awk '{ printf "%s ms | %s ms", $1, $2 }'
}

echo "### The board's pages over loopback, $games games stored (SQLite)"
echo
echo "| Page | First byte, median | max | Last byte, median | max | Size | Full load in Chromium, median | max |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
echo "| \`/\` (five tables of 100) | $(timed "$base/") | $(loaded "$base/") |"
echo "| \`/?level=2&offset=5000\` | $(timed "$base/?level=2&offset=5000") | $(loaded "$base/?level=2&offset=5000") |"
curl -sS -o /dev/null "$base/runs/$run.cast"
echo "| \`/runs/ID\` (2 games, cast kept) | $(timed "$base/runs/$run") | $(loaded "$base/runs/$run") |"
echo
echo "30 requests each with curl after 3 to warm up; 7 loads in Chromium, each in a fresh"
echo "context (nothing cached), to the load event. Filling the database took ${fill_seconds} s."
