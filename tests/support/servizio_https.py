#!/usr/bin/env python3
"""A small HTTPS server for the download tests, on 127.0.0.1 only.

Usage: servizio_https.py FOLDER CERTIFICATE KEY

Serves the files of FOLDER over HTTPS and, on a second port, over plain HTTP (so that a download
that wrongly accepts http has something to fetch). Prints the two ports, HTTPS first, separated by a
blank, as its first line. A path may begin
with one of these prefixes to make the answer misbehave:
  /tronco/           announces the whole file but sends only half of it, then closes
  /lento/            sends the file in slices of 1 KB, 0.1 s apart
  /senza-lunghezza/  sends the file without Content-Length, ending it by closing
  /fermo/            sends the first 1 KB, then nothing for a minute
  /rinvia-http/      redirects to the same path on the plain HTTP port
It runs until it is killed.
"""

import http.server
import os
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse

FOLDER, CERTIFICATE, KEY = sys.argv[1:4]
MODES = ("/tronco", "/lento", "/senza-lunghezza", "/fermo", "/rinvia-http")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        mode = ""
        for prefix in MODES:
            if path.startswith(prefix + "/"):
                mode, path = prefix, path[len(prefix):]
                break
        if mode == "/rinvia-http":
            self.send_response(302)
            self.send_header("Location", "http://127.0.0.1:%d%s" % (PLAIN.server_address[1], path))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        file = os.path.join(FOLDER, path.lstrip("/"))
        if ".." in path.split("/") or not os.path.isfile(file):
            self.send_error(404)
            return
        with open(file, "rb") as f:
            data = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if mode != "/senza-lunghezza":
            self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        if mode == "/tronco":
            self.wfile.write(data[: len(data) // 2])
        elif mode == "/fermo":
            self.wfile.write(data[:1024])
            self.wfile.flush()
            time.sleep(60)
        elif mode == "/lento":
            for start in range(0, len(data), 1024):
                self.wfile.write(data[start : start + 1024])
                self.wfile.flush()
                time.sleep(0.1)
        else:
            self.wfile.write(data)

    def finish(self):
        try:
            super().finish()
        except OSError:
            pass  # the client went away first (a cancel or a refused download)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass


PLAIN = Server(("127.0.0.1", 0), Handler)


def main():
    server = Server(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(CERTIFICATE, KEY)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=PLAIN.serve_forever, daemon=True).start()
    print(server.server_address[1], PLAIN.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
