#!/usr/bin/env python3
"""The layer rules of check_layers.py, one row each: a file at a path that includes a header,
and whether that must be reported. The last row runs the whole check on a copy of a small tree
with one include added to cli/main.cpp, as a change would bring it."""
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import check_layers  # noqa: E402

ROWS = [
    # name, path, include line, reported
    ("cli_main_takes_qt", "cli/main.cpp", "#include <QString>", True),
    ("cli_takes_core", "cli/main.cpp", '#include "mail/SmtpDriver.h"', False),
    ("cli_takes_a_qt_window", "cli/SendCommand.cpp", '#include "settings/qt/setting.h"', True),
    ("cli_takes_app", "cli/SendCommand.cpp", '#include "app/CommandLine.h"', True),
    ("core_takes_qt", "mail/SmtpDriver.cpp", "#include <QTimer>", True),
    ("core_takes_qt_module_path", "compose/Composition.cpp", "#include <QtCore/QString>", True),
    ("core_takes_a_win32_window", "settings/SettingsStore.cpp", '#include "ui/win32/Form.h"', True),
    ("core_takes_a_header_above", "compose/Composition.cpp", '#include "mail/SendEnd.h"', True),
    ("qt_window_takes_qt", "settings/qt/setting.cpp", "#include <QLineEdit>", False),
    ("qt_window_takes_core", "settings/qt/setting.cpp", '#include "settings/LineList.h"', False),
    ("qt_window_takes_win32", "app/qt/TvMain.cpp", '#include "app/win32/TvMain.h"', True),
    ("win32_window_takes_qt", "app/win32/TvMain.cpp", "#include <QWidget>", True),
    ("win32_window_takes_qt_window", "mail/win32/Send.cpp", '#include "ui/qt/Fonts.h"', True),
    ("win32_window_takes_its_own", "mail/win32/Send.cpp", '#include "ui/win32/Form.h"', False),
    ("tls_side_takes_qt", "mail/tls/TlsOpenSsl.cpp", "#include <QSslSocket>", True),
    ("fuzz_takes_a_window", "fuzz/X.cpp", '#include "app/qt/TvMain.h"', True),
    ("fuzz_takes_core", "fuzz/X.cpp", '#include "compose/HandsetText.h"', False),
    ("tests_take_anything", "tests/app/qt/TvMainTest.cpp", "#include <QTest>", False),
    ("unknown_folder", "gui/Window.cpp", '#include "base/Error.h"', True),
    ("cli_calls_posix", "cli/main.cpp", "#include <unistd.h>", True),
    ("cli_calls_posix_sys", "cli/PasswordCommand.cpp", "#include <sys/wait.h>", True),
    ("core_calls_win32", "settings/SettingsStore.cpp", "#include <windows.h>", True),
    ("core_takes_the_standard_library", "settings/SettingsStore.cpp", "#include <cstdio>", False),
    ("app_qt_calls_posix", "app/qt/Startup.cpp", "#include <unistd.h>", True),
    ("platform_calls_posix", "platform/FilesPosix.cpp", "#include <sys/stat.h>", False),
    ("win32_window_calls_win32", "app/win32/TvMain.cpp", "#include <commctrl.h>", False),
    ("tls_side_calls_the_system", "mail/tls/TlsSchannel.cpp", "#include <schannel.h>", False),
]


def main():
    failures = []
    for name, path, line, reported in ROWS:
        faults = check_layers.check_file(path, line + "\n")
        if bool(faults) != reported:
            failures.append(f"{name}: {path} with {line!r} gave {faults}")
    with tempfile.TemporaryDirectory() as root:
        for path, text in (("base/Error.h", "#pragma once\n"),
                           ("cli/main.cpp", '#include "base/Error.h"\n')):
            file = pathlib.Path(root) / path
            file.parent.mkdir(parents=True, exist_ok=True)
            file.write_text(text)
        script = pathlib.Path(__file__).with_name("check_layers.py")
        clean = subprocess.run([sys.executable, script, root], capture_output=True, text=True)
        with open(pathlib.Path(root) / "cli/main.cpp", "a") as file:
            file.write("#include <QString>\n")
        mutated = subprocess.run([sys.executable, script, root], capture_output=True, text=True)
        if clean.returncode != 0 or mutated.returncode == 0 or "cli/main.cpp:2" not in mutated.stdout:
            failures.append(f"whole_tree: clean {clean.returncode}, mutated {mutated.returncode}: "
                            f"{mutated.stdout!r}")
    for failure in failures:
        print(failure)
    print(f"{len(ROWS) + 1 - len(failures)} of {len(ROWS) + 1} rows hold")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
