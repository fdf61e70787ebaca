#!/usr/bin/env python3
"""The board's edge in figures: /healthz latency over sequential requests,
alone and while 200 slow clients from 200 loopback addresses hold sockets,
and the server's resident memory before and after each attack of
tests/server/attacks.py. Prints Markdown for bench/RESULTS.md; loopback
only, bounded, not part of CI.
  bench/board_edge.py SERVER RECORDINGS [REQUESTS]   (2000 unless given)
A server that predates the edge's flags is run without them: its figures
are then those of its own limits."""

import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # run from the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "server"))
from attacks import OPTIONS, table  # noqa: E402
from edge_client import Server, SlowClients, exchange, get, scratch  # noqa: E402
from strangers import PLAYER_SCRIPT, seeded_board  # noqa: E402

# A probe that waits longer than this has failed, and after this many
# failures the rest are not sent: a server held by slow clients answers none.
PROBE_TIMEOUT, MOST_FAILURES = 5, 10


def latencies(port, count):
    took, failed = [], 0
    for _ in range(count):
        started = time.monotonic()
        if exchange(port, get("/healthz"), timeout=PROBE_TIMEOUT).status == 200:
            took.append((time.monotonic() - started) * 1000)
        else:
            failed += 1
            if failed == MOST_FAILURES:
                break
    took.sort()

    def at(share):
        return f"{took[min(len(took) - 1, int(share * len(took)))]:.1f} ms" if took else "—"
    return f"{len(took)} | {failed} | {at(0.5)} | {at(0.99)}"


def main():
    program, recordings = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 2000
    edge = "--request-timeout" in subprocess.run([program, "--help"], capture_output=True,
                                                 text=True).stdout
    database = os.path.join(scratch("board-edge."), "board.sqlite3")
    # The slow clients must outlast the probes: a request timeout past them.
    server = Server(program, database, *(["--request-timeout", "600"] if edge else []))
    print("| /healthz, sequential, fresh connections | answered | failed | p50 | p99 |")
    print("|---|---:|---:|---:|---:|")
    print(f"| alone | {latencies(server.port, count)} |")
    slow = SlowClients(server.port, 200)
    time.sleep(1)
    figures = latencies(server.port, count)
    print(f"| beside 200 slow clients (200 addresses, {slow.held()} held at the end) "
          f"| {figures} |")
    slow.close()
    server.terminate()

    server = seeded_board(program, recordings, database,
                          OPTIONS if edge else ["--trusted-proxy", "127.0.0.250"])
    print()
    print("| Attack | RSS before | RSS after | s | Faults |")
    print("|---|---:|---:|---:|---|")
    for name, attack in table(1, PLAYER_SCRIPT):
        before, started = server.rss_kib(), time.monotonic()
        faults = attack(server)
        print(f"| {name} | {before >> 10} MiB | {server.rss_kib() >> 10} MiB | "
              f"{time.monotonic() - started:.1f} | "
              f"{'; '.join(faults).replace('|', '/')[:300] or 'none'} |", flush=True)
    server.terminate()


if __name__ == "__main__":
    main()
