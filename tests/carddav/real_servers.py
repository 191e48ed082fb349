#!/usr/bin/python3
"""vcftool sync against real CardDAV servers from Debian, started on
127.0.0.1 with a free port and a temporary folder: the example book to an
empty address book, a phone's card and changes, the program's changes,
deletions on both sides, a conflict, a refused token, the guard against
mass deletion and a server stopped half way.

Usage: real_servers.py radicale|xandikos CONFIG_FILE VCFTOOL...
CONFIG_FILE is where vcftool finds the program's configuration (written
here); VCFTOOL is the command, "wine vcftool.exe" under Wine, which gets
the address file as a Z: path. Exit 77: the server is not installed."""

import os, re, shutil, subprocess, sys, tempfile, time

from dav_servers import Server, installed

server_kind, config_file, vcftool = sys.argv[1], sys.argv[2], sys.argv[3:]
under_wine = os.path.basename(vcftool[0]).startswith("wine")
examples = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "beispiel.vcf")
if not installed(server_kind):
    print(f"skipped: {server_kind} is not installed")
    sys.exit(77)
os.makedirs(os.path.dirname(os.path.abspath(config_file)), exist_ok=True)
work = tempfile.mkdtemp(prefix="morvi-carddav-")
failures = []


def check(what, ok, detail=""):
    if not ok:
        failures.append(what)
        print(f"FAIL: {what} {detail}", file=sys.stderr)


book = os.path.join(work, "myadr.vcf")


def sync(*extra):
    path = "Z:" + book.replace("/", "\\") if under_wine else book
    run = subprocess.run(vcftool + ["sync", path, *extra], capture_output=True, timeout=300,
                         env=dict(os.environ, ZUDEDO_CARDDAV_PASSWORD=server.password,
                                  XDG_STATE_HOME=os.path.join(work, "state")))
    return run.returncode, run.stdout.decode().replace("\r", "").strip(), run.stderr.decode()


def expect_sync(what, summary, *extra):
    status, out, err = sync(*extra)
    check(what, status == 0 and out == summary, f"exit {status}: {out!r} {err!r}")


def local():
    with open(book, "rb") as file:
        return file.read()


def edit_local(old, new):
    text = local()
    check(f"the file holds {old!r}", old in text)
    with open(book, "wb") as file:
        file.write(text.replace(old, new, 1))


def counts(here, there):
    return (f"{here[0]} new, {here[1]} changed, {here[2]} deleted here; "
            f"{there[0]} new, {there[1]} changed, {there[2]} deleted on the server")


PHONE = """BEGIN:VCARD
VERSION:3.0
PRODID:-//dmfs.org//mimedir.vcard//EN
UID:0b7c3e1a-phone
FN:Małgorzata Wąsowska-Źrebiec
N:Wąsowska-Źrebiec;Małgorzata;;;
TEL;TYPE=CELL:+48 600 111 222
TEL;TYPE=HOME:+48 22 555 0000
ADR;TYPE=HOME:;;ul. Długa 5;Gdańsk;;80-001;Polska
PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkICQkKDA8MCgsOCwkJDRENDg8QEBEQCgwSExIQEw8QEBD/
NOTE:Vom Handy\\, mit Komma
END:VCARD
"""

with open(config_file, "w") as config:
    server = Server(server_kind, work)
    user = f"User={server.user}\r\n" if server.user else ""
    config.write(f"[VC]\r\nFile=myadr.vcf\r\n[CardDAV]\r\nUrl={server.base}{server.collection}"
                 f"\r\n{user}")
try:
    shutil.copy(examples, book)
    total = local().count(b"BEGIN:VCARD")
    expect_sync("the example book goes to the empty address book", counts((0, 0, 0), (total, 0, 0)))
    check("the server holds every card", len(server.cards()) == total)
    check("the file holds every card with a UID", local().count(b"\r\nUID:") == total)
    expect_sync("a second run has nothing to do", counts((0, 0, 0), (0, 0, 0)))

    phone_put = lambda href, text, etag=None: check(
        f"the phone's PUT of {href}", server.put(href, text, etag) in (200, 201, 204))
    phone_put(server.collection + "phone.vcf", PHONE)
    href, card = server.card_with("Schäfer;Jörg")
    phone_put(href, card.replace("030 555 0111", "030 555 9999"), server.etag(href))
    expect_sync("a new card and a change from the phone", counts((1, 1, 0), (0, 0, 0)))
    text = local()
    check("the phone's card is here, photo and address kept",
          "Małgorzata".encode() in text and b"PHOTO;ENCODING=b" in text and "Długa".encode() in text)
    check("the phone's change is here", b"030 555 9999" in text)

    edit_local("Vom Handy\\, mit Komma".encode(), "Vom Handy\\, geändert".encode())
    expect_sync("a note changed here", counts((0, 0, 0), (0, 1, 0)))
    _, card = server.card_with("Małgorzata")
    check("the server's card has the change and everything else it had",
          "geändert" in card and "PHOTO" in card and "Długa" in card and "+48 600 111 222" in card)

    href, card = server.card_with("Schäfer;Jörg")
    phone_put(href, card.replace("0151 5550112", "0151 0000000"), server.etag(href))
    edit_local("030 555 9999".encode(), b"030 555 7777")
    expect_sync("different fields changed on both sides", counts((0, 1, 0), (0, 1, 0)))
    _, card = server.card_with("Schäfer;Jörg")
    check("both changes on the server", "0151 0000000" in card and "030 555 7777" in card)
    check("both changes here", b"0151 0000000" in local() and b"030 555 7777" in local())

    href, _ = server.card_with("Małgorzata")
    server.request("DELETE", href)
    text = local()
    with open(book, "wb") as file:
        file.write(text[text.index(b"END:VCARD\r\n") + len(b"END:VCARD\r\n"):])
    expect_sync("one card deleted on each side", counts((0, 0, 1), (0, 0, 1)))
    check("both sides hold the rest", len(server.cards()) == total - 1 and
          local().count(b"BEGIN:VCARD") == total - 1)

    # A token the server never gave: the state's first value after the address.
    state_folder = os.environ.get("MORVI_TEST_STATE_FOLDER", os.path.join(work, "state"))
    state = next(os.path.join(root, name) for root, _, names in os.walk(state_folder)
                 for name in names if name.endswith(".carddav"))
    with open(state, "rb") as file:
        lines = file.read().split(b"\n", 2)
    size, token = lines[2].split(b":", 1)
    rest = token[int(size) + 1:]
    with open(state, "wb") as file:
        file.write(lines[0] + b"\n" + lines[1] + b"\n" + b"9:tok-bogus\n" + rest)
    expect_sync("a refused token: everything compared again", counts((0, 0, 0), (0, 0, 0)))
    check("nothing doubled", len(server.cards()) == total - 1)

    text = local()
    starts = [m.start() for m in re.finditer(b"BEGIN:VCARD", text)]
    with open(book, "wb") as file:
        file.write(text[:starts[total // 2]])
    status, _, err = sync()
    check("deleting half the cards needs leave", status == 1 and "would delete" in err, err)
    check("the server keeps them meanwhile", len(server.cards()) == total - 1)
    expect_sync("with leave they go", counts((0, 0, 0), (0, 0, total - 1 - total // 2)),
                "--allow-deletes")

    # Many new cards; the server is stopped while they go out.
    extra = b"".join(b"BEGIN:VCARD\r\nN:Neu%d;Nina\r\nTEL;HOME:0%d\r\nEND:VCARD\r\n" % (i, i)
                     for i in range(150))
    with open(book, "ab") as file:
        file.write(extra)
    path = "Z:" + book.replace("/", "\\") if under_wine else book
    running = subprocess.Popen(vcftool + ["sync", path], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE,
                               env=dict(os.environ, ZUDEDO_CARDDAV_PASSWORD=server.password,
                                        XDG_STATE_HOME=os.path.join(work, "state")))
    time.sleep(3 if under_wine else 1)
    server.stop()
    running.wait(timeout=120)
    server.start()
    print(f"{server_kind} stopped under a run (exit {running.returncode}) holding "
          f"{len(server.cards())} cards")
    status, _, err = sync()
    check("the run after a stopped server finishes the work", status == 0, err)
    here = local().count(b"BEGIN:VCARD")
    check("nothing lost, nothing doubled", here == total // 2 + 150 and
          len(server.cards()) == here, f"{here} here, {len(server.cards())} there")
finally:
    server.stop()
    shutil.rmtree(work, ignore_errors=True)

print(f"{server_kind}: {len(failures)} failures")
sys.exit(1 if failures else 0)
