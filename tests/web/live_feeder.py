#!/usr/bin/env python3
"""A live session fed to a board from a recording, as a client would send
it: opened, its first game dealt, then the recording's lines in numbered
batches every PERIOD seconds, the last one marked. Prints the session's id
once it is open, then its run's answer once it ends. With WATCHERS, the
batches after the first wait until /api/live shows that many watching,
so a slow browser sees the game played all the same.
    live_feeder.py BASE_URL RECORDING LINES_A_BATCH PERIOD [WATCHERS]"""
import json
import sys
import time
import urllib.request

base, recording, per_batch, period = sys.argv[1], sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
watchers = int(sys.argv[5]) if len(sys.argv) > 5 else 0


def post(path, body):
    request = urllib.request.Request(base + path, data=json.dumps(body).encode(),
                                     headers={"Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=10) as answer:
        return json.load(answer)


def wait_for_watchers(run):
    for _ in range(300):
        with urllib.request.urlopen(base + "/api/live", timeout=10) as answer:
            games = json.load(answer)["games"]
        if any(str(g["id"]) == str(run) and g["watchers"] >= watchers for g in games):
            return
        time.sleep(0.1)
    sys.exit("nobody came to watch in 30 s")


session = post("/api/live", {})
print(session["run"], flush=True)
game = post(f"/api/live/{session['run']}/games",
            {"secret": session["secret"], "name": "Ana", "level": 49})
lines = open(recording, encoding="utf-8").read().splitlines(keepends=True)
batches = [lines[i:i + per_batch] for i in range(0, len(lines), per_batch)]
for seq, batch in enumerate(batches, start=1):
    answer = post(f"/api/live/{session['run']}/batches",
                  {"secret": game["secret"], "seq": seq, "lines": "".join(batch), "frame": 0,
                   "holds": [], "last": seq == len(batches)})
    assert answer["acked"] == seq, answer
    if seq == 1 and watchers:
        wait_for_watchers(session["run"])
    time.sleep(period)
print(json.dumps(answer.get("run")), flush=True)
