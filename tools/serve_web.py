#!/usr/bin/env python3
"""Serves the browser build's page on this machine only (127.0.0.1), as any static web
host would: the .wasm as application/wasm, and the precompressed .gz copy of a file to
browsers that take gzip.

Usage: serve_web.py [FOLDER] [PORT]   (default build/web, and a free port)
"""

import functools
import http.server
import os
import sys
import threading

TYPES = {
    ".wasm": "application/wasm",
    ".js": "text/javascript",
    ".html": "text/html; charset=utf-8",
    ".png": "image/png",
    ".txt": "text/plain; charset=utf-8",
}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        packed = path + ".gz"
        takes_gzip = "gzip" in self.headers.get("Accept-Encoding", "")
        if not (takes_gzip and os.path.isfile(packed) and os.path.isfile(path)):
            return super().send_head()
        f = open(packed, "rb")
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(os.fstat(f.fileno()).st_size))
        self.send_header("Cache-Control", "no-cache")
        self.send_header("Vary", "Accept-Encoding")
        self.end_headers()
        return f

    def log_message(self, *args):
        if self.server.verbose:
            super().log_message(*args)


def serve(folder, port=0, verbose=False):
    """Starts a server for `folder` in a thread and returns it; its address is
    http://127.0.0.1:<server.server_port>/."""
    handler = functools.partial(Handler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.verbose = verbose
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
