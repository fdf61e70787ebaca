#!/usr/bin/env bash
# Names and program lines through the program on SQLite, or with `postgres`
# on PostgreSQL: João's run reaches the board from a recording in the form
# written now and in the form from before, and names or program lines the
# board cannot show are answered 400 (what the screening before a replay
# answers), not stored, and never reach the database.
SERVER=$1
RECORDINGS=$2
. "$(dirname "$0")/lib.sh"
[ "${3:-sqlite}" = sqlite ] || use_postgres

python3 - "$(dirname "$0")/../data/session.replay" "$work" <<'PY' || fail "cannot make the recordings"
import sys
ana = open(sys.argv[1], "rb").read()
work = sys.argv[2]
typed = b"key 65 0\nkey 110 0\nkey 97 0\n"
joao_keys = b"key 74 0\nkey 111 0\nkey 198 0\nkey 111 0\n"  # J o a-tilde o, code page 850
def renamed(written):
    return ana.replace(typed, joao_keys, 1).replace(b'"Ana"', b'"' + written + b'"', 1)
def made_by(program):
    return ana.replace(b"orbitrix 1.0 linux", b"orbitrix 1.0 " + program, 1)
files = {
    "now": renamed("João".encode()),
    "before": renamed(b"Jo\\xc6o"),
    "bad-bidi-name": ana.replace(b'"Ana"', '"An\u202ea"'.encode(), 1),
    "bad-zero-width-name": ana.replace(b'"Ana"', '"A\u200bna"'.encode(), 1),
    "bad-control-program": made_by(b"linux\x1b[2J"),
    "bad-utf8-program": made_by(b"linux\xc3("),
    "bad-bidi-program": made_by("\u202elinux".encode()),
    "bad-long-program": made_by(b"x" * (1000 << 10)),
}
for name, data in files.items():
    open(f"{work}/{name}.replay", "wb").write(data)
PY

start_server
for bad in "$work"/bad-*.replay; do
    code=$(submit "$bad")
    [ "$code" = 400 ] || fail "$(basename "$bad"): $code $(head -c 300 "$work/answer")"
    grep -q '"error":"line \(2: the program line\|11: a game.s name\)' "$work/answer" ||
        fail "$(basename "$bad"): $(head -c 300 "$work/answer")"
done
for form in now before; do
    code=$(submit "$work/$form.replay")
    [ "$code" = 201 ] || fail "the $form form: $code $(cat "$work/answer")"
done
curl -s "$base/api/board" >"$work/board" || fail "no board"
python3 - "$work/board" <<'PY' || fail "the board: $(cat "$work/board")"
import json, sys
board = json.load(open(sys.argv[1], encoding="utf-8"))
names = sorted(g["name"] for g in board["games"])
assert board["total"] == 4 and names == ["Bob", "Bob", "João", "João"], names
PY
curl -s "$base/" | grep -q "João" || fail "the board's page does not show João"
