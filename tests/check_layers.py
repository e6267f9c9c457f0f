#!/usr/bin/env python3
"""Fails when a source file includes across the layers. Every file is judged by its path alone.

Usage: check_layers.py SOURCE_ROOT

- A folder (base/, platform/, compose/, ui/, mail/, settings/, app/, cli/) includes only itself
  and the folders below it; app/ and cli/ sit on top and nothing includes them.
- A folder's qt/ holds its Qt windows: they go into the Qt library and program alone. Its win32/
  holds its Win32 windows: they go into tarvelo.exe alone. Everything else is the core's (or
  tarvelo-send's), which includes neither toolkit nor any header of a qt/ or win32/ folder.
- Neither front end includes the other's windows.
- fuzz/ builds on the core alone; tests/, bench/ and tools/ may include anything.
- The system's own headers (POSIX's unistd.h, sys/*, fcntl.h, the sockets'; windows.h,
  winsock2.h and the rest of the Win32 API) stand only in platform/, in a win32/ window unit and
  in the TLS sides (mail/tls/): every system call lives there.
A source file in a folder that none of these name is a fault too, so that nothing is skipped.
"""
import pathlib
import re
import sys

# What each folder may include besides itself.
ALLOWED = {
    "base": set(),
    "platform": {"base"},
    "compose": {"base", "platform"},
    "ui": {"base", "platform"},
    # mail reads the submission settings' shapes (settings/Submission.h).
    "mail": {"base", "platform", "compose", "ui", "settings"},
    "settings": {"base", "platform", "ui"},
    "app": {"base", "platform", "compose", "ui", "mail", "settings"},
    # tarvelo-send: the core alone, no window.
    "cli": {"base", "platform", "compose", "mail", "settings"},
}
# Folders of the tree that hold no layer of the program: their files are not judged, but for
# fuzz/, whose targets link the core alone.
FREE = {"tests", "bench", "tools", "build", "docs", "packaging", "scripts", "cmake"}
CORE_ONLY = {"fuzz"}
SOURCE_SUFFIXES = (".h", ".cpp", ".in")
TOOLKITS = ("qt", "win32")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z0-9]*(/|$)")
SYSTEM_HEADER = re.compile(
    r"^(unistd\.h|fcntl\.h|dirent\.h|poll\.h|pwd\.h|netdb\.h|dlfcn\.h|spawn\.h|termios\.h|"
    r"sys/.*|arpa/.*|netinet/.*|"
    r"windows\.h|winsock2?\.h|ws2tcpip\.h|commctrl\.h|shellapi\.h|shlobj\.h|wincrypt\.h|"
    r"security\.h|schannel\.h|sspi\.h|io\.h|direct\.h|process\.h)$",
    re.IGNORECASE)


def toolkit_of(parts):
    """The front end a path belongs to ("qt", "win32"), or None for the core."""
    for part in parts[1:-1]:
        if part in TOOLKITS:
            return part
    return None


def may_call_the_system(parts, toolkit):
    """Whether a file at this path may include the system's own headers."""
    return parts[0] == "platform" or toolkit == "win32" or parts[:2] == ["mail", "tls"]


def check_file(relative, text):
    """The faults of one file, given its path relative to the root and its text."""
    parts = relative.split("/")
    folder = parts[0]
    if folder in FREE or len(parts) == 1:
        return []
    if folder not in ALLOWED and folder not in CORE_ONLY:
        return [f"{relative}: a source file in a folder of no layer"]
    toolkit = toolkit_of(parts)
    faults = []
    for number, line in enumerate(text.splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        kind, header = match.groups()
        where = f"{relative}:{number}: {header}"
        if kind == "<":
            if QT_HEADER.match(header) and toolkit != "qt":
                faults.append(f"{where}: only the Qt windows include Qt")
            if SYSTEM_HEADER.match(header) and not may_call_the_system(parts, toolkit):
                faults.append(f"{where}: only platform/, the win32/ windows and mail/tls/ call "
                              "the system")
            continue
        target_parts = header.split("/")
        if len(target_parts) == 1:
            continue
        target = target_parts[0]
        if folder in ALLOWED and target != folder and target not in ALLOWED[folder]:
            faults.append(f"{where}: {folder}/ may not include {target}/")
        if folder in CORE_ONLY and target != folder and target not in ALLOWED["cli"]:
            faults.append(f"{where}: {folder}/ builds on the core alone")
        header_toolkit = toolkit_of(target_parts)
        if header_toolkit is not None and header_toolkit != toolkit:
            owner = "the core" if toolkit is None else f"the {toolkit} windows"
            faults.append(f"{where}: {owner} may not include a header of the {header_toolkit} windows")
    return faults


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    faults = []
    for top in sorted(root.iterdir()):
        if top.name.startswith(".") or top.name in FREE:
            continue
        for path in sorted(top.rglob("*")) if top.is_dir() else [top]:
            if path.suffix in SOURCE_SUFFIXES and path.is_file():
                relative = path.relative_to(root).as_posix()
                faults += check_file(relative, path.read_text(encoding="utf-8"))
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) across the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
