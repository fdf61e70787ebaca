#!/usr/bin/env python3
"""The board as strangers find it, over real HTTP, on SQLite or (with
`postgres`) on the ctest fixture's PostgreSQL cluster:
  strangers.py SERVER RECORDINGS [sqlite|postgres]
Each attack of attacks.py must be answered as the edge promises, cost the
server less than 64 MiB of resident memory, and leave /healthz answering.
Then 200 slow clients from 200 addresses must not keep /healthz from
answering within 5 s, and SIGTERM amid them and an idle kept-alive client
must stop the server with status 0 within 10 s."""

import os
import subprocess
import sys
import time

# Run from the source tree: no bytecode written beside the sources.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import live_attacks  # noqa: E402
from attacks import OPTIONS, log_faults, table  # noqa: E402
from edge_client import (Server, SlowClients, connect, exchange, fail, get,  # noqa: E402
                         postgres_database, read_answer, scratch)

PLAYER_SCRIPT = "/static/asciinema-player.min.js"
MOST_GROWTH_KIB = 64 << 10


def seeded_board(program, recordings, database, options=OPTIONS + live_attacks.LIVE_OPTIONS):
    """A board with one run of ten minutes: a cast of a few MiB to ask for."""
    folder = scratch("strangers-runs.")
    subprocess.run([recordings, folder, "1", "600"], check=True)
    body = open(os.path.join(folder, "1.replay"), "rb").read()
    server = Server(program, database, *options)
    answer = exchange(server.port, get("/api/runs", "Content-Type: text/plain", body=body,
                                       method="POST"), timeout=60)
    if answer.status != 201:
        fail(f"cannot store the run: {answer} {answer.body[:300]!r}")
    return server


def attacks(server):
    faults = []
    for name, attack in table(1, PLAYER_SCRIPT) + live_attacks.table():
        before = server.rss_kib()
        found = attack(server)
        grown = server.rss_kib() - before
        if grown >= MOST_GROWTH_KIB:
            found.append(f"resident memory grew by {grown >> 10} MiB")
        status = exchange(server.port, get("/healthz"), timeout=5).status
        if status != 200:
            found.append(f"/healthz answered {status or 'nothing'} after it")
        print(f"{'ok  ' if not found else 'FAIL'} {name}: {before >> 10} MiB, "
              f"{'+' if grown >= 0 else ''}{grown >> 10} MiB", flush=True)
        faults += [f"{name}: {f}" for f in found]
    return faults + [f"the log: {f}" for f in log_faults(server.log_bytes())]


def slow_clients_then_sigterm(program, database):
    # Its request timeout outlasts the checks, so the slow clients stay.
    server = Server(program, database, "--request-timeout", "30", "--idle-timeout", "30")
    faults = []
    slow = SlowClients(server.port, 200)
    time.sleep(1)
    started = time.monotonic()
    answer = exchange(server.port, get("/healthz"), timeout=5)
    if answer.status != 200:
        faults.append(f"200 slow clients: /healthz answered {answer.status or 'nothing'} "
                      f"within {time.monotonic() - started:.1f} s")
    # Slow clients turned away at once would prove nothing.
    if slow.held() != 200:
        faults.append(f"of 200 slow clients, {slow.held()} held mid-request")
    idle = connect(server.port)
    idle.sendall(get("/healthz", close=False))
    read_answer(idle)
    status = server.terminate(deadline=10)
    if status != 0:
        faults.append(f"SIGTERM amid slow and idle clients: "
                      f"{'still running 10 s later' if status is None else f'status {status}'}")
    slow.close()
    idle.close()
    print(f"{'ok  ' if not faults else 'FAIL'} 200 slow clients, then SIGTERM", flush=True)
    return faults


def main():
    program, recordings = sys.argv[1], sys.argv[2]
    store = sys.argv[3] if len(sys.argv) > 3 else "sqlite"
    if store == "postgres":
        database = postgres_database()
    else:
        database = os.path.join(scratch("strangers-db."), "board.sqlite3")
    server = seeded_board(program, recordings, database)
    try:
        faults = attacks(server)
    finally:
        if server.terminate() != 0:
            print("FAIL the attacked server did not stop cleanly on SIGTERM", flush=True)
    faults += slow_clients_then_sigterm(program, database)
    for f in faults:
        print("FAIL:", f, file=sys.stderr)
    if faults:
        sys.stderr.write(server.log_bytes().decode(errors="replace")[-3000:])
        sys.exit(1)
    print(f"strangers on {store}: every attack answered")


if __name__ == "__main__":
    main()
