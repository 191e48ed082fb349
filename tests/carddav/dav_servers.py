"""CardDAV servers from Debian for tests and benchmarks: Radicale (with a
user and a password) or Xandikos (without), started on 127.0.0.1 with a
free port and a folder of their own, an empty address book made, and the
plain HTTP a phone would use to change it."""

import base64, os, re, shutil, socket, subprocess, time
import urllib.error, urllib.request


def installed(kind):
    if kind == "radicale":
        return subprocess.run(["/usr/bin/python3", "-c", "import radicale"],
                              capture_output=True).returncode == 0
    return shutil.which("xandikos") is not None


class Server:
    def __init__(self, server_kind, work):
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        self.work = work
        self.folder = os.path.join(work, "server")
        self.base = f"http://127.0.0.1:{self.port}"
        if server_kind == "radicale":
            self.user, self.password = "anna", "Gehe1m!"
            self.collection = "/anna/kontakte/"
            with open(os.path.join(work, "users"), "w") as users:
                users.write(f"{self.user}:{self.password}\n")
            self.command = ["/usr/bin/python3", "-m", "radicale", "--storage-filesystem-folder",
                            self.folder, "--server-hosts", f"127.0.0.1:{self.port}",
                            "--auth-type", "htpasswd", "--auth-htpasswd-filename",
                            os.path.join(work, "users"), "--auth-htpasswd-encryption", "plain",
                            "--rights-type", "owner_only", "--logging-level", "warning"]
        else:
            self.user, self.password = "", ""
            self.collection = "/user/contacts/addressbook/"
            self.command = ["xandikos", "--defaults", "-d", self.folder, "-l", "127.0.0.1",
                            "-p", str(self.port)]
        self.start()
        if server_kind == "radicale":
            self.request("MKCOL", self.collection, b'<?xml version="1.0"?><d:mkcol xmlns:d="DAV:"'
                         b' xmlns:c="urn:ietf:params:xml:ns:carddav"><d:set><d:prop><d:resourcetype>'
                         b'<d:collection/><c:addressbook/></d:resourcetype></d:prop></d:set></d:mkcol>')

    def start(self):
        # Xandikos keeps each address book in a git repository and leaves
        # git's lock files behind when it is stopped in the middle of a write
        # (0.2.12 answers 423 to every later write); clear them, as whoever
        # restarts it after a crash must.
        for root, _, files in os.walk(self.folder):
            for name in files:
                if name.endswith(".lock") and f"{os.sep}.git" in root:
                    os.remove(os.path.join(root, name))
        self.process = subprocess.Popen(self.command, stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(self.work, "server.log"), "a"))
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return
            except OSError:
                time.sleep(0.1)
        raise SystemExit("the server did not start")

    def stop(self):
        self.process.terminate()
        self.process.wait()

    def request(self, method, path, body=None, headers=None):
        request = urllib.request.Request(self.base + path, data=body, method=method,
                                         headers=headers or {})
        if self.user:
            token = base64.b64encode(f"{self.user}:{self.password}".encode()).decode()
            request.add_header("Authorization", "Basic " + token)
        try:
            with urllib.request.urlopen(request, timeout=30) as answer:
                return answer.status, answer.read(), answer.headers
        except urllib.error.HTTPError as error:
            return error.code, error.read(), error.headers

    def cards(self):
        """href: card text of every card in the address book."""
        status, body, _ = self.request("PROPFIND", self.collection, b"", {"Depth": "1"})
        hrefs = [h for h in re.findall(r"<[^>]*href>([^<]*)</", body.decode())
                 if h.endswith(".vcf")]
        return {h: self.request("GET", h)[1].decode() for h in hrefs}

    def card_with(self, text):
        return next((h, c) for h, c in self.cards().items() if text in c)

    def put(self, href, text, etag=None):
        headers = {"Content-Type": "text/vcard; charset=utf-8"}
        headers.update({"If-Match": etag} if etag else {"If-None-Match": "*"})
        body = re.sub(r"(?<!\r)\n", "\r\n", text).encode()
        status, _, _ = self.request("PUT", href, body, headers)
        return status

    def etag(self, href):
        return self.request("GET", href)[2]["ETag"]


def serve(kind):
    """Runs a server for a test of another language: prints one line, "PID
    BASE COLLECTION USER PASSWORD", and keeps the server until SIGTERM or the
    end of the parent."""
    import signal, sys, tempfile
    work = tempfile.mkdtemp(prefix=f"morvi-{kind}-")
    parent = os.getppid()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    server = Server(kind, work)
    try:
        print(os.getpid(), server.base, server.collection, server.user or "-",
              server.password or "-", flush=True)
        while os.getppid() == parent:
            time.sleep(0.2)
    finally:
        server.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    import sys
    if len(sys.argv) != 3 or sys.argv[1] != "serve":
        sys.exit("usage: dav_servers.py serve radicale|xandikos")
    if not installed(sys.argv[2]):
        sys.exit(77)
    serve(sys.argv[2])
