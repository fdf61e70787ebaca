"""What a stranger sends the board's live routes: sessions opened, games
dealt and batches sent as no player's program sends them, and watchers
that ask too often or never read. Each attack takes the server and returns
its faults, as those of attacks.py do; they need a recording to stream, the
board's run 1."""

import json
import socket
import threading
import time

from attacks import MIB, REQUEST_TIMEOUT, SLACK, expect
from edge_client import connect, exchange, get, read_answer, send_quietly

# The limits the strangers' server runs with (attacks.OPTIONS): a stranger
# meets them with a few sockets, under the connections' own limit.
SESSIONS_PER_ADDRESS, WATCHERS_PER_ADDRESS = 4, 4
LIVE_OPTIONS = ["--live-sessions-per-address", str(SESSIONS_PER_ADDRESS),
                "--watchers-per-address", str(WATCHERS_PER_ADDRESS)]
LEVEL_1 = ord("1")


def post(server, path, body, source="127.0.0.1"):
    data = body if isinstance(body, bytes) else json.dumps(body).encode()
    return exchange(server.port, get(path, "Content-Type: application/json", body=data,
                                     method="POST"), source)


def answer_json(answer):
    try:
        return json.loads(answer.body)
    except ValueError:
        return {}


class Game:
    """A session opened and a game dealt in it, from SOURCE: each attack
    from an address of its own, as the sessions it leaves count against it
    until the board gives them up."""

    def __init__(self, server, source="127.0.0.1"):
        self.server, self.source = server, source
        opened = post(server, "/api/live", {"name": "Eva"}, source)
        if opened.status != 201:
            raise RuntimeError(f"POST /api/live from {source}: {opened!r} {opened.body[:200]!r}")
        self.run, self.secret = answer_json(opened)["run"], answer_json(opened)["secret"]
        dealt = post(server, f"/api/live/{self.run}/games",
                     {"secret": self.secret, "name": "Eva", "level": LEVEL_1}, source)
        if dealt.status != 201:
            raise RuntimeError(f"deal: {dealt!r} {dealt.body[:200]!r}")
        self.game_secret = answer_json(dealt)["secret"]

    def batch(self, seq, lines="", secret=None, frame=0, last=False):
        return post(self.server, f"/api/live/{self.run}/batches",
                    {"secret": secret or self.game_secret, "seq": seq, "lines": lines,
                     "frame": frame, "last": last}, self.source)


def recording_lines(server):
    """Run 1's recording: its two header lines, then its events."""
    text = exchange(server.port, get("/runs/1.replay")).body.decode()
    lines = text.splitlines(keepends=True)
    return "".join(lines[:2]), lines[2:]


def malformed_and_wrong_secrets(server):
    """Malformed bodies 400, a wrong secret 403, a session not there 404;
    none of them ends the session, which takes its batch afterwards."""
    header, _ = recording_lines(server)
    game = Game(server, "127.0.0.51")
    run = game.run
    cases = [
        (f"/api/live/{run}/games", b"{", 400, "a deal cut short"),
        (f"/api/live/{run}/games", b'{"secret":"ab","name":"Eva","level":49,"x":1}', 400,
         "a deal with a field more"),
        (f"/api/live/{run}/games", {"secret": "00" * 16, "name": "Eva", "level": LEVEL_1}, 403,
         "a deal with a wrong secret"),
        (f"/api/live/{run}/batches", b"\xff\xfe not json", 400, "a batch of bytes"),
        (f"/api/live/{run}/batches", b'{"secret":"ab","seq":"1","lines":"","frame":0}', 400,
         "a batch whose seq is a string"),
        (f"/api/live/{run}/batches", {"secret": "00" * 16, "seq": 1, "lines": header,
                                      "frame": 0}, 403, "a batch with a wrong secret"),
        (f"/api/live/{run}/batches", {"secret": game.secret, "seq": 1, "lines": header,
                                      "frame": 0}, 403, "a batch with the session's secret"),
        ("/api/live/999999/batches", {"secret": game.game_secret, "seq": 1, "lines": header,
                                      "frame": 0}, 404, "a batch to no session"),
        (f"/api/live/{run}/batches", {"secret": game.game_secret, "seq": 1,
                                      "lines": "orbitrix replay 1\nno such line\n",
                                      "frame": 0}, 400, "a batch of lines no recording has"),
    ]
    faults = []
    for path, body, status, what in cases:
        faults += expect(post(server, path, body, game.source), status, closed=False, what=what)
    faults += expect(game.batch(1, header), 200, closed=False,
                     what="the session's first batch after the strangers'")
    return faults


def repeated_and_gapped(server):
    """A batch sent again: 200, acked again, taken once. A gap: 409 with the
    seq expected. A frame count that goes back: 400."""
    header, events = recording_lines(server)
    game = Game(server, "127.0.0.52")
    faults = expect(game.batch(1, header), 200, closed=False, what="batch 1")
    again = [game.batch(1, header) for _ in range(50)]
    if any(a.status != 200 or answer_json(a).get("acked") != 1 for a in again):
        faults.append(f"batch 1 sent again: {[a.status for a in again if a.status != 200][:5]}")
    gap = game.batch(3, events[0], frame=10)
    faults += expect(gap, 409, closed=False, what="batch 3 after 1")
    if answer_json(gap).get("expect") != 2:
        faults.append(f"batch 3 after 1: {gap.body[:200]!r}")
    faults += expect(game.batch(2, events[0], frame=10), 200, closed=False, what="batch 2")
    faults += expect(game.batch(3, "", frame=5), 400, closed=False,
                     what="a batch whose frame count went back")
    # The recording the board keeps has each line once: its lines so far.
    return faults


def huge_batch(server):
    """10 MiB announced for a batch, an opening or a deal: 413 from the
    headers, before a byte of the body is read, with no 100 Continue."""
    game = Game(server, "127.0.0.53")
    s = connect(server.port)
    s.sendall(get(f"/api/live/{game.run}/batches", "Content-Type: application/json",
                  f"Content-Length: {10 * MIB}", "Expect: 100-continue", method="POST",
                  close=False))
    answer = read_answer(s)
    s.close()
    sent = connect(server.port)  # and sent all the same, unasked
    sender = threading.Thread(target=send_quietly, args=(sent, get(
        f"/api/live/{game.run}/batches", "Content-Type: application/json",
        body=b"{" + b" " * (10 * MIB) + b"}", method="POST")), daemon=True)
    sender.start()
    pushed = read_answer(sent)
    sent.close()
    faults = (expect(answer, 413, what="a batch of 10 MiB with Expect: 100-continue") +
              expect(pushed, 413, what="a batch of 10 MiB sent whole"))
    # The routes that take a small body or none refuse a large one as soon.
    for path in ["/api/live", f"/api/live/{game.run}/games"]:
        s = connect(server.port, game.source)
        s.sendall(get(path, "Content-Type: application/json", f"Content-Length: {10 * MIB}",
                      "Expect: 100-continue", method="POST", close=False))
        faults += expect(read_answer(s), 413, what=f"10 MiB to POST {path}")
        s.close()
    return faults


def slowloris_batch(server):
    """A batch's body a byte every half second: cut off by the request's
    deadline, not kept waiting on; the session takes the next batch."""
    header, _ = recording_lines(server)
    game = Game(server, "127.0.0.54")
    body = json.dumps({"secret": game.game_secret, "seq": 1, "lines": header,
                       "frame": 0}).encode()
    s = connect(server.port)
    s.sendall(get(f"/api/live/{game.run}/batches", "Content-Type: application/json",
                  f"Content-Length: {len(body)}", method="POST", close=False))
    started = time.monotonic()
    for i in range(len(body) - 1):
        if time.monotonic() - started > REQUEST_TIMEOUT + SLACK:
            break
        try:
            s.send(body[i:i + 1])
            s.settimeout(0.5)
            if s.recv(1, socket.MSG_PEEK):
                break
        except socket.timeout:
            continue
        except OSError:
            break
    answer = read_answer(s)
    s.close()
    return (expect(answer, 408, what="a batch a byte every 0.5 s") +
            expect(game.batch(1, header), 200, closed=False,
                   what="the batch sent whole after the slow one"))


def too_many_sessions(server):
    """Sessions from one address past the limit: 429; another address is
    not held back by it."""
    games = [Game(server, "127.0.0.60") for _ in range(SESSIONS_PER_ADDRESS)]
    over = post(server, "/api/live", {"name": "Eva"}, "127.0.0.60")
    other = post(server, "/api/live", {"name": "Eva"}, "127.0.0.61")
    del games
    return (expect(over, 429, closed=False,
                   what=f"session {SESSIONS_PER_ADDRESS + 1} from 127.0.0.60") +
            expect(other, 201, closed=False, what="a session from 127.0.0.61 meanwhile"))


def watch(server, run, source, rcvbuf=None):
    """A watcher's connection, once its answer's head has come."""
    s = connect(server.port, source, rcvbuf)
    s.sendall(get(f"/api/live/{run}/stream", close=False))
    s.settimeout(10)
    head = b""
    while b"\r\n\r\n" not in head:
        data = s.recv(1)
        if not data:
            break
        head += data
    return s, head.split(b" ")[1] if head.count(b" ") else b"none"


def too_many_watchers(server):
    """Watchers from one address past the limit: 429; those that left make
    room again."""
    game = Game(server, "127.0.0.55")
    held = [watch(server, game.run, "127.0.0.70") for _ in range(WATCHERS_PER_ADDRESS)]
    faults = [f"watcher {i + 1}: {status!r}" for i, (_, status) in enumerate(held)
              if status != b"200"]
    faults += expect(exchange(server.port, get(f"/api/live/{game.run}/stream"), "127.0.0.70"),
                     429, what=f"watcher {WATCHERS_PER_ADDRESS + 1} from 127.0.0.70")
    for s, _ in held:
        s.close()
    time.sleep(0.5)
    s, status = watch(server, game.run, "127.0.0.70")
    s.close()
    if status != b"200":
        faults.append(f"a watcher after the others left: {status!r}")
    return faults


# What the board lets a watcher fall behind before it drops it
# (LiveLimits::watcher_behind_bytes), and what the kernel may hold beyond it
# for a watcher whose receive buffer is STUCK_RCVBUF: the stream socket's
# send buffer, which the board keeps at 64 KiB, and the receive buffer,
# each doubled by Linux for its bookkeeping, with room for the chunks' framing.
WATCHER_BEHIND = MIB
STUCK_RCVBUF = 4096
IN_THE_KERNEL = 2 * (64 << 10) + 2 * STUCK_RCVBUF + (16 << 10)
# The reading watcher is given this long without a byte after each batch to
# take what the batch made, as a player's pace gives a viewer: however
# loaded the machine, it is never more than a batch or two behind.
QUIET = 0.2
BATCH_BYTES = 1_000


def watcher_never_reads(server):
    """A watcher that never reads, its receive buffer small, while a long
    game is streamed: dropped once a MiB behind (it is sent no more than
    that and what the kernel's small buffers hold, and never the game's
    end), the board's memory held (strangers.py weighs it); a watcher that
    reads is sent the whole game to its end."""
    header, events = recording_lines(server)
    game = Game(server, "127.0.0.56")
    stuck, status = watch(server, game.run, "127.0.0.80", rcvbuf=STUCK_RCVBUF)
    reader, reader_status = watch(server, game.run, "127.0.0.81")
    got, last_read = [], [time.monotonic()]

    def read_all():
        reader.settimeout(30)
        try:
            while True:
                data = reader.recv(1 << 16)
                if not data:
                    break
                got.append(data)
                last_read[0] = time.monotonic()
        except OSError:
            pass

    def caught_up(since):
        deadline = since + 30
        while time.monotonic() < deadline and time.monotonic() - max(since, last_read[0]) < QUIET:
            time.sleep(QUIET / 10)

    reading = threading.Thread(target=read_all, daemon=True)
    reading.start()
    faults = [] if (status, reader_status) == (b"200", b"200") else [
        f"the watchers were answered {status!r} and {reader_status!r}"]
    seq, batch = 1, [header]
    for line in events:
        batch.append(line)
        if sum(map(len, batch)) > BATCH_BYTES:
            faults += expect(game.batch(seq, "".join(batch)), 200, closed=False,
                             what=f"batch {seq}")
            caught_up(time.monotonic())
            seq, batch = seq + 1, []
    faults += expect(game.batch(seq, "".join(batch), last=True), 200, closed=False,
                     what="the last batch")
    reading.join(40)
    stuck.settimeout(5)
    kept = []
    try:
        while True:
            data = stuck.recv(1 << 16)
            if not data:
                break
            kept.append(data)
    except OSError:
        pass
    stuck.close()
    reader.close()
    streamed, behind = b"".join(got), b"".join(kept)
    if len(streamed) < 2 * (WATCHER_BEHIND + IN_THE_KERNEL):
        faults.append(f"the reading watcher was sent {len(streamed)} bytes: too short a game "
                      "to prove a drop")
    if not streamed.endswith(b"event: done\ndata: {}\n\n\r\n0\r\n\r\n"):
        faults.append(f"the reading watcher was cut off after {len(streamed)} bytes, "
                      f"the game's end not sent: {streamed[-80:]!r}")
    if b"event: done" in behind:
        faults.append(f"the watcher that never read was sent the game's end ({len(behind)} "
                      "bytes)")
    if len(behind) > WATCHER_BEHIND + IN_THE_KERNEL:
        faults.append(f"the watcher that never read was sent {len(behind)} bytes, more than "
                      f"{WATCHER_BEHIND} behind and {IN_THE_KERNEL} in the kernel")
    return faults


def table():
    return [
        ("live: malformed bodies, wrong secrets, no session", malformed_and_wrong_secrets),
        ("live: batches repeated, gapped and going back", repeated_and_gapped),
        ("live: a batch of 10 MiB", huge_batch),
        ("live: a batch a byte every 0.5 s", slowloris_batch),
        ("live: sessions over the address's limit", too_many_sessions),
        ("live: watchers over the address's limit", too_many_watchers),
        ("live: a watcher that never reads", watcher_never_reads),
    ]
