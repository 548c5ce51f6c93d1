#!/usr/bin/env python3
"""A static web server for the download tests: serves a folder over HTTP or
HTTPS on 127.0.0.1, asks for basic authentication under /locked/, logs every
requested path, and writes the port it listens on to a file once ready."""
import argparse
import base64
import functools
import http.server
import os
import ssl


class Handler(http.server.SimpleHTTPRequestHandler):
    log_path = None
    credentials = None

    def do_GET(self):
        with open(self.log_path, "a") as log:
            log.write(self.path + "\n")
        if self.path.startswith("/locked/"):
            expected = "Basic " + base64.b64encode(self.credentials.encode()).decode()
            if self.headers.get("Authorization") != expected:
                self.send_response(401)
                self.send_header("WWW-Authenticate", 'Basic realm="jigsaws"')
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            self.path = self.path[len("/locked"):]
        super().do_GET()

    def log_message(self, *args):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--portfile", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--credentials", default="user:secret")
    args = parser.parse_args()
    Handler.log_path = args.log
    Handler.credentials = args.credentials
    handler = functools.partial(Handler, directory=args.dir)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    with open(args.portfile + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(args.portfile + ".tmp", args.portfile)
    server.serve_forever()


if __name__ == "__main__":
    main()
