"""Serves the browser build's page on this machine only (127.0.0.1), as any static web
host would: the .wasm as application/wasm, and a file's precompressed copy, .br or .gz,
to browsers that take brotli or gzip (brotli first). Every file is sent for the browser
to check again before each use (no-cache, with its time), so a new build, and its
service worker, are seen at once.

Usage: python3 -m drivers.serve_web [FOLDER] [PORT]   (default build/web, and a free
port), with tests/ on PYTHONPATH as `make serve-web` has it
"""

import functools
import http.server
import os
import shutil
import sys
import threading
import time

TYPES = {
    ".wasm": "application/wasm",
    ".js": "text/javascript",
    ".html": "text/html; charset=utf-8",
    ".png": "image/png",
    ".txt": "text/plain; charset=utf-8",
    ".webmanifest": "application/manifest+json",
}
# The precompressed copies, best first: (content coding, file name suffix).
CODINGS = (("br", ".br"), ("gzip", ".gz"))
CHUNK = 16 * 1024


class Link:
    """A slow connection that every request shares, as a player's line is shared by
    all that a page fetches: `rate` bytes a second down, and `latency` seconds before
    each answer starts. It slows every browser alike, and the workers of a page too."""

    def __init__(self, rate, latency):
        self.rate = rate
        self.latency = latency
        self.lock = threading.Lock()
        self.free_at = 0.0

    def send(self, out, data):
        with self.lock:
            self.free_at = max(time.monotonic(), self.free_at) + len(data) / self.rate
            done = self.free_at
        time.sleep(max(0.0, done - time.monotonic()))
        out.write(data)


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def send_head(self):
        if self.server.link:
            time.sleep(self.server.link.latency)
        path = self.translate_path(self.path)
        if os.path.isdir(path) and path.endswith("/"):
            path = os.path.join(path, "index.html")
        if not os.path.isfile(path):
            return super().send_head()   # a folder's redirect, or 404
        takes = {part.split(";")[0].strip()
                 for part in self.headers.get("Accept-Encoding", "").split(",")}
        coding, suffix = next(((c, s) for c, s in CODINGS
                               if c in takes and os.path.isfile(path + s)), (None, ""))
        f = open(path + suffix, "rb")
        stat = os.fstat(f.fileno())
        modified = self.date_time_string(int(stat.st_mtime))
        unchanged = self.headers.get("If-Modified-Since") == modified
        self.send_response(304 if unchanged else 200)
        self.send_header("Content-Type", self.guess_type(path))
        if coding:
            self.send_header("Content-Encoding", coding)
        if not unchanged:
            self.send_header("Content-Length", str(stat.st_size))
        self.send_header("Last-Modified", modified)
        self.send_header("Cache-Control", "no-cache")
        self.send_header("Vary", "Accept-Encoding")
        self.end_headers()
        if unchanged:
            f.close()
            return None
        return f

    def copyfile(self, source, outputfile):
        link = self.server.link
        if not link:
            shutil.copyfileobj(source, outputfile)
            return
        while data := source.read(CHUNK):
            link.send(outputfile, data)

    def log_message(self, *args):
        if self.server.verbose:
            super().log_message(*args)


def serve(folder, port=0, verbose=False, link=None):
    """Starts a server for `folder` in a thread and returns it; its address is
    http://127.0.0.1:<server.server_port>/. With a Link, every answer goes through it."""
    handler = functools.partial(Handler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.verbose = verbose
    server.link = link
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main(argv):
    folder = argv[1] if len(argv) > 1 else "build/web"
    port = int(argv[2]) if len(argv) > 2 else 0
    if not os.path.isfile(os.path.join(folder, "index.html")):
        print(f"{folder} holds no page: run `make web` first", file=sys.stderr)
        return 1
    server = serve(folder, port, verbose=True)
    print(f"Serving {folder} at http://127.0.0.1:{server.server_port}/ (Ctrl+C stops)", flush=True)
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass
    server.shutdown()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
