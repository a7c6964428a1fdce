#!/usr/bin/python3
"""Serves a folder over HTTP on 127.0.0.1 only, for a local look at the web
build and for its browser test.

    serve-web.py FOLDER [PORT]     (port 8000 by default; 0 picks a free one)

Prints "Serving FOLDER on http://127.0.0.1:PORT/" once it listens, then serves
until interrupted. WebAssembly goes out as application/wasm, which browsers
need to compile it while it downloads.
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".data": "application/octet-stream",
    }

    def log_message(self, format, *args):
        pass  # one line per request would drown the build's own output


def make_server(folder, port):
    handler = functools.partial(Handler, directory=folder)
    return http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    port = int(argv[2]) if len(argv) == 3 else 8000
    with make_server(argv[1], port) as server:
        print(f"Serving {argv[1]} on http://127.0.0.1:{server.server_address[1]}/", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
