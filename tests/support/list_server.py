#!/usr/bin/python3
"""Loopback list servers for the download tests.

  list_server.py ftp ROOT USER PASSWORD [--no-active] [--cut NAME]
  list_server.py http ROOT USER PASSWORD

Listens on 127.0.0.1 on a port the system chooses, prints "PORT <n>" once it accepts
connections and runs until its standard input is closed.

FTP: --no-active refuses PORT and EPRT, so only passive mode works; --cut NAME sends
half of that file and then ends the whole server, as a server that goes away
mid-transfer.

HTTP: GET /onlineupdate.php?user=..&&password=..&&file=.. serves ROOT/<file> for the
right account and answers 401 for a wrong one. The user "hinweis" gets an HTML notice
instead of a list; the user "abbruch" gets half of the file before the server closes the
connection; the user "langsam" gets the headers and then nothing until the client gives
up.
"""
import http.server
import logging
import os
import socketserver
import sys
import threading
import time
import urllib.parse


def wait_for_stdin_eof():
    try:
        while sys.stdin.buffer.read(1):
            pass
    finally:
        os._exit(0)


def serve_ftp(root, user, password, flags):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler, FileProducer
    from pyftpdlib.servers import FTPServer

    logging.basicConfig(level=logging.ERROR)
    cut = flags[flags.index("--cut") + 1] if "--cut" in flags else None

    class CutProducer(FileProducer):
        def __init__(self, fd, type):
            super().__init__(fd, type)
            self.sent = False

        def more(self):
            if self.sent:
                os._exit(0)
            self.sent = True
            data = self.file.read()
            return data[: max(1, len(data) // 2)]

    class Handler(FTPHandler):
        use_sendfile = False  # the cut file goes through the producer
        auth_failed_timeout = 0

        def ftp_PORT(self, line):
            if "--no-active" in flags:
                self.respond("502 Active mode not allowed.")
                return
            return super().ftp_PORT(line)

        def ftp_EPRT(self, line):
            if "--no-active" in flags:
                self.respond("502 Active mode not allowed.")
                return
            return super().ftp_EPRT(line)

        def ftp_RETR(self, file):
            if cut and os.path.basename(file) == cut:
                fd = open(file, "rb")
                self.push_dtp_data(CutProducer(fd, self._current_type), isproducer=True,
                                   file=fd, cmd="RETR")
                return file
            return super().ftp_RETR(file)

    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elr")
    Handler.authorizer = authorizer
    Handler.banner = "Talven test server"
    server = FTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.socket.getsockname()[1]


def serve_http(root, user, password):
    class Handler(http.server.BaseHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def answer(self, status, body, length=None, content_type="text/plain"):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body) if length is None else length))
            self.end_headers()
            self.wfile.write(body)
            self.wfile.flush()

        def do_GET(self):
            url = urllib.parse.urlsplit(self.path)
            query = urllib.parse.parse_qs(url.query)
            name = query.get("user", [""])[0]
            word = query.get("password", [""])[0]
            wanted = os.path.basename(query.get("file", [""])[0])
            if url.path != "/onlineupdate.php":
                self.answer(404, b"not found")
            elif name == "hinweis":
                self.answer(200, b"<html><body>Neue Zugangsdaten!</body></html>",
                            content_type="text/html")
            elif name == "langsam":
                self.send_response(200)
                self.send_header("Content-Length", "100000")
                self.end_headers()
                self.wfile.flush()
                time.sleep(60)
            elif name not in (user, "abbruch") or word != password:
                self.answer(401, b"Zugang verweigert")
            elif not os.path.isfile(os.path.join(root, wanted)):
                self.answer(404, b"not found")
            else:
                with open(os.path.join(root, wanted), "rb") as f:
                    data = f.read()
                if name == "abbruch":
                    self.answer(200, data[: len(data) // 2], length=len(data))
                    self.close_connection = True
                else:
                    self.answer(200, data)

    class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
        daemon_threads = True

    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    kind, root, user, password = sys.argv[1:5]
    flags = sys.argv[5:]
    port = serve_ftp(root, user, password, flags) if kind == "ftp" else serve_http(root, user, password)
    sys.stdout.write("PORT %d\n" % port)
    sys.stdout.flush()
    wait_for_stdin_eof()


if __name__ == "__main__":
    main()
