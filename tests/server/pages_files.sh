#!/usr/bin/env bash
# Where orbitrix-server finds its pages' files without --web: beside itself
# in the build tree, whatever the working directory; under its own prefix
# when copied elsewhere; and a server that finds them nowhere, or in no
# folder --web names, refuses to start and says where it looked.
SERVER=$1
RECORDINGS=$2
WEB_SOURCE=$3
. "$(dirname "$0")/lib.sh"

# GET of $base$1: its status, the body in $work/body.
get() {
    curl -s -o "$work/body" -w '%{http_code}' --max-time 10 "$base$1"
}
stop_server() {
    kill -TERM "$server_pid" && wait "$server_pid" || fail "SIGTERM: status $?"
    server_pid=
}

# The build's own program, started from another folder.
mkdir "$work/elsewhere"
cd "$work/elsewhere" || fail "cd"
start_server
[ "$(get /static/orbitrix.css)" = 200 ] || fail "/static/orbitrix.css without --web: not 200"
cmp -s "$work/body" "$WEB_SOURCE/orbitrix.css" || fail "/static/orbitrix.css is not the project's"
stop_server

# A copy under a prefix of its own, its files in share/orbitrix/web.
mkdir -p "$work/prefix/sbin" "$work/prefix/share/orbitrix/web"
cp "$SERVER" "$work/prefix/sbin/orbitrix-server"
echo '/* the prefix copy */' >"$work/prefix/share/orbitrix/web/orbitrix.css"
SERVER=$work/prefix/sbin/orbitrix-server start_server
[ "$(get /static/orbitrix.css)" = 200 ] || fail "the prefix copy's stylesheet: not 200"
grep -q 'the prefix copy' "$work/body" || fail "the prefix copy served another stylesheet"
stop_server

# The copy alone: nothing beside it, nothing under its prefix.
mkdir "$work/lone"
cp "$SERVER" "$work/lone/orbitrix-server"
"$work/lone/orbitrix-server" --listen 127.0.0.1:0 --database "$work/lone.sqlite3" 2>"$work/err"
[ $? = 1 ] || fail "no pages' files anywhere: not status 1"
grep -q "^orbitrix-server: the pages' files (orbitrix.css) are in none of $work/lone/web, " \
    "$work/err" || fail "no pages' files: $(cat "$work/err")"
[ ! -e "$work/lone.sqlite3" ] || fail "a server that cannot serve its pages made a database"

# A --web folder without them.
mkdir "$work/empty"
"$SERVER" --listen 127.0.0.1:0 --database "$work/empty.sqlite3" --web "$work/empty" 2>"$work/err"
[ $? = 1 ] || fail "--web with no files: not status 1"
[ "$(cat "$work/err")" = "orbitrix-server: --web $work/empty does not hold the pages' files (no orbitrix.css there)" ] ||
    fail "--web with no files said: $(cat "$work/err")"
echo "pages' files found as expected"
