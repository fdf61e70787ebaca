"""orbitrix-server driven as a stranger drives it: the program started on a
free loopback port, raw bytes on sockets from chosen loopback addresses,
and the process's memory read from /proc. Shared by the attack tests
(tests/server/strangers.py) and the benchmark (bench/board_edge.py)."""

import atexit
import ctypes
import json
import os
import re
import select
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time

# A request's line: time, client, method, target, status, bytes, duration.
LOG_LINE = re.compile(rb"^\d{4}-\d\d-\d\dT[\d:]+Z \S+ \S+ \S+ \d{3} \d+ \d+ms$")


def scratch(prefix):
    """A folder removed when the script ends, however it ends."""
    folder = tempfile.mkdtemp(prefix=prefix)
    atexit.register(shutil.rmtree, folder, True)
    return folder


def fail(message):
    raise SystemExit("FAIL: " + message)


def postgres_database():
    """A new, empty database on the cluster the ctest fixture started: a run
    on PostgreSQL that finds no cluster fails rather than skips."""
    state = os.environ.get("ORBITRIX_PG_STATE")
    if not state or not os.path.exists(os.path.join(state, "url")):
        fail("no PostgreSQL cluster (ORBITRIX_PG_STATE): run through ctest")
    url = open(os.path.join(state, "url")).read().strip()
    name = f"strangers_{os.getpid()}_{int(time.time() * 1000) % 100000}"
    subprocess.run(["psql", "-qX", url, "-c", f"CREATE DATABASE {name}"], check=True,
                   stdout=subprocess.DEVNULL)
    return url.replace("/orbitrix?", f"/{name}?")


def _die_with_parent():
    # Killed with the script too, as ctest kills one past its TIMEOUT, when
    # no atexit runs (PR_SET_PDEATHSIG).
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)


class Server:
    """One orbitrix-server process, its stderr kept in a file to read back."""

    def __init__(self, program, database, *options):
        self.work = scratch("orbitrix-server.")
        self.log_path = os.path.join(self.work, "server.log")
        self.log = open(self.log_path, "wb")
        self.process = subprocess.Popen(
            [program, "--listen", "127.0.0.1:0", "--database", database,
             "--submissions-per-minute", "0", *options],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=self.log,
            preexec_fn=_die_with_parent)
        self.pid = self.process.pid
        # A script that fails half-way leaves no server behind.
        atexit.register(self.process.kill)
        for _ in range(200):
            found = re.search(rb"serving on 127\.0\.0\.1:(\d+),", self.log_bytes())
            if found:
                self.port = int(found.group(1))
                return
            if self.process.poll() is not None:
                fail(f"the server did not start: {self.log_bytes().decode(errors='replace')}")
            time.sleep(0.05)
        fail("the server did not say where it listens")

    def log_bytes(self):
        with open(self.log_path, "rb") as f:
            return f.read()

    def rss_kib(self):
        for line in open(f"/proc/{self.pid}/status"):
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
        return 0

    def open_files(self):
        return len(os.listdir(f"/proc/{self.pid}/fd"))

    def terminate(self, deadline=10):
        """SIGTERM; the exit status, or None if still running after the deadline."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            return self.process.wait(deadline)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None


def connect(port, source="127.0.0.1", rcvbuf=None):
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    if rcvbuf:
        # Before connect, so the window the server sees is small from the start.
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, rcvbuf)
    s.bind((source, 0))
    s.settimeout(15)
    s.connect(("127.0.0.1", port))
    return s


class Answer:
    def __init__(self, status=None, headers=None, body=b"", closed=False, raw_head=b""):
        self.status, self.headers, self.body = status, headers or {}, body
        self.closed, self.raw_head = closed, raw_head

    def __repr__(self):
        return f"<{self.status} {len(self.body)} bytes{' closed' if self.closed else ''}>"


def read_answer(s, timeout=15):
    """One answer off the socket; closed says the server closed after it (or
    instead of it). A reset counts as closed."""
    s.settimeout(timeout)
    data = b""
    try:
        while b"\r\n\r\n" not in data:
            chunk = s.recv(65536)
            if not chunk:
                return Answer(closed=True, raw_head=data)
            data += chunk
    except (ConnectionResetError, BrokenPipeError):
        return Answer(closed=True, raw_head=data)
    except socket.timeout:
        return Answer(raw_head=data)
    head, body = data.split(b"\r\n\r\n", 1)
    lines = head.split(b"\r\n")
    status = int(lines[0].split()[1])
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(b":")
        headers[name.strip().lower().decode()] = value.strip().decode(errors="replace")
    length = int(headers.get("content-length", "0"))
    closed = False
    try:
        while len(body) < length:
            chunk = s.recv(1 << 20)
            if not chunk:
                closed = True
                break
            body += chunk
        if headers.get("connection", "").lower() == "close" and not closed:
            s.settimeout(2)
            closed = s.recv(1) == b""
    except (ConnectionResetError, BrokenPipeError):
        closed = True
    except socket.timeout:
        pass
    return Answer(status, headers, body, closed, head)


def send_quietly(s, data):
    """Sends what the server takes: one that answers early and closes stops it."""
    try:
        s.sendall(data)
    except OSError:  # a reset, a timeout, or the socket closed under it
        pass


def exchange(port, request, source="127.0.0.1", timeout=15):
    """Sends a request (from a thread, so an early answer is read while a
    large request is still going out) and reads the one answer."""
    s = connect(port, source)
    sender = threading.Thread(target=send_quietly, args=(s, request), daemon=True)
    sender.start()
    answer = read_answer(s, timeout)
    s.close()
    sender.join(5)
    return answer


def get(path, *headers, body=b"", method="GET", close=True):
    lines = [f"{method} {path} HTTP/1.1", "Host: board"] + list(headers)
    if close:
        lines.append("Connection: close")
    if body and not any(h.lower().startswith(("content-length", "transfer-encoding"))
                        for h in headers):
        lines.append(f"Content-Length: {len(body)}")
    return ("\r\n".join(lines) + "\r\n\r\n").encode() + body


def error_json(answer):
    """A refusal's body is {"error": "..."}; None when it is."""
    try:
        if isinstance(json.loads(answer.body).get("error"), str):
            return None
    except (ValueError, AttributeError):
        pass
    return f"a {answer.status} whose body is not {{\"error\": ...}}: {answer.body[:200]!r}"


class SlowClients:
    """COUNT sockets from 127.0.0.2 on, one address each, each a request whose
    headers come a byte at a time: what held every thread of a server with
    one thread a connection."""

    def __init__(self, port, count, gap=0.5):
        self.sockets = [connect(port, f"127.0.0.{2 + i}") for i in range(count)]
        self.stop = threading.Event()
        self.thread = threading.Thread(target=self._trickle, args=(gap,), daemon=True)
        self.thread.start()

    def _trickle(self, gap):
        # A request line, then a header that never ends.
        text = b"GET /healthz HTTP/1.1\r\nHost: board\r\nX-Slow: " + b"a" * 100000
        for byte in range(len(text)):
            for s in self.sockets:
                try:
                    s.send(text[byte:byte + 1])
                except OSError:
                    pass
            if self.stop.wait(gap):
                return

    def held(self):
        """How many are still waiting on the server: nothing to read on them,
        neither an answer nor a close."""
        readable, _, _ = select.select(self.sockets, [], [], 0)
        return len(self.sockets) - len(readable)

    def close(self):
        self.stop.set()
        self.thread.join()
        for s in self.sockets:
            s.close()
