#!/usr/bin/env python3
"""Live games streamed at once to one board, with watchers on their streams:
each game a timed recording (board_tool timed) played through the live
protocol at its own pace, a batch every quarter of a second of its clock on
a kept-alive connection; the watchers spread evenly over the games. Prints
one JSON object: the batches' acknowledgement latency (of the request
answered, and from the first send when a 503 made it send again), the
watchers' lag
(when an output event arrived, against the stream time it carries, from
the session's open), /healthz on a fresh connection ten times a second
throughout, the client's own CPU, and the resends.
    live_load.py PORT TIMED_DIR GAMES WATCHERS"""
import asyncio
import glob
import json
import resource
import sys
import time

port, folder, games, watchers = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
BATCH_MS = 250
soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))

latencies, taken, lags, healthz = [], [], [], []
HEALTH_EVERY_S = 0.1
counts = {"busy": 0, "batches": 0, "resent": 0, "refused": 0, "events": 0, "watchers_ended": 0, "why": []}


class Connection:
    """One kept-alive HTTP/1.1 connection, one request at a time."""

    async def open(self):
        self.reader, self.writer = await asyncio.open_connection("127.0.0.1", port)

    async def post(self, path, body):
        data = json.dumps(body).encode()
        self.writer.write(b"POST %s HTTP/1.1\r\nHost: bench\r\nContent-Type: application/json\r\n"
                          b"Content-Length: %d\r\n\r\n" % (path.encode(), len(data)) + data)
        status = int((await self.reader.readline()).split()[1])
        length = 0
        while True:
            line = await self.reader.readline()
            if line in (b"\r\n", b""):
                break
            if line.lower().startswith(b"content-length:"):
                length = int(line.split(b":")[1])
        return status, json.loads(await self.reader.readexactly(length))

    async def until_taken(self, path, body):
        """Sent again while the board is too busy, as the client does."""
        while True:
            status, answer = await self.post(path, body)
            if status in (200, 201):
                return answer
            if status != 503:
                raise SystemExit(f"POST {path}: {status} {answer}")
            counts["busy"] += 1
            await asyncio.sleep(0.1)


def batches_of(path):
    """(ms, frame, lines) for each quarter of a second of the game's clock."""
    cut, frame, lines, out = BATCH_MS, 0, "", []
    for record in open(path, encoding="utf-8"):
        ms, rest = record.split(" ", 1)
        at = int(ms)
        while at > cut:
            out.append((cut, frame, lines))
            cut, lines = cut + BATCH_MS, ""
        frame_text, _, line = rest.partition(" ")
        frame = int(frame_text.strip())
        lines += line
    out.append((cut, frame, lines))
    return out


async def game(path, opened, start_after):
    plan = batches_of(path)
    await asyncio.sleep(start_after)  # sessions begin over two seconds, not at one instant
    conn = Connection()
    await conn.open()
    session = await conn.until_taken("/api/live", {})
    run = session["run"]
    opened.set_result((run, time.time()))
    dealt = await conn.until_taken(f"/api/live/{run}/games",
                                   {"secret": session["secret"], "name": "Bot", "level": 49})
    start = time.monotonic()
    for seq, (ms, frame, lines) in enumerate(plan, start=1):
        await asyncio.sleep(max(0, start + ms / 1000 - time.monotonic()))
        body = {"secret": dealt["secret"], "seq": seq, "lines": lines, "frame": frame, "holds": [],
                "last": seq == len(plan)}
        first = time.monotonic()
        while True:
            sent = time.monotonic()
            status, answer = await conn.post(f"/api/live/{run}/batches", body)
            if status == 200:
                latencies.append(time.monotonic() - sent)
                taken.append(time.monotonic() - first)
                counts["batches"] += 1
                break
            if status == 503 and answer.get("error") not in counts["why"]:
                counts["why"].append(answer.get("error"))
            counts["resent" if status == 503 else "refused"] += 1
            if status != 503:
                print(f"batch {seq} of {run}: {status} {answer}", file=sys.stderr)
                return
            await asyncio.sleep(0.05)
    conn.writer.close()


async def watcher(opened):
    run, opened_at = await opened
    while True:
        reader, writer = await asyncio.open_connection("127.0.0.1", port)
        writer.write(b"GET /api/live/%s/stream HTTP/1.1\r\nHost: bench\r\n\r\n" % str(run).encode())
        if b" 200 " in await reader.readline():
            break
        counts["busy"] += 1
        writer.close()
        await asyncio.sleep(0.1)
    while True:
        chunk = await reader.read(1 << 16)
        if not chunk:
            break
        now = time.time()
        counts["events"] += chunk.count(b"\n\n")
        # The last output event of what came: its time against the clock.
        at = chunk.rfind(b'data: [')
        if at >= 0:
            end = chunk.find(b",", at)
            if end > 0:
                lags.append(now - opened_at - float(chunk[at + 7:end]))
        if b"event: done" in chunk:
            counts["watchers_ended"] += 1
            break
    writer.close()


async def health(done):
    """/healthz on a fresh connection, as a load balancer asks it."""
    while not done.is_set():
        asked = time.monotonic()
        reader, writer = await asyncio.open_connection("127.0.0.1", port)
        writer.write(b"GET /healthz HTTP/1.1\r\nHost: bench\r\nConnection: close\r\n\r\n")
        await reader.read()
        healthz.append(time.monotonic() - asked)
        writer.close()
        await asyncio.sleep(HEALTH_EVERY_S)


def percentile(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(len(values) * p))] if values else None


async def main():
    files = sorted(glob.glob(f"{folder}/*.timed"))
    loop = asyncio.get_running_loop()
    openings = [loop.create_future() for _ in range(games)]
    started = time.time()
    done = asyncio.Event()
    prober = asyncio.create_task(health(done))
    tasks = [game(files[i % len(files)], openings[i], 2.0 * i / games) for i in range(games)]
    tasks += [watcher(openings[w % games]) for w in range(watchers)]
    await asyncio.gather(*tasks)
    done.set()
    await prober
    ms = lambda values, p: round(percentile(values, p) * 1000, 1) if values else None
    print(json.dumps({
        "seconds": round(time.time() - started, 1),
        "ack_p50_ms": round(percentile(latencies, 0.5) * 1000, 1),
        "ack_p99_ms": round(percentile(latencies, 0.99) * 1000, 1),
        "ack_max_ms": round(max(latencies) * 1000, 1),
        "taken_p99_ms": ms(taken, 0.99),
        "lag_p50_ms": round(percentile(lags, 0.5) * 1000) if lags else None,
        "lag_p99_ms": round(percentile(lags, 0.99) * 1000) if lags else None,
        "health_p50_ms": ms(healthz, 0.5),
        "health_p99_ms": ms(healthz, 0.99),
        "health_max_ms": ms(healthz, 1.0),
        "client_cpu_s": round(sum(resource.getrusage(resource.RUSAGE_SELF)[:2]), 1),
        **counts}))


asyncio.run(main())
