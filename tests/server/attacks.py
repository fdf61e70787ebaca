"""What a stranger sends the board to wear it down: one entry for each way a
server with a thread a connection, whole-body buffering and unbounded
parsers was found weak. Each attack takes the server and returns what it
saw: a list of faults, empty when the server stood. The tests
(strangers.py) fail on faults; the benchmark (bench/board_edge.py) only
reports them beside the memory each attack cost."""

import socket
import threading
import time
import zlib

from edge_client import (LOG_LINE, connect, error_json, exchange, get, read_answer,
                         send_quietly)

MIB = 1 << 20
# The short limits the attacks run the server with: each one is met within
# seconds, and the connection limits with a few dozen sockets. The request
# timeout still outlasts the connection attack's silent sockets on a busy
# machine, and the idle timeout a pause longer than it.
REQUEST_TIMEOUT, IDLE_TIMEOUT, SEND_TIMEOUT = 3, 6, 3
OPTIONS = ["--request-timeout", str(REQUEST_TIMEOUT), "--idle-timeout", str(IDLE_TIMEOUT),
           "--send-timeout", str(SEND_TIMEOUT),
           "--max-connections", "48", "--max-connections-per-address", "8",
           "--trusted-proxy", "127.0.0.250"]
SLACK = 4


def expect(answer, status, closed=True, what=""):
    """The faults of an answer against the status wanted: a refusal says why
    in JSON, and one that ends the connection closes it."""
    faults = []
    if answer.status != status:
        faults.append(f"{what}: expected {status}, got {answer.status or 'no answer'}")
    elif status >= 400:
        faults += [f"{what}: {e}" for e in [error_json(answer)] if e]
    if closed and not answer.closed:
        faults.append(f"{what}: the connection stayed open after the {answer.status}")
    return faults


def many_ranges(server, paths):
    """1000 overlapping ranges: whole answers, once, with 200. One range is
    cut only from an answer past a MiB."""
    faults = []
    ranges = "Range: bytes=" + ",".join(["0-"] * 1000)
    for path in paths:
        whole = exchange(server.port, get(path))
        answer = exchange(server.port, get(path, ranges))
        one = exchange(server.port, get(path, "Range: bytes=10-109"))
        cut = len(whole.body) > MIB
        if whole.status != 200:
            faults.append(f"{path}: {whole.status} without Range")
        elif answer.status != 200 or answer.body != whole.body:
            faults.append(f"{path} with 1000 ranges: {answer.status}, "
                          f"{len(answer.body)} bytes for {len(whole.body)}")
        elif (one.status, one.body) != ((206, whole.body[10:110]) if cut else (200, whole.body)):
            faults.append(f"{path} of {len(whole.body)} bytes, bytes=10-109: {one.status}, "
                          f"{len(one.body)} bytes")
    return faults


def gzip_bomb():
    # A megabyte on the wire that inflates to a gigabyte of zeros.
    packer = zlib.compressobj(9, zlib.DEFLATED, 31)
    zeros = bytes(MIB)
    return b"".join([packer.compress(zeros) for _ in range(1024)] + [packer.flush()])


def coded_bodies(server):
    """Inflated under the route's cap; what cannot be inflated refused."""
    recording = exchange(server.port, get("/runs/1.replay")).body
    cases = [("gzip", zlib.compress(recording, 9, wbits=31), 200),
             ("gzip", gzip_bomb(), 413), ("deflate", zlib.compress(bytes(64 * MIB), 9), 413),
             ("gzip", b"\x1f\x8b\x08\x00 this is no gzip stream", 400),
             ("br", b"\x0b\x01\x80hello\x03", 415)]
    faults = []
    for coding, body, status in cases:
        answer = exchange(server.port, get("/api/runs", "Content-Type: text/plain",
                                           f"Content-Encoding: {coding}", body=body,
                                           method="POST"))
        faults += expect(answer, status, closed=False,
                         what=f"{len(body)} bytes of {coding} to POST /api/runs")
        if status == 200 and b'"id":1' not in answer.body:
            faults.append(f"the gzipped recording is not run 1: {answer.body[:200]!r}")
    return faults


def endless_chunks(server):
    """A chunked body counted as it comes: taken under the MiB, refused once
    past it, not buffered to the end."""
    s = connect(server.port)
    s.sendall(b"POST /api/runs HTTP/1.1\r\nHost: board\r\nContent-Type: text/plain\r\n"
              b"Transfer-Encoding: chunked\r\n\r\n")
    chunk = b"10000\r\n" + b"key 65 0\n" * (0x10000 // 9) + b"k" * (0x10000 % 9) + b"\r\n"

    def send():
        for _ in range(64):  # 4 MiB at most
            send_quietly(s, chunk)

    sender = threading.Thread(target=send, daemon=True)
    sender.start()
    answer = read_answer(s)
    s.close()
    no_length = exchange(server.port, get("/api/runs", "Content-Type: text/plain",
                                          method="POST"))
    recording = exchange(server.port, get("/runs/1.replay")).body
    chunked = b"".join(b"%x\r\n%s\r\n" % (len(recording[i:i + 4096]), recording[i:i + 4096])
                       for i in range(0, len(recording), 4096)) + b"0\r\n\r\n"
    taken = exchange(server.port, get("/api/runs", "Content-Type: text/plain",
                                      "Transfer-Encoding: chunked", body=chunked,
                                      method="POST"))
    return (expect(taken, 200, closed=False, what="a recording sent chunked") +
            expect(answer, 413, what="a chunked body past 1 MiB to POST /api/runs") +
            expect(no_length, 411, closed=False,
                   what="POST /api/runs with neither Content-Length nor chunked"))


def too_long(server):
    """A Content-Length past the route's limit is refused from the headers,
    with no 100 Continue that would invite the body."""
    faults = []
    for path, length in [("/api/runs", 10_000_000_000), ("/api/tickets", 5000)]:
        s = connect(server.port)
        s.sendall(get(path, "Content-Type: text/plain", f"Content-Length: {length}",
                      "Expect: 100-continue", method="POST", close=False))
        answer = read_answer(s)
        s.close()
        faults += expect(answer, 413, what=f"POST {path}, Content-Length: {length}, "
                                           "Expect: 100-continue")
    return faults


def huge_headers(server):
    many = get("/healthz", *[f"X-{i}: {i}" for i in range(300000)])
    big = get("/healthz", "X-Big: " + "b" * (100 << 10))
    return (expect(exchange(server.port, many), 431, what="300,000 header lines") +
            expect(exchange(server.port, big), 431, what="100 KiB of headers"))


def slow_headers(server):
    """A byte every half second: the request's whole read has a deadline,
    not each byte."""
    s = connect(server.port)
    text = get("/healthz", "X-Slow: " + "s" * 200)
    started = time.monotonic()
    for i in range(len(text)):
        if time.monotonic() - started > REQUEST_TIMEOUT + SLACK:
            break
        try:
            s.send(text[i:i + 1])
            s.settimeout(0.5)
            if s.recv(1, socket.MSG_PEEK):  # answered before the end
                break
        except socket.timeout:
            continue
        except OSError:
            break
    answer = read_answer(s)
    s.close()
    return expect(answer, 408, what="headers a byte every 0.5 s")


def idle_kept_alive(server):
    """Kept alive after an answer, then silent: closed, with nothing said.
    The request timeout runs from a request's first byte, so a pause longer
    than it (but not the idle timeout) between two requests is no fault."""
    s = connect(server.port)
    s.sendall(get("/healthz", close=False))
    first = read_answer(s)
    time.sleep(REQUEST_TIMEOUT + 1)
    s.sendall(get("/healthz", close=False))
    second = read_answer(s)
    s.settimeout(15)
    try:
        after = s.recv(65536)
    except (ConnectionResetError, socket.timeout) as e:
        after = type(e).__name__.encode()
    s.close()
    faults = (expect(first, 200, closed=False, what="GET /healthz kept alive") +
              expect(second, 200, closed=False,
                     what=f"GET /healthz {REQUEST_TIMEOUT + 1} s after the first, kept alive"))
    if after != b"":
        faults.append(f"an idle kept-alive connection: {after[:80]!r} instead of a close")
    return faults


def slow_reader(server, path):
    """Big answers asked for and never read: the server gives up after the
    send timeout instead of holding them (pipelined, so they outgrow the
    sockets' buffers)."""
    whole = exchange(server.port, get(path))
    count = max(2, (16 * MIB) // max(1, len(whole.body)))
    s = connect(server.port, rcvbuf=4096)
    send_quietly(s, get(path, close=False) * count)
    time.sleep(SEND_TIMEOUT + SLACK)
    got, closed = 0, False
    s.settimeout(5)
    try:
        while not closed and got < count * len(whole.body):
            data = s.recv(1 << 20)
            got += len(data)
            closed = not data
    except ConnectionResetError:
        closed = True
    except socket.timeout:
        pass
    s.close()
    if whole.status != 200:
        return [f"{path}: {whole.status}"]
    if not closed or got >= count * len(whole.body):
        return [f"{count} × {path} never read: {SEND_TIMEOUT + SLACK} s later "
                f"{got} bytes of {count * len(whole.body)} came and the connection was "
                f"{'closed' if closed else 'still open'}"]
    return []


def held_connection(port, source):
    """A connection that has had its answer and waits, kept alive: counted
    by the server for the idle timeout, not the shorter request timeout."""
    s = connect(port, source)
    s.sendall(get("/healthz", close=False))
    answer = read_answer(s)
    if answer.status != 200 or answer.closed:
        raise RuntimeError(f"a connection to hold from {source} got {answer!r}")
    return s


def too_many_connections(server):
    """Per address, then in all; a trusted proxy is many clients in one."""
    faults = []
    held = [held_connection(server.port, "127.0.0.20") for _ in range(8)]
    faults += expect(exchange(server.port, get("/healthz"), "127.0.0.20"), 429,
                     what="a 9th connection from 127.0.0.20")
    faults += expect(exchange(server.port, get("/healthz"), "127.0.0.21"), 200,
                     what="another address while 127.0.0.20 is at its limit")
    held += [held_connection(server.port, "127.0.0.250") for _ in range(12)]
    faults += expect(exchange(server.port, get("/healthz"), "127.0.0.250"), 200,
                     what="a 13th connection from the trusted proxy")
    held += [held_connection(server.port, f"127.0.0.{30 + i // 8}") for i in range(28)]
    faults += expect(exchange(server.port, get("/healthz"), "127.0.0.99"), 503,
                     what="a 49th connection in all")
    # The first one held is still held: the limits were met by live
    # connections, not by ones the idle timeout had closed.
    held[0].sendall(get("/healthz", close=False))
    faults += expect(read_answer(held[0]), 200, closed=False,
                     what="the first connection held, asked again")
    for s in held:
        s.close()
    time.sleep(0.3)
    return faults


def repeated(server):
    """The same bad request 500 times, on one kept-alive connection and on
    fresh ones: nothing kept per request, no socket left open."""
    files = server.open_files()
    faults = []
    s = connect(server.port)
    bad = get("/api/runs", "Content-Type: text/plain", body=b"not a recording\n",
              method="POST", close=False)
    for i in range(500):
        s.sendall(bad)
        answer = read_answer(s)
        if answer.status != 400:
            faults.append(f"bad recording #{i + 1} kept alive: {answer}")
            break
        if answer.closed:  # a cap on requests a connection: go on on a new one
            s.close()
            s = connect(server.port)
    s.close()
    refused = get("/api/runs", "Content-Type: text/plain", "Content-Length: 10000000000",
                  method="POST", close=False)
    for i in range(500):
        answer = exchange(server.port, refused, timeout=5)
        if answer.status != 413:
            faults.append(f"10 GB refused #{i + 1} on a fresh connection: {answer}")
            break
    time.sleep(0.5)
    if server.open_files() > files + 2:
        faults.append(f"{server.open_files() - files} more files open after 1000 refusals")
    return faults


def log_injection(server):
    """Escape codes and line breaks where a client chooses the text: the
    log keeps one line a request, none of it raw."""
    before = server.log_bytes().count(b"\n")
    requests = [
        (b"GET /runs/\x1b[2J\x1b[31mred HTTP/1.1\r\nHost: b\r\nConnection: close\r\n\r\n",
         "127.0.0.1"),
        (b"GET /%0d%0afake 127.0.0.1 GET / 200 0 0ms HTTP/1.1\r\nHost: b\r\n"
         b"Connection: close\r\n\r\n", "127.0.0.1"),
        (b"GET /healthz HTTP/1.1\r\nHost: b\r\nX-Forwarded-For: 10.9.9.9\x1b]0;owned\x07\r\n"
         b"Connection: close\r\n\r\n", "127.0.0.250"),
    ]
    for request, source in requests:
        exchange(server.port, request, source)
    time.sleep(0.3)
    lines = server.log_bytes().split(b"\n")[before:-1]
    faults = []
    if len(lines) != len(requests):
        faults.append(f"{len(requests)} requests, {len(lines)} log lines: {lines!r}")
    return faults + log_faults(server.log_bytes())


def log_faults(log):
    """Over the whole log: no raw ESC, and every line a request's or the
    server's own."""
    faults = []
    if b"\x1b" in log:
        faults.append("a raw ESC in the log")
    for line in log.split(b"\n")[:-1]:
        if not line.startswith(b"orbitrix-server: ") and not LOG_LINE.match(line):
            faults.append(f"a log line of no request: {line[:200]!r}")
    return faults


def table(run_id, player_script):
    """(name, attack) for a board that holds run RUN_ID, its cast larger than
    a MiB."""
    replay, cast = f"/runs/{run_id}.replay", f"/runs/{run_id}.cast"
    return [
        ("1000 overlapping ranges",
         lambda s: many_ranges(s, [replay, "/static/orbitrix.css", cast])),
        ("gzip recording, gzip bomb, deflate, malformed and unknown codings", coded_bodies),
        ("endless chunked body; no length", endless_chunks),
        ("Content-Length past the limit with Expect: 100-continue", too_long),
        ("300,000 header lines; 100 KiB of headers", huge_headers),
        ("headers a byte every 0.5 s", slow_headers),
        ("idle kept-alive connection", idle_kept_alive),
        ("slow reader of the player's script", lambda s: slow_reader(s, player_script)),
        ("slow reader of a cast", lambda s: slow_reader(s, cast)),
        ("connections over the limits", too_many_connections),
        ("the same bad request 500 times", repeated),
        ("escape codes and line breaks for the log", log_injection),
    ]
