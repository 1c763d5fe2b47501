#!/usr/bin/env python3
"""Local stand-in for the installer's outside servers, on 127.0.0.1 only.

Command line:

  lumora_test_server.py [--stats-port N] [--cdn-port N] [--web-port N]
                        [--env-file FILE] [--log FILE] [--raw-dir DIR]
                        [--fault SOURCE=MODE[:COUNT]] ...
                        [--setup-size BYTES] [--setup-exit CODE]
                        [--slow-rate BYTES_PER_SECOND] [--cdn-tls]

Three listeners, each on its own port (0 = pick a free one, the default):
  stats  the statistics server: POST /caller?c=site&a=writelog&coopcom=zorv (usage
         reports) and GET /caller?c=site&a=downloadPackage&coopcom=zorv&channel=...
         (first download source, serves the setup file)
  cdn    the content delivery server: GET /lumora/ZORVlumoraSetup.exe (the setup file)
  web    the web pages: /privacy/p1.html and /offline/photo.html

Once every listener is bound the server prints one line per server to stdout and, with
--env-file, writes the same lines to FILE (atomically, so its presence means "ready"):
  LUMORA_STATS_SERVER=http://127.0.0.1:PORT
  LUMORA_CDN_SERVER=http://127.0.0.1:PORT
  LUMORA_WEB_SERVER=http://127.0.0.1:PORT
  LUMORA_OFFLINE_SERVER=http://127.0.0.1:PORT
With --cdn-tls the cdn listener speaks HTTPS (LUMORA_CDN_SERVER=https://...) with the
self-signed test certificate beside this script (test-tls-cert.pem, for 127.0.0.1 and
localhost, key in test-tls-key.pem; for tests only): a client that checks certificates
meets a certificate problem, as with a misconfigured mirror.
A shell can load them with `set -a; . FILE; set +a`. The server runs until it gets
SIGTERM or SIGINT.

Recording: with --log, every request becomes one JSON line appended to FILE with the
members "source", "method", "path", "headers" (the header lines in the order they
arrived, as sent), "cookie" (the Cookie header's value or null), "body" (text),
"fault" (the mode answered) and, for a usage report, "record" (the Base64 field
"log" decoded to text) and "record_json" (that text parsed, or null when it is not
valid JSON). With --raw-dir, request number N (from 1) is also written byte for byte
as DIR/N.head (request line and header lines up to the empty line) and DIR/N.body.
Requests answered by "drop" are recorded too.

Sources for --fault: writelog, package (downloadPackage), cdn, privacy, offline.
Modes (COUNT, when given, applies the mode to the first COUNT requests of that source
only; later ones are answered normally):
  ok         normal answer (the default)
  refuse     nothing listens: the listener of that source (stats for writelog and
             package, cdn, web for privacy and offline) is closed for the whole run,
             so connections are refused; COUNT is not allowed
  drop       the connection is accepted and closed without any answer
  500        HTTP 500 with a short text
  errorpage  HTTP 200 with a 512-byte HTML error page instead of the file
  truncated  the file's full Content-Length is announced but only half is sent
  slow       the file is sent at --slow-rate bytes per second (default 1 MiB/s)
  small      a file that starts with "MZ" but is one byte shorter than 10 MiB
  nomz       a file of full size that starts with "PK" instead of "MZ"

The setup file (--setup-size bytes, default 11 MiB, at least 10 MiB): "MZ", a short
text header, zero padding, then a marker line "#!lumora-setup-script" followed by a
POSIX shell script up to the end of the file. tools/test-server/setup-runner.sh
PROGRAM ARGS... runs that script with the setup's switches ("/S", "/D=FOLDER"): it
creates FOLDER, writes FOLDER/lumora.exe (a small shell script) and exits with the
code given by --setup-exit (default 0), or by $LUMORA_TEST_SETUP_EXIT when set at
run time. Point the platform's runner for "MZ" programs at setup-runner.sh to
"install" the product in an end-to-end run.
"""

import argparse
import base64
import json
import os
import signal
import socket
import ssl
import sys
import threading
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
MIN_SETUP_SIZE = 10 * 1024 * 1024
SCRIPT_MARKER = b"#!lumora-setup-script\n"
SOURCES = ("writelog", "package", "cdn", "privacy", "offline")
MODES = ("ok", "refuse", "drop", "500", "errorpage", "truncated", "slow", "small", "nomz")
STOP_SIGNALS = {signal.SIGTERM, signal.SIGINT}
LISTENER_OF = {"writelog": "stats", "package": "stats", "cdn": "cdn",
               "privacy": "web", "offline": "web"}

SETUP_SCRIPT = """\
# Installs the stand-in product. Switches: /S (silent, ignored), /D=FOLDER (last,
# may contain spaces). Exit code: $LUMORA_TEST_SETUP_EXIT, else the baked default.
folder=
while [ $# -gt 0 ]; do
  case "$1" in
    /D=*) folder="${1#/D=}"; shift; [ $# -gt 0 ] && folder="$folder $*"; break ;;
  esac
  shift
done
code="${LUMORA_TEST_SETUP_EXIT:-%d}"
[ "$code" = 0 ] || exit "$code"
[ -n "$folder" ] || exit 3
mkdir -p "$folder" || exit 4
cat > "$folder/lumora.exe" <<'EOF'
#!/bin/sh
# Stand-in product: records that it was started.
echo "lumora started $*" >> "${LUMORA_TEST_PRODUCT_LOG:-/dev/null}"
EOF
chmod +x "$folder/lumora.exe"
exit 0
"""

PAGES = {
    "privacy": b"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Privacy</title>"
               b"</head><body><h1>Privacy policy</h1><p>Local test page.</p></body></html>\n",
    "offline": b"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Offline package"
               b"</title></head><body><h1>Offline package</h1><p>Local test page.</p>"
               b"</body></html>\n",
}


def make_setup(size, exit_code):
    script = SCRIPT_MARKER + (SETUP_SCRIPT % exit_code).encode()
    header = b"MZ" + b"\nLumora stand-in setup; the shell script follows the marker line.\n"
    pad = size - len(header) - len(script)
    if pad < 0:
        raise ValueError("setup size too small for its script")
    return header + b"\0" * pad + script


def error_page():
    page = b"<html><head><title>Error</title></head><body><h1>Server busy</h1>"
    tail = b"</body></html>\n"
    return page + b"<!--" + b"x" * (512 - len(page) - len(tail) - 7) + b"-->" + tail


class Faults:
    """Per-source fault modes with optional counts; thread safe."""

    def __init__(self, specs):
        self.lock = threading.Lock()
        self.modes = {}  # source -> [mode, remaining or None]
        for spec in specs:
            source, _, rest = spec.partition("=")
            mode, _, count = rest.partition(":")
            if source not in SOURCES or mode not in MODES:
                raise ValueError(f"bad --fault {spec!r}: sources {SOURCES}, modes {MODES}")
            if mode == "refuse" and count:
                raise ValueError("refuse takes no COUNT")
            self.modes[source] = [mode, int(count) if count else None]

    def refused_listeners(self):
        return {LISTENER_OF[s] for s, (m, _) in self.modes.items() if m == "refuse"}

    def take(self, source):
        with self.lock:
            entry = self.modes.get(source)
            if not entry:
                return "ok"
            mode, remaining = entry
            if remaining is None:
                return mode
            if remaining <= 0:
                return "ok"
            entry[1] = remaining - 1
            return mode


class Server:
    def __init__(self, args):
        self.args = args
        self.faults = Faults(args.fault)
        self.setup = make_setup(args.setup_size, args.setup_exit)
        self.error_page = error_page()
        self.log_lock = threading.Lock()
        self.request_number = 0
        self.stopping = threading.Event()
        self.tls = {}
        if args.cdn_tls:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(os.path.join(HERE, "test-tls-cert.pem"),
                                    os.path.join(HERE, "test-tls-key.pem"))
            self.tls["cdn"] = context

    # -- recording --------------------------------------------------------
    def record(self, source, method, path, header_lines, raw_head, body, fault):
        entry = {"source": source, "method": method, "path": path, "headers": header_lines,
                 "cookie": None, "body": body.decode("utf-8", "replace"), "fault": fault}
        for line in header_lines:
            name, _, value = line.partition(":")
            if name.lower() == "cookie":
                entry["cookie"] = value[1:] if value.startswith(" ") else value
        if source == "writelog":
            entry["record"] = None
            entry["record_json"] = None
            # The body is "log=" + Base64 sent without percent-encoding: '+' is part of
            # the Base64 text, so the form field is read raw, not form-decoded.
            raw = body.decode("latin-1")
            if raw.startswith("log="):
                try:
                    text = base64.b64decode(raw[4:], validate=True).decode("utf-8")
                    entry["record"] = text
                    entry["record_json"] = json.loads(text)
                except (ValueError, UnicodeDecodeError):
                    pass
        with self.log_lock:
            self.request_number += 1
            number = self.request_number
            if self.args.raw_dir:
                with open(os.path.join(self.args.raw_dir, f"{number}.head"), "wb") as f:
                    f.write(raw_head)
                with open(os.path.join(self.args.raw_dir, f"{number}.body"), "wb") as f:
                    f.write(body)
            if self.args.log:
                with open(self.args.log, "a", encoding="utf-8") as f:
                    f.write(json.dumps(entry, ensure_ascii=False) + "\n")

    # -- routing ----------------------------------------------------------
    @staticmethod
    def route(listener, method, path):
        parsed = urllib.parse.urlsplit(path)
        query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True)
        if listener == "stats" and parsed.path == "/caller":
            action = query.get("a", [""])[0]
            if action == "writelog":
                return "writelog"
            if action == "downloadPackage":
                return "package"
        if listener == "cdn" and parsed.path == "/lumora/ZORVlumoraSetup.exe":
            return "cdn"
        if listener == "web" and parsed.path == "/privacy/p1.html":
            return "privacy"
        if listener == "web" and parsed.path == "/offline/photo.html":
            return "offline"
        return None

    # -- one connection ---------------------------------------------------
    def handle(self, listener, conn):
        conn.settimeout(30)
        try:
            if listener in self.tls:
                conn = self.tls[listener].wrap_socket(conn, server_side=True)
            data = b""
            while b"\r\n\r\n" not in data:
                chunk = conn.recv(65536)
                if not chunk:
                    return
                data += chunk
                if len(data) > 1 << 20:
                    return
            head, _, body = data.partition(b"\r\n\r\n")
            raw_head = head + b"\r\n\r\n"
            lines = head.decode("latin-1").split("\r\n")
            parts = lines[0].split(" ")
            if len(parts) != 3:
                self.send(conn, 400, b"bad request line\n")
                return
            method, path, _ = parts
            header_lines = lines[1:]
            headers = {}
            for line in header_lines:
                name, _, value = line.partition(":")
                headers[name.strip().lower()] = value.strip()
            if headers.get("expect", "").lower() == "100-continue":
                conn.sendall(b"HTTP/1.1 100 Continue\r\n\r\n")
            length = int(headers.get("content-length", "0") or 0)
            while len(body) < length:
                chunk = conn.recv(65536)
                if not chunk:
                    break
                body += chunk
            body = body[:length]
            source = self.route(listener, method, path)
            fault = self.faults.take(source) if source else "ok"
            # Header lines are logged as text: UTF-8 where they decode, else Latin-1.
            try:
                text_lines = head.decode("utf-8").split("\r\n")[1:]
            except UnicodeDecodeError:
                text_lines = header_lines
            self.record(source or "unknown", method, path, text_lines, raw_head, body, fault)
            self.answer(conn, source, method, fault)
        except (OSError, ValueError):
            pass  # includes a client that refused the certificate
        finally:
            try:
                conn.close()
            except OSError:
                pass

    def answer(self, conn, source, method, fault):
        if source is None:
            self.send(conn, 404, b"not found\n")
            return
        if fault == "drop":
            return
        if fault == "500":
            self.send(conn, 500, b"internal server error\n")
            return
        if source == "writelog":
            self.send(conn, 200, b'{"code":0}\n', "application/json")
            return
        if source in PAGES:
            body = self.error_page if fault == "errorpage" else PAGES[source]
            self.send(conn, 200, body, "text/html; charset=utf-8", head_only=method == "HEAD")
            return
        if fault == "errorpage":
            self.send(conn, 200, self.error_page, "text/html", head_only=method == "HEAD")
            return
        body = self.setup
        if fault == "small":
            body = self.setup[:MIN_SETUP_SIZE - 1]
        elif fault == "nomz":
            body = b"PK" + self.setup[2:]
        if fault == "truncated":
            self.send(conn, 200, body, "application/octet-stream", send_bytes=len(body) // 2,
                      head_only=method == "HEAD")
        elif fault == "slow":
            self.send(conn, 200, body, "application/octet-stream", rate=self.args.slow_rate,
                      head_only=method == "HEAD")
        else:
            self.send(conn, 200, body, "application/octet-stream", head_only=method == "HEAD")

    def send(self, conn, status, body, content_type="text/plain", send_bytes=None,
             rate=None, head_only=False):
        reason = {200: "OK", 400: "Bad Request", 404: "Not Found",
                  500: "Internal Server Error"}[status]
        head = (f"HTTP/1.1 {status} {reason}\r\nContent-Type: {content_type}\r\n"
                f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n")
        conn.sendall(head.encode())
        if head_only:
            return
        payload = memoryview(body)[: len(body) if send_bytes is None else send_bytes]
        if rate is None:
            conn.sendall(payload)
            return
        step = max(1, rate // 20)
        for offset in range(0, len(payload), step):
            if self.stopping.is_set():
                return
            conn.sendall(payload[offset:offset + step])
            time.sleep(0.05)

    # -- listeners --------------------------------------------------------
    def serve(self, listener, sock):
        while not self.stopping.is_set():
            try:
                conn, _ = sock.accept()
            except OSError:
                return
            threading.Thread(target=self.handle, args=(listener, conn), daemon=True).start()


def closed_port():
    """A port that nothing listens on (bound, then released)."""
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.bind(("127.0.0.1", 0))
    port = sock.getsockname()[1]
    sock.close()
    return port


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--stats-port", type=int, default=0)
    parser.add_argument("--cdn-port", type=int, default=0)
    parser.add_argument("--web-port", type=int, default=0)
    parser.add_argument("--env-file")
    parser.add_argument("--log")
    parser.add_argument("--raw-dir")
    parser.add_argument("--fault", action="append", default=[])
    parser.add_argument("--setup-size", type=int, default=11 * 1024 * 1024)
    parser.add_argument("--setup-exit", type=int, default=0)
    parser.add_argument("--slow-rate", type=int, default=1024 * 1024)
    parser.add_argument("--cdn-tls", action="store_true")
    args = parser.parse_args()
    if args.setup_size < MIN_SETUP_SIZE:
        parser.error(f"--setup-size must be at least {MIN_SETUP_SIZE}")
    if args.slow_rate <= 0:
        parser.error("--slow-rate must be positive")
    try:
        server = Server(args)
    except ValueError as e:
        parser.error(str(e))
    if args.raw_dir:
        os.makedirs(args.raw_dir, exist_ok=True)

    # Blocked before any thread starts, so every thread inherits the mask and the
    # main thread alone takes them, at once, in sigwait.
    signal.pthread_sigmask(signal.SIG_BLOCK, STOP_SIGNALS)
    refused = server.faults.refused_listeners()
    ports = {}
    sockets = []
    for name, port in (("stats", args.stats_port), ("cdn", args.cdn_port),
                       ("web", args.web_port)):
        if name in refused:
            ports[name] = port or closed_port()
            continue
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            sock.bind(("127.0.0.1", port))
        except OSError as e:
            sys.exit(f"lumora_test_server: cannot listen on 127.0.0.1:{port} ({name}): {e}")
        sock.listen(64)
        ports[name] = sock.getsockname()[1]
        sockets.append(sock)
        threading.Thread(target=server.serve, args=(name, sock), daemon=True).start()

    lines = [f"LUMORA_STATS_SERVER=http://127.0.0.1:{ports['stats']}",
             f"LUMORA_CDN_SERVER={'https' if args.cdn_tls else 'http'}://127.0.0.1:{ports['cdn']}",
             f"LUMORA_WEB_SERVER=http://127.0.0.1:{ports['web']}",
             f"LUMORA_OFFLINE_SERVER=http://127.0.0.1:{ports['web']}"]
    text = "\n".join(lines) + "\n"
    if args.env_file:
        tmp = args.env_file + ".tmp"
        with open(tmp, "w") as f:
            f.write(text)
        os.replace(tmp, args.env_file)
    sys.stdout.write(text)
    sys.stdout.flush()

    signal.sigwait(STOP_SIGNALS)
    server.stopping.set()
    for sock in sockets:
        sock.close()


if __name__ == "__main__":
    main()
