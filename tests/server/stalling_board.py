#!/usr/bin/env python3
"""A board that opens a live session and deals its games, then takes every
batch's connection and never answers it: what a board stuck behind its
database looks like to the player. Listens on 127.0.0.1 (the port given,
or any) and says where on stderr, as orbitrix-server does."""
import http.server
import json
import sys
import threading


class Stalling(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def answer(self, status, body):
        data = json.dumps(body).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.rfile.read(length)
        path = self.path.split("?")[0]
        if path == "/api/live":
            self.answer(201, {"run": "1", "secret": "5e" * 16})
        elif path.startswith("/api/live/") and path.endswith("/games"):
            self.answer(201, {"game": 1, "seed": 20261211, "secret": "9a" * 16})
        else:
            threading.Event().wait()  # the batch is taken, and never answered

    def log_message(self, *args):
        pass


def main():
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 0
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Stalling)
    server.daemon_threads = True
    print(f"stalling board: serving on 127.0.0.1:{server.server_address[1]}",
          file=sys.stderr, flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
