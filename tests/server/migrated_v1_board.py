#!/usr/bin/env python3
"""A board that the last release of schema version 1 made (tests/data, by
scripts/make-v1-board), opened by today's server over real HTTP:
  migrated_v1_board.py SERVER SCHEMA_DIR FIXTURE sqlite|postgres
On PostgreSQL the fixture is a plain-SQL dump, loaded with psql into a new
database on the ctest fixture's cluster. Once the server has opened it, the
board must be at the latest schema version (the highest N of SCHEMA_DIR's
ENGINE-N.sql), serve every run and game the fixture holds, and place every
game where a plain COUNT of the games ahead of it on its board (ties by order
of receipt) over the fixture's own rows puts it, on every page in order,
and serve each run's SHA-256 and recording as the fixture holds them."""

import json
import os
import re
import shutil
import sqlite3
import subprocess
import sys

# Run from the source tree: no bytecode written beside the sources.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from edge_client import Server, exchange, fail, get, postgres_database, scratch  # noqa: E402

LEVELS = [None, 1, 2, 3, 4]
KINDS = [None, "open", "ranked"]
# A game's fields as the API and the games table both name them.
GAME_FIELDS = ["name", "points", "start_level", "end_level", "lives", "ending", "frames", "kind"]
TEXT_FIELDS = {"name", "ending", "kind"}


class SqliteRows:
    HEX = "hex({})"

    def __init__(self, path):
        self.path = path

    def __call__(self, sql):
        with sqlite3.connect(self.path) as db:
            return [tuple(row) for row in db.execute(sql)]


class PostgresRows:
    """Rows read with psql, every field as text, as the dump holds them."""
    HEX = "encode({}, 'hex')"

    def __init__(self, url):
        self.url = url

    def __call__(self, sql):
        out = subprocess.run(["psql", "-qXAt", "-F", "\t", "-v", "ON_ERROR_STOP=1", self.url,
                              "-c", sql], check=True, capture_output=True, text=True).stdout
        return [tuple(line.split("\t")) for line in out.splitlines()]


def opened_fixture(engine, fixture):
    """The fixture as a database of this run's own, and a reader of its rows."""
    if engine == "sqlite":
        path = os.path.join(scratch("v1-board."), "board.sqlite3")
        shutil.copyfile(fixture, path)
        return path, SqliteRows(path)
    url = postgres_database()
    subprocess.run(["psql", "-qX", "-v", "ON_ERROR_STOP=1", url, "-f", fixture], check=True,
                   stdout=subprocess.DEVNULL)
    return url, PostgresRows(url)


def schema_version(rows):
    return int(rows("SELECT value FROM meta WHERE key = 'schema_version'")[0][0])


def latest_version(schema_dir, engine):
    name = "sqlite" if engine == "sqlite" else "postgres"
    return max(int(m.group(1)) for f in os.listdir(schema_dir)
               if (m := re.fullmatch(name + r"-(\d+)\.sql", f)))


def where(alias, level, kind):
    tests = ["1 = 1"]
    if level is not None:
        tests.append(f"{alias}.start_level = {level}")
    if kind is not None:
        tests.append(f"{alias}.kind = '{kind}'")
    return " AND ".join(tests)


def counted_board(rows, level, kind):
    """The board's games in its order, each (run, game, place), its place
    one more than the COUNT of the games of the board received before it
    with as many points or more."""
    return [tuple(int(v) for v in row) for row in rows(
        f"SELECT m.run_id, m.idx, 1 + (SELECT COUNT(*) FROM games g WHERE {where('g', level, kind)}"
        " AND (g.points > m.points OR (g.points = m.points AND (g.received_ms < m.received_ms"
        " OR (g.received_ms = m.received_ms AND (g.run_id < m.run_id"
        " OR (g.run_id = m.run_id AND g.idx < m.idx)))))))"
        f" FROM games m WHERE {where('m', level, kind)}"
        " ORDER BY m.points DESC, m.received_ms, m.run_id, m.idx")]


def get_json(server, path):
    answer = exchange(server.port, get(path), timeout=30)
    if answer.status != 200:
        fail(f"GET {path}: {answer.status} {answer.body[:300]!r}")
    return json.loads(answer.body)


def served_board(server, level, kind):
    """Every page of the board, by each page's next cursor: (run, game, place)."""
    query = f"level={level or 'all'}&kind={kind or 'all'}&limit=100"
    page = get_json(server, f"/api/board?{query}")
    total, games = page["total"], []
    while True:
        games += [(g["run"], g["game"], g["place"]) for g in page["games"]]
        if "next" not in page:
            break
        page = get_json(server, f"/api/board?{query}&after={page['next']}")
    return total, games


def main():
    program, schema_dir, fixture, engine = sys.argv[1:5]
    database, rows = opened_fixture(engine, fixture)
    if schema_version(rows) != 1:
        fail(f"{fixture} is not a board of schema version 1")
    # Each run's SHA-256 and its recording's bytes, in hex.
    runs = {int(r[0]): (r[1], r[2].lower()) for r in rows(
        f"SELECT id, sha256, {rows.HEX.format('bytes')} FROM runs ORDER BY id")}
    games = {}
    for row in rows(f"SELECT run_id, {', '.join(GAME_FIELDS)} FROM games ORDER BY run_id, idx"):
        game = {f: v if f in TEXT_FIELDS else int(v) for f, v in zip(GAME_FIELDS, row[1:])}
        games.setdefault(int(row[0]), []).append(game)
    boards = {(level, kind): counted_board(rows, level, kind) for level in LEVELS for kind in KINDS}
    # A fixture that tried nothing would pass anything.
    if len(runs) < 10 or not boards[(None, "ranked")] or not boards[(None, "open")]:
        fail(f"{fixture} holds too little: {len(runs)} runs, "
             f"{len(boards[(None, 'ranked')])} ranked games")

    server = Server(program, database)
    faults = []
    found, latest = schema_version(rows), latest_version(schema_dir, engine)
    if found != latest:
        faults.append(f"schema version {found} once opened, not {latest}")
    for (level, kind), counted in boards.items():
        total, served = served_board(server, level, kind)
        if total != len(counted) or served != counted:
            wrong = next((i for i, (s, c) in enumerate(zip(served, counted)) if s != c),
                         min(len(served), len(counted)))
            faults.append(f"board level {level or 'all'}, kind {kind or 'all'}: {total} games, "
                          f"{len(served)} served, {len(counted)} counted; from #{wrong + 1}: "
                          f"served {served[wrong:wrong + 3]}, counted {counted[wrong:wrong + 3]}")
    overall = {(run, idx): place for run, idx, place in boards[(None, None)]}
    in_level = {(run, idx): place
                for level in LEVELS[1:] for run, idx, place in boards[(level, None)]}
    for run, (sha256, recording) in runs.items():
        answer = get_json(server, f"/api/runs/{run}")
        if answer["sha256"] != sha256:
            faults.append(f"run {run}: SHA-256 {answer['sha256']}, the fixture's {sha256}")
        replay = exchange(server.port, get(f"/runs/{run}.replay"), timeout=30)
        if replay.status != 200 or replay.body.hex() != recording:
            faults.append(f"run {run}: its recording answered {replay.status}, "
                          f"{len(replay.body)} bytes, not the fixture's {len(recording) // 2}")
        served = answer["games"]
        expected = [{**g, "place": overall[(run, i)], "level_place": in_level[(run, i)]}
                    for i, g in enumerate(games.get(run, []))]
        if served != expected:
            wrong = next((i for i, (s, e) in enumerate(zip(served, expected)) if s != e),
                         min(len(served), len(expected)))
            faults.append(f"run {run}: {len(served)} games served, {len(expected)} in the "
                          f"fixture; game {wrong}: served {served[wrong:wrong + 1]}, "
                          f"the fixture's {expected[wrong:wrong + 1]}")
    gone = exchange(server.port, get(f"/api/runs/{max(runs) + 1}")).status
    if gone != 404:
        faults.append(f"a run past the last answered {gone}")
    if server.terminate() != 0:
        faults.append("the server did not stop cleanly on SIGTERM")
    for f in faults[:20]:
        print("FAIL:", f, file=sys.stderr)
    if faults:
        sys.stderr.write(server.log_bytes().decode(errors="replace")[-3000:])
        sys.exit(1)
    print(f"{engine}: a version 1 board of {len(runs)} runs and {len(overall)} games, "
          f"at version {found}, served as counted on {len(boards)} boards")


if __name__ == "__main__":
    main()
