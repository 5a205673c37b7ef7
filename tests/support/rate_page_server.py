#!/usr/bin/env python3
"""Stands in for the finance ministry's web server while one test program runs.

    rate_page_server.py --page FILE [--lifetime SECONDS] -- COMMAND [ARGS...]

Listens on two free ports of 127.0.0.1: one is the HTTP proxy that the program's WinINet is
given through http_proxy (so the program requests the page's real address and is answered
here), the other takes the program's commands, one line per connection (its port is in
VISTREL_RATE_SERVER_CONTROL):

    serve MODE [ARG...]  answer every later request as MODE says; replies "ok"
    log                  replies with the requests received since the last "log", one per line:
                         request line, a tab, the User-Agent header; then forgets them
    down / up            stop listening on the proxy port (connections are refused) / listen
                         on it again; replies "ok"

Modes: page (FILE), latin2 (a fixed Latin-2 body), large (120000 bytes), empty, numbered
("strona 1", "strona 2"...), status CODE (an HTML error page), redirect CODE THEN (CODE with a
Location on the same host; that address answers as THEN: latin2 or 404), drop (headers, a
Content-Length of 120000 and 20000 bytes, then a reset half a second later), auth USER PASSWORD
(the page to a request with basic authentication as USER and PASSWORD, otherwise 401 with a
basic challenge).

Modes of a server that stalls, each served on a connection of its own so that the control port
keeps answering meanwhile: silent (reads the request and never answers), trickle (the headers of
a 120000-byte page, then one byte a second), steady (the "large" page at 20000 bytes a second, in
tenths of a second), endless (a page without a length that never ends). Each ends when the
program closes the connection.

Runs COMMAND with that environment, ends with it and returns its exit status; a program that
outlives --lifetime is killed and the run fails.
"""

import argparse
import base64
import os
import selectors
import socket
import struct
import subprocess
import sys
import threading
import time

RATE_PAGE_PATH = "/podatki/odsetki_za_zwloke.shtml"
MOVED_PAGE_PATH = "/podatki/odsetki_za_zwloke_archiwum.shtml"
MOVED_PAGE_URL = "http://www.mf.gov.pl" + MOVED_PAGE_PATH

# Every byte of Latin-2's upper half, then two month names with Polish letters.
LATIN2_BODY = bytes(range(0xA0, 0x100)) + b" wrze\xb6nia pa\xbcdziernika"
LARGE_BODY_SIZE = 120000
STEADY_BYTES_PER_TICK = 2000
STEADY_TICK = 0.1
ENDLESS_PIECE = 65536
DROP_CONTENT_LENGTH = 120000
DROP_SENT = 20000
REASONS = {200: "OK", 204: "No Content", 301: "Moved Permanently", 302: "Found",
           303: "See Other", 307: "Temporary Redirect", 401: "Unauthorized", 403: "Forbidden",
           404: "Not Found",
           500: "Internal Server Error", 503: "Service Unavailable"}


def large_body():
    """The same pattern as the test program's: printable ASCII with a period of 89 bytes."""
    return bytes(0x21 + i % 89 for i in range(LARGE_BODY_SIZE))


def error_page(code):
    return (f"<html><head><title>{code}</title></head>"
            f"<body><h1>{code} {REASONS.get(code, '')}</h1></body></html>").encode("ascii")


def response(code, body, extra=()):
    headers = [f"HTTP/1.1 {code} {REASONS.get(code, 'Status')}",
               "Content-Type: text/html; charset=iso-8859-2",
               f"Content-Length: {len(body)}",
               # Cacheable on purpose: only a request that bypasses the cache reaches us again.
               "Cache-Control: public, max-age=86400",
               "Last-Modified: Mon, 07 Jul 2025 08:00:00 GMT",
               "Connection: close", *extra]
    return ("\r\n".join(headers) + "\r\n\r\n").encode("ascii") + body


class RatePageServer:
    def __init__(self, page_path):
        self.page = open(page_path, "rb").read()
        self.mode = ["page"]
        self.numbered = 0
        self.requests = []
        self.selector = selectors.DefaultSelector()
        self.control = self.listen(0)
        self.proxy = self.listen(0)
        self.proxy_port = self.proxy.getsockname()[1]
        self.selector.register(self.control, selectors.EVENT_READ, self.on_control)
        self.selector.register(self.proxy, selectors.EVENT_READ, self.on_request)

    @staticmethod
    def listen(port):
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        sock.bind(("127.0.0.1", port))
        sock.listen(8)
        return sock

    def run(self):
        while True:
            for key, _ in self.selector.select():
                conn, _ = key.fileobj.accept()
                conn.settimeout(10)
                handed_on = False
                try:
                    handed_on = key.data(conn)
                except OSError as error:
                    print(f"rate_page_server: {error}", file=sys.stderr)
                finally:
                    if not handed_on:
                        conn.close()

    def on_control(self, conn):
        words = read_until(conn, b"\n").decode("utf-8").split()
        reply = "ok\n"
        if words[0] == "serve":
            self.mode = words[1:]
            self.numbered = 0
        elif words[0] == "log":
            reply = "".join(line + "\n" for line in self.requests)
            self.requests = []
        elif words[0] == "down":
            if self.proxy is not None:
                self.selector.unregister(self.proxy)
                self.proxy.close()
                self.proxy = None
        elif words[0] == "up":
            if self.proxy is None:
                self.proxy = self.listen(self.proxy_port)
                self.selector.register(self.proxy, selectors.EVENT_READ, self.on_request)
        else:
            reply = "unknown command\n"
        conn.sendall(reply.encode("utf-8"))

    def on_request(self, conn):
        head = read_until(conn, b"\r\n\r\n").decode("latin-1").split("\r\n")
        agent = next((line.split(":", 1)[1].strip() for line in head[1:]
                      if line.lower().startswith("user-agent:")), "")
        self.requests.append(f"{head[0]}\t{agent}")
        path = head[0].split(" ")[1] if " " in head[0] else ""
        # The proxied target names the host, with ":80" on Wine; the path is what counts.
        moved = path.endswith(MOVED_PAGE_PATH)
        mode, *args = self.mode
        if mode in STALLING_MODES:
            threading.Thread(target=serve_stalling, args=(conn, mode), daemon=True).start()
            return True
        if mode == "redirect" and not moved:
            conn.sendall(response(int(args[0]), error_page(int(args[0])),
                                  [f"Location: {MOVED_PAGE_URL}"]))
        elif mode == "redirect":
            conn.sendall(response(200, LATIN2_BODY) if args[1] == "latin2"
                         else response(int(args[1]), error_page(int(args[1]))))
        elif mode == "page":
            conn.sendall(response(200, self.page))
        elif mode == "latin2":
            conn.sendall(response(200, LATIN2_BODY))
        elif mode == "large":
            conn.sendall(response(200, large_body()))
        elif mode == "empty":
            conn.sendall(response(200, b""))
        elif mode == "numbered":
            self.numbered += 1
            conn.sendall(response(200, f"strona {self.numbered}".encode("ascii")))
        elif mode == "status":
            conn.sendall(response(int(args[0]), error_page(int(args[0]))))
        elif mode == "auth":
            wanted = "Basic " + base64.b64encode(f"{args[0]}:{args[1]}".encode("utf-8")).decode("ascii")
            given = next((line.split(":", 1)[1].strip() for line in head[1:]
                          if line.lower().startswith("authorization:")), "")
            if given == wanted:
                conn.sendall(response(200, self.page))
            else:
                conn.sendall(response(401, error_page(401),
                                      ['WWW-Authenticate: Basic realm="odsetki"']))
        elif mode == "drop":
            whole = response(200, b"x" * DROP_CONTENT_LENGTH)
            conn.sendall(whole[:len(whole) - DROP_CONTENT_LENGTH + DROP_SENT])
            time.sleep(0.5)
            # Linger 0: close() resets the connection instead of ending it in order.
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        return False


def serve_stalling(conn, mode):
    """Serves one connection as a server that stalls until the program gives up on it."""
    try:
        conn.settimeout(None)
        if mode == "silent":
            while conn.recv(4096):
                pass
        elif mode == "trickle":
            whole = response(200, large_body())
            head = len(whole) - LARGE_BODY_SIZE
            conn.sendall(whole[:head])
            for position in range(head, len(whole)):
                time.sleep(1)
                conn.sendall(whole[position:position + 1])
        elif mode == "steady":
            whole = response(200, large_body())
            head = len(whole) - LARGE_BODY_SIZE
            conn.sendall(whole[:head])
            for start in range(head, len(whole), STEADY_BYTES_PER_TICK):
                time.sleep(STEADY_TICK)
                conn.sendall(whole[start:start + STEADY_BYTES_PER_TICK])
        elif mode == "endless":
            head = response(200, b"").replace(b"Content-Length: 0\r\n", b"")
            conn.sendall(head)
            piece = b"x" * ENDLESS_PIECE
            while True:
                conn.sendall(piece)
    except OSError:
        pass  # the program closed the connection: what these modes wait for
    finally:
        conn.close()


STALLING_MODES = ("silent", "trickle", "steady", "endless")


def read_until(conn, end):
    data = b""
    while end not in data:
        chunk = conn.recv(4096)
        if not chunk:
            break
        data += chunk
    return data.split(end, 1)[0]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--lifetime", type=float, default=240)
    parser.add_argument("command", nargs="+")
    options = parser.parse_args()

    server = RatePageServer(options.page)
    threading.Thread(target=server.run, daemon=True).start()

    env = dict(os.environ)
    for name in ("no_proxy", "NO_PROXY", "https_proxy", "HTTPS_PROXY"):
        env.pop(name, None)
    env["http_proxy"] = env["HTTP_PROXY"] = f"http://127.0.0.1:{server.proxy_port}"
    env["VISTREL_RATE_SERVER_CONTROL"] = str(server.control.getsockname()[1])
    try:
        return subprocess.run(options.command, env=env, timeout=options.lifetime).returncode
    except subprocess.TimeoutExpired:
        print(f"rate_page_server: the program ran longer than {options.lifetime} s", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
