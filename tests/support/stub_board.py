#!/usr/bin/env python3
"""A stand-in for a board, on loopback, for the client's end-to-end tests.

Usage: stub_board.py DIR

Listens on 127.0.0.1 on a port of its own choosing, written to DIR/port
once it listens. Each request is noted in DIR/requests ("METHOD PATH") with
its body in DIR/body-N and its Content-Type in DIR/type-N (N from 1); the
answer is read at that moment from DIR/status (201 when missing),
DIR/answer and, when present, DIR/retry-after, so a test changes the next
answer by writing a file.
"""
import http.server
import os
import sys

folder = sys.argv[1]


def read(name, default=b""):
    try:
        with open(os.path.join(folder, name), "rb") as f:
            return f.read()
    except FileNotFoundError:
        return default


class Board(http.server.BaseHTTPRequestHandler):
    def answer(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length)
        with open(os.path.join(folder, "requests"), "a") as f:
            f.write(f"{self.command} {self.path}\n")
        with open(os.path.join(folder, "requests")) as f:
            n = sum(1 for _ in f)
        with open(os.path.join(folder, f"body-{n}"), "wb") as f:
            f.write(body)
        with open(os.path.join(folder, f"type-{n}"), "w") as f:
            f.write(self.headers.get("Content-Type") or "")
        content = read("answer")
        self.send_response(int(read("status", b"201")))
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(content)))
        retry = read("retry-after")
        if retry:
            self.send_header("Retry-After", retry.decode().strip())
        self.end_headers()
        self.wfile.write(content)

    do_GET = answer
    do_POST = answer

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Board)
with open(os.path.join(folder, "port.tmp"), "w") as f:
    f.write(str(server.server_address[1]))
os.rename(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))
server.serve_forever()
