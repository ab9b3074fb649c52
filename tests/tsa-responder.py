#!/usr/bin/env python3
"""usage: tests/tsa-responder.py FOLDER PORT-FILE

An RFC 3161 time-stamping authority on the loopback address, for the signing
tests: answers each POSTed time-stamp query with `openssl ts -reply`, signed by
FOLDER/tsa.key and FOLDER/tsa.pem under FOLDER/ts.cnf. Writes the port it
listens on to PORT-FILE, then serves until it is ended; counts the replies it
gave in FOLDER/replies. Any path but / is not found."""
import http.server
import os
import subprocess
import sys
import tempfile

folder, port_file = sys.argv[1], sys.argv[2]


class Authority(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        if self.path != "/":
            self.send_error(404)
            return
        with tempfile.TemporaryDirectory(dir=folder) as work:
            query_file = os.path.join(work, "query.tsq")
            reply_file = os.path.join(work, "reply.tsr")
            with open(query_file, "wb") as f:
                f.write(query)
            done = subprocess.run(
                ["openssl", "ts", "-reply", "-config", "ts.cnf", "-queryfile", query_file,
                 "-inkey", "tsa.key", "-signer", "tsa.pem", "-out", reply_file],
                cwd=folder, capture_output=True)
            if done.returncode != 0:
                self.send_error(500, done.stderr.decode(errors="replace")[:200])
                return
            with open(reply_file, "rb") as f:
                reply = f.read()
        with open(os.path.join(folder, "replies"), "a") as f:
            f.write("reply\n")
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


class Server(http.server.HTTPServer):
    def handle_error(self, request, client_address):
        pass  # a client that hung up early is its own business


server = Server(("127.0.0.1", 0), Authority)
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_port))
os.replace(port_file + ".tmp", port_file)
server.serve_forever()
