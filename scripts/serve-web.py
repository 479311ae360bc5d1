#!/usr/bin/env python3
"""Serves the browser build (build-web/) on 127.0.0.1 for local play.

Usage: serve-web.py [FOLDER] [--port N] [--mount URL_PREFIX=FOLDER ...]
Any web host serving the folder's files as they are does the same; this one
only makes sure .wasm goes out as application/wasm, which browsers need to
compile it while it downloads.
"""
import argparse
import functools
import http.server
import os
import threading


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{'.wasm': 'application/wasm', '.js': 'text/javascript',
                             '.data': 'application/octet-stream'})
    mounts = {}

    def translate_path(self, path):
        for prefix, folder in self.mounts.items():
            if path.startswith(prefix):
                rest = path[len(prefix):].split('?', 1)[0].split('#', 1)[0]
                return os.path.join(folder, os.path.normpath('/' + rest).lstrip('/'))
        return super().translate_path(path)

    def end_headers(self):
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()

    def log_message(self, *args):
        pass


def serve(folder, port=0, mounts=None):
    """Starts serving in a thread; returns the server (server_port is its port)."""
    handler = functools.partial(type('MountedHandler', (Handler,), {'mounts': mounts or {}}),
                                directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', port), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('folder', nargs='?', default='build-web')
    parser.add_argument('--port', type=int, default=8080)
    parser.add_argument('--mount', action='append', default=[])
    options = parser.parse_args()
    mounts = dict(m.split('=', 1) for m in options.mount)
    server = serve(options.folder, options.port, mounts)
    print('Serving %s on http://127.0.0.1:%d/ (Ctrl-C stops)' % (options.folder, server.server_port))
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        server.shutdown()


if __name__ == '__main__':
    main()
