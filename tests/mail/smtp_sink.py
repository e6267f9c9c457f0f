"""A real SMTP server (aiosmtpd) on 127.0.0.1 that keeps what it is sent, for the tests.

Usage: smtp_sink.py DIR [PORT]

Listens on 127.0.0.1:PORT (25 when not given; run it in a private network namespace for
that). Once it listens it creates DIR/ready holding its process id. For every message taken
it writes, each file replaced whole:
  DIR/envelope.txt  the envelope sender, then each recipient, one per line
  DIR/message.eml   the message as received, byte for byte (CR LF line ends, the leading dot
                    of a stuffed line removed, the end marker not included)
  DIR/count         how many messages it has taken so far
  DIR/N.eml         the same as message.eml for the Nth message, N from 1
Runs until SIGTERM or SIGINT, then exits with 0.
"""
import asyncio
import os
import signal
import sys

from aiosmtpd.smtp import SMTP


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


def main() -> int:
    if len(sys.argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    directory = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 25
    keeper = Keeper(directory)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(
        loop.create_server(lambda: SMTP(keeper, hostname="sink.test", loop=loop),
                           host="127.0.0.1", port=port))
    for signal_number in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(signal_number, loop.stop)
    write_whole(os.path.join(directory, "ready"), b"%d\n" % os.getpid())
    try:
        loop.run_forever()
    finally:
        # Not wait_closed(): it would wait for a client that keeps its connection open.
        server.close()
        loop.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
