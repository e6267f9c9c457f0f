#!/usr/bin/env python3
"""Fails when a source file includes across the layers.

Usage: check_layers.py SOURCE_ROOT CORE_FILE... -- PROGRAM_FILE...

Folders may include only the folders below them (app/ and cli/ sit on top and nothing includes
them). A file of tarvelo_core (the CORE_FILEs) or of a program's own code built on it alone (the
PROGRAM_FILEs) includes neither Qt nor a header of the windows, and the core holds none of the
code of app/ or cli/, which belongs to one program each.
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
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    names = sys.argv[2:]
    split = names.index("--") if "--" in names else len(names)
    core, programs = set(), set()
    for group, found in ((names[:split], core), (names[split + 1:], programs)):
        for name in group:
            path = pathlib.Path(name).resolve()
            if path.is_relative_to(root):
                found.add(path.relative_to(root).as_posix())
    faults = [f"{name}: the core holds one program's own code" for name in sorted(core)
              if name.split("/")[0] in ("app", "cli")]
    core = core | programs
    for folder, allowed in ALLOWED.items():
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".h", ".cpp", ".in"):
                continue
            relative = path.relative_to(root).as_posix()
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, header = match.groups()
                where = f"{relative}:{number}: {header}"
                if kind == "<":
                    if relative in core and header.startswith("Q"):
                        faults.append(f"{where}: the core links no Qt")
                    continue
                target = header.split("/")[0]
                if "/" in header and target != folder and target not in allowed:
                    faults.append(f"{where}: {folder}/ may not include {target}/")
                if relative in core and "/" in header and header not in core \
                        and not header.startswith("base/"):
                    faults.append(f"{where}: a core file includes a header of the windows")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) across the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
