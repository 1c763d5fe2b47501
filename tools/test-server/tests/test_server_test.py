#!/usr/bin/env python3
"""Checks the stand-in server's answers and fault modes over real sockets."""

import http.client
import json
import os
import ssl
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lumora_test_server.py")
RUNNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "setup-runner.sh")
MIB10 = 10 * 1024 * 1024
PACKAGE = "/caller?c=site&a=downloadPackage&coopcom=zorv&channel=abc"
SETUP = "/lumora/ZORVlumoraSetup.exe"


class Server:
    def __init__(self, *args):
        self.dir = tempfile.TemporaryDirectory()
        env_file = os.path.join(self.dir.name, "env")
        self.log = os.path.join(self.dir.name, "log.jsonl")
        self.proc = subprocess.Popen([sys.executable, SERVER, "--env-file", env_file,
                                      "--log", self.log, *args], stdout=subprocess.DEVNULL)
        deadline = time.time() + 10
        while not os.path.exists(env_file):
            if time.time() > deadline or self.proc.poll() is not None:
                raise RuntimeError("server did not start")
            time.sleep(0.02)
        with open(env_file) as f:
            self.address = dict(line.split("=", 1) for line in f.read().split())

    def close(self):
        self.proc.terminate()
        self.proc.wait(10)
        self.dir.cleanup()

    def get(self, server, path, method="GET", body=None, headers=None, context=None):
        address = urllib.parse.urlsplit(self.address[server])
        if address.scheme == "https":
            conn = http.client.HTTPSConnection(address.netloc, timeout=30, context=context)
        else:
            conn = http.client.HTTPConnection(address.netloc, timeout=30)
        conn.request(method, path, body=body, headers=headers or {})
        response = conn.getresponse()
        try:
            data = response.read()
        except http.client.IncompleteRead as e:
            data = ("incomplete", len(e.partial))
        conn.close()
        return response.status, data

    def records(self):
        with open(self.log) as f:
            return [json.loads(line) for line in f]


class ServerTest(unittest.TestCase):
    def start(self, *args):
        server = Server(*args)
        self.addCleanup(server.close)
        return server

    def test_normal_answers(self):
        server = self.start()
        for name, path in (("LUMORA_STATS_SERVER", PACKAGE), ("LUMORA_CDN_SERVER", SETUP)):
            status, data = server.get(name, path)
            self.assertEqual(status, 200)
            self.assertGreaterEqual(len(data), MIB10)
            self.assertEqual(data[:2], b"MZ")
        for path in ("/privacy/p1.html", "/offline/photo.html"):
            self.assertEqual(server.get("LUMORA_WEB_SERVER", path)[0], 200)
        self.assertEqual(server.get("LUMORA_WEB_SERVER", "/other")[0], 404)

    def test_report_is_recorded_decoded_with_header_order(self):
        server = self.start()
        body = "log=eyJldmVudElkIjoiT25DbGljayJ9"  # '+' and '/' stay as they are
        status, _ = server.get("LUMORA_STATS_SERVER", "/caller?c=site&a=writelog&coopcom=zorv",
                               "POST", body, {"B-Second": "2", "Cookie": "a=1;b=x y;"})
        self.assertEqual(status, 200)
        (record,) = server.records()
        self.assertEqual(record["source"], "writelog")
        self.assertEqual(record["cookie"], "a=1;b=x y;")
        self.assertEqual(record["record"], '{"eventId":"OnClick"}')
        self.assertEqual(record["record_json"], {"eventId": "OnClick"})
        names = [line.split(":")[0] for line in record["headers"]]
        self.assertLess(names.index("B-Second"), names.index("Cookie"))

    def test_fault_modes(self):
        server = self.start("--fault", "package=small", "--fault", "cdn=nomz:1",
                            "--fault", "privacy=500", "--fault", "offline=errorpage")
        status, data = server.get("LUMORA_STATS_SERVER", PACKAGE)
        self.assertEqual((status, len(data), data[:2]), (200, MIB10 - 1, b"MZ"))
        status, data = server.get("LUMORA_CDN_SERVER", SETUP)
        self.assertEqual((status, data[:2]), (200, b"PK"))
        self.assertGreaterEqual(len(data), MIB10)
        self.assertEqual(server.get("LUMORA_CDN_SERVER", SETUP)[1][:2], b"MZ")  # count used up
        self.assertEqual(server.get("LUMORA_WEB_SERVER", "/privacy/p1.html")[0], 500)
        status, data = server.get("LUMORA_WEB_SERVER", "/offline/photo.html")
        self.assertEqual((status, len(data)), (200, 512))

    def test_truncated_slow_drop_and_refuse(self):
        server = self.start("--fault", "package=truncated", "--fault", "cdn=slow",
                            "--slow-rate", str(40 * 1024 * 1024), "--fault", "writelog=drop",
                            "--fault", "offline=refuse")
        status, data = server.get("LUMORA_STATS_SERVER", PACKAGE)
        self.assertEqual(data[0], "incomplete")
        started = time.monotonic()
        status, data = server.get("LUMORA_CDN_SERVER", SETUP)
        self.assertGreater(time.monotonic() - started, 0.2)
        self.assertGreaterEqual(len(data), MIB10)
        with self.assertRaises((http.client.RemoteDisconnected, ConnectionError)):
            server.get("LUMORA_STATS_SERVER", "/caller?c=site&a=writelog&coopcom=zorv", "POST", "x")
        with self.assertRaises(ConnectionRefusedError):
            server.get("LUMORA_WEB_SERVER", "/privacy/p1.html")

    def test_cdn_over_tls_with_the_test_certificate(self):
        server = self.start("--cdn-tls")
        self.assertTrue(server.address["LUMORA_CDN_SERVER"].startswith("https://127.0.0.1:"))
        with self.assertRaises(ssl.SSLCertVerificationError):
            server.get("LUMORA_CDN_SERVER", SETUP, context=ssl.create_default_context())
        trusting = ssl.create_default_context(cafile=os.path.join(os.path.dirname(SERVER),
                                                                  "test-tls-cert.pem"))
        status, data = server.get("LUMORA_CDN_SERVER", SETUP, context=trusting)
        self.assertEqual((status, data[:2]), (200, b"MZ"))
        self.assertEqual(server.records()[-1]["source"], "cdn")

    def test_setup_runner_installs_into_the_folder(self):
        server = self.start("--setup-size", str(MIB10 + 100))
        with tempfile.TemporaryDirectory() as folder:
            setup = os.path.join(folder, "setup.exe")
            with open(setup, "wb") as f:
                f.write(server.get("LUMORA_CDN_SERVER", SETUP)[1])
            target = os.path.join(folder, "Program Files", "zorv", "lumora")
            result = subprocess.run(["sh", RUNNER, setup, "/S", "/D=" + target])
            self.assertEqual(result.returncode, 0)
            self.assertTrue(os.access(os.path.join(target, "lumora.exe"), os.X_OK))
            env = dict(os.environ, LUMORA_TEST_SETUP_EXIT="5")
            self.assertEqual(subprocess.run(["sh", RUNNER, setup, "/S", "/D=" + target],
                                            env=env).returncode, 5)


if __name__ == "__main__":
    unittest.main()
