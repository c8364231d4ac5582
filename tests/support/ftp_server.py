#!/usr/bin/env python3
"""A real FTP server for the tests, on 127.0.0.1 at a free port.

Prints the port on the first line of standard output, serves until standard
input closes (the test that started it ends), and logs every USER and PASS
command it receives to --log. --drop-after N cuts control and data
connections once N bytes of one transfer have moved, in either direction;
--throttle N moves at most N bytes a second, so that a test can act while a
transfer runs.
"""
import argparse
import logging
import os
import sys
import threading
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--anon-root")
    parser.add_argument("--log", required=True)
    parser.add_argument("--drop-after", type=int, default=-1)
    parser.add_argument("--no-mlsd", action="store_true")
    parser.add_argument("--throttle", type=int, default=0)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()

    logging.basicConfig(level=logging.CRITICAL)
    warnings.simplefilter("ignore")
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    if args.anon_root:
        authorizer.add_anonymous(args.anon_root, perm="elradfmw")

    log = open(args.log, "a", buffering=1, encoding="utf-8")

    if args.cert:
        from pyftpdlib.handlers import TLS_FTPHandler
        base = TLS_FTPHandler
    else:
        base = FTPHandler

    class Handler(base):
        def ftp_USER(self, line):
            log.write("USER %s\n" % line)
            return super().ftp_USER(line)

        def ftp_PASS(self, line):
            log.write("PASS %s\n" % line)
            return super().ftp_PASS(line)

    if args.cert:
        from pyftpdlib.handlers import TLS_DTPHandler

        class HandshakingDTP(TLS_DTPHandler):
            # A client that starts the data connection's TLS handshake before
            # its transfer command would otherwise be taken for a closed socket.
            def readable(self):
                if self._ssl_accepting:
                    return True
                return super().readable()

        Handler.dtp_handler = HandshakingDTP
        Handler.certfile = args.cert
        Handler.keyfile = args.key
        Handler.tls_control_required = True
        Handler.tls_data_required = True
    if args.no_mlsd:
        Handler.proto_cmds = {k: v for k, v in base.proto_cmds.items() if k not in ("MLSD", "MLST")}

    if args.drop_after >= 0:
        limit = args.drop_after

        class DroppingDTP(DTPHandler):
            moved = 0
            dropping = False

            def drop(self):
                if not self.dropping:
                    self.dropping = True
                    channel = self.cmd_channel
                    self.ioloop.call_later(0, channel.close)

            def recv(self, size):
                data = super().recv(size)
                if self.moved + len(data) >= limit:
                    data = data[: max(limit - self.moved, 0)]
                    self.drop()
                self.moved += len(data)
                return data

            def send(self, data):
                if self.dropping:
                    return 0
                if self.moved + len(data) >= limit:
                    data = data[: max(limit - self.moved, 0)]
                    self.drop()
                sent = super().send(data) if data else 0
                self.moved += sent
                return sent

        Handler.dtp_handler = DroppingDTP
        Handler.use_sendfile = False

    if args.throttle > 0:
        from pyftpdlib.handlers import ThrottledDTPHandler

        class Throttled(ThrottledDTPHandler):
            read_limit = args.throttle
            write_limit = args.throttle

        Handler.dtp_handler = Throttled
        Handler.use_sendfile = False

    Handler.authorizer = authorizer
    Handler.banner = "test server ready"
    Handler.auth_failed_timeout = 0
    Handler.permit_foreign_addresses = False
    server = FTPServer(("127.0.0.1", 0), Handler)
    server.max_cons = 64
    print(server.address[1], flush=True)

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
