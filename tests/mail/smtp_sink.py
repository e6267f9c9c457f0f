"""A real SMTP server (aiosmtpd) on 127.0.0.1 that keeps what it is sent, for the tests.

Usage: smtp_sink.py DIR [PORT]
       smtp_sink.py DIR --submission USER PASSWORD

Listens on 127.0.0.1:PORT (25 when not given; run it in a private network namespace for
that). Once it listens it creates DIR/ready holding its process id. For every message taken
it writes, each file replaced whole:
  DIR/envelope.txt  the envelope sender, then each recipient, one per line
  DIR/message.eml   the message as received, byte for byte (CR LF line ends, the leading dot
                    of a stuffed line removed, the end marker not included)
  DIR/count         how many messages it has taken so far
  DIR/N.eml         the same as message.eml for the Nth message, N from 1
With --submission it makes a CA of its own with the openssl command (DIR/ca.crt) and a
certificate for 127.0.0.1 signed by it, and listens instead on port 587 (STARTTLS required) and
465 (TLS from the first byte), of 127.0.0.1 and ::1, both taking mail only after AUTH as USER
with PASSWORD, and only inside TLS.
Runs until SIGTERM or SIGINT, then exits with 0.
"""
import asyncio
import os
import signal
import ssl
import subprocess
import sys

from aiosmtpd.smtp import SMTP, AuthResult


def write_whole(path: str, data: bytes) -> None:
    # A reader that polls for the file never sees it half written.
    with open(path + ".part", "wb") as f:
        f.write(data)
    os.replace(path + ".part", path)


class Keeper:
    """Stores the envelope and the raw content; adds no header of its own."""

    def __init__(self, directory: str) -> None:
        self.directory = directory
        self.count = 0

    async def handle_DATA(self, server, session, envelope) -> str:
        lines = [envelope.mail_from] + list(envelope.rcpt_tos)
        write_whole(os.path.join(self.directory, "envelope.txt"),
                    ("\n".join(lines) + "\n").encode("utf-8", "surrogateescape"))
        write_whole(os.path.join(self.directory, "message.eml"), envelope.original_content)
        self.count += 1
        write_whole(os.path.join(self.directory, "%d.eml" % self.count), envelope.original_content)
        write_whole(os.path.join(self.directory, "count"), b"%d\n" % self.count)
        return "250 kept"


def make_certificates(directory: str) -> ssl.SSLContext:
    def openssl(*arguments: str) -> None:
        subprocess.run(["openssl", *arguments], cwd=directory, check=True, capture_output=True)

    key = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes"]
    openssl("req", "-x509", *key, "-keyout", "ca.key", "-out", "ca.crt", "-days", "1",
            "-subj", "/CN=Tarvelo test CA")
    openssl("req", *key, "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=sink")
    with open(os.path.join(directory, "san.ext"), "w") as f:
        f.write("subjectAltName=IP:127.0.0.1\n")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
            "-CAcreateserial", "-days", "1", "-extfile", "san.ext", "-out", "server.crt")
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(os.path.join(directory, "server.crt"),
                            os.path.join(directory, "server.key"))
    return context


def main() -> int:
    submission = len(sys.argv) == 5 and sys.argv[2] == "--submission"
    if len(sys.argv) not in (2, 3) and not submission:
        sys.stderr.write(__doc__)
        return 2
    directory = sys.argv[1]
    keeper = Keeper(directory)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    if submission:
        context = make_certificates(directory)
        credentials = (sys.argv[3].encode(), sys.argv[4].encode())

        def authenticate(server, session, envelope, mechanism, data) -> AuthResult:
            return AuthResult(success=(data.login, data.password) == credentials, handled=False)

        def smtp(**tls) -> SMTP:
            # aiosmtpd sees no TLS on a connection that began with it: port 465 says so itself.
            return SMTP(keeper, hostname="sink.test", loop=loop, authenticator=authenticate,
                        auth_required=True, auth_require_tls="tls_context" in tls, **tls)

        servers = [
            loop.run_until_complete(loop.create_server(
                lambda: smtp(tls_context=context, require_starttls=True),
                host=["127.0.0.1", "::1"], port=587)),
            loop.run_until_complete(loop.create_server(
                smtp, host=["127.0.0.1", "::1"], port=465, ssl=context)),
        ]
    else:
        port = int(sys.argv[2]) if len(sys.argv) == 3 else 25
        servers = [loop.run_until_complete(
            loop.create_server(lambda: SMTP(keeper, hostname="sink.test", loop=loop),
                               host="127.0.0.1", port=port))]
    for signal_number in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(signal_number, loop.stop)
    write_whole(os.path.join(directory, "ready"), b"%d\n" % os.getpid())
    try:
        loop.run_forever()
    finally:
        # Not wait_closed(): it would wait for a client that keeps its connection open.
        for server in servers:
            server.close()
        loop.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
