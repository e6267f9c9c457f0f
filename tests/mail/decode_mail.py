"""Reads an e-mail as a mail client would and prints what a reader sees, as UTF-8.

Usage: decode_mail.py FILE
Prints the To header, the charset of the body, then the lines of the decoded body.
"""
import email
import sys


def main() -> int:
    with open(sys.argv[1], "rb") as f:
        message = email.message_from_bytes(f.read())
    charset = message.get_content_charset()
    body = message.get_payload(decode=True).decode(charset)
    out = [message["X-Mailer"], message["To"], charset] + body.splitlines()
    sys.stdout.buffer.write("\n".join(out).encode("utf-8") + b"\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
