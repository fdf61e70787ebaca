#!/usr/bin/env python3
"""A board started with --live-delay, over real HTTP: a session fed batch by
batch as a client streams it, one watcher from its start and one who joins
late. The first gets nothing of the game until the delay has passed since
the session opened, and then the whole screen; the late one opens with a
whole screen too; both get the game's end only about a delay after its
last batch. As the server stops it says how its batches were committed.
    live_delay.py SERVER RECORDING sqlite|postgres"""
import http.client
import json
import os
import re
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from edge_client import Server, fail, postgres_database, scratch  # noqa: E402

DELAY = 3
program, recording, engine = sys.argv[1], sys.argv[2], sys.argv[3]
database = (postgres_database() if engine == "postgres"
            else os.path.join(scratch("live-delay."), "board.sqlite3"))
server = Server(program, database, "--live-delay", str(DELAY))


def post(path, body):
    conn = http.client.HTTPConnection("127.0.0.1", server.port, timeout=10)
    conn.request("POST", path, json.dumps(body), {"Content-Type": "application/json"})
    answer = conn.getresponse()
    data = json.loads(answer.read())
    conn.close()
    if answer.status not in (200, 201):
        fail(f"POST {path}: {answer.status} {data}")
    return data


class Watcher(threading.Thread):
    """Reads a session's stream, noting when each event came."""

    def __init__(self, session):
        super().__init__(daemon=True)
        self.session = session
        self.events = []  # (seconds since the epoch, the event's text)

    def run(self):
        conn = http.client.HTTPConnection("127.0.0.1", server.port, timeout=30)
        conn.request("GET", f"/api/live/{self.session}/stream")
        answer = conn.getresponse()
        if answer.status != 200:
            self.events.append((time.time(), f"status {answer.status}"))
            return
        event = ""
        while True:
            line = answer.readline()
            if not line:
                return
            text = line.decode()
            if text == "\n":
                if not event.startswith(":"):
                    self.events.append((time.time(), event))
                event = ""
            else:
                event += text


opened_at = time.time()
session = post("/api/live", {})
run = session["run"]
early = Watcher(run)
early.start()
game = post(f"/api/live/{run}/games", {"secret": session["secret"], "name": "Ana", "level": 49})
lines = open(recording, encoding="utf-8").read().splitlines(keepends=True)
batches = [lines[i:i + 2] for i in range(0, len(lines), 2)]
late = None
last_at = None
for seq, batch in enumerate(batches, start=1):
    if time.time() - opened_at > DELAY + 1 and late is None:
        late = Watcher(run)
        late.start()
    last_at = time.time()
    post(f"/api/live/{run}/batches",
         {"secret": game["secret"], "seq": seq, "lines": "".join(batch), "frame": 0, "holds": [],
          "last": seq == len(batches)})
    time.sleep(0.25)
if late is None:
    fail("the recording was fed in less than the delay: it cannot show a late joiner")
early.join(DELAY + 10)
late.join(DELAY + 10)

for name, watcher in (("the first watcher", early), ("the late watcher", late)):
    if not watcher.events:
        fail(f"{name} got nothing")
    first_at, first = watcher.events[0]
    if '"init"' not in first:
        fail(f"{name}'s stream did not open with a whole screen: {first[:80]!r}")
    end_at, end = watcher.events[-1]
    if not end.startswith("event: done"):
        fail(f"{name}'s stream did not end with the game: {end[:80]!r}")
    # The last batches may draw nothing: the game's last output, which the
    # end follows by the delay, may have come with one a second earlier.
    if end_at < last_at + DELAY - 1:
        fail(f"{name} got the game's end {last_at + DELAY - end_at:.2f} s before its delay")
first_at = early.events[0][0]
if first_at < opened_at + DELAY:
    fail(f"the first watcher saw the game {opened_at + DELAY - first_at:.2f} s before its delay")
if len(early.events) < 3:
    fail(f"the first watcher got only {len(early.events)} events")

if server.terminate() != 0:
    fail("the server did not stop cleanly")
summary = re.search(rb"live: (\d+) batches in (\d+) transactions", server.log_bytes())
if not summary or int(summary.group(1)) != len(batches):
    fail(f"the server's summary does not count the {len(batches)} batches: "
         f"{server.log_bytes()[-400:].decode(errors='replace')}")
print(f"ok: {len(early.events)} events to the first watcher, the first "
      f"{first_at - opened_at:.2f} s after the session opened (delay {DELAY} s); "
      f"{len(late.events)} to the late one")
