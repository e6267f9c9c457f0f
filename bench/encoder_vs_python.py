#!/usr/bin/env python3
"""The ISO-2022-JP encoder against Python's codecs on the same 150-byte mail line.

Usage: bench/encoder_vs_python.py BUILD_DIR   (BUILD_DIR configured with -DTARVELO_BENCH=ON)

Python takes the line from Shift-JIS to ISO-2022-JP as the encoder does (decode cp932, encode
iso2022_jp) and, as a stricter yardstick, only the encode of the already decoded text. Prints
the medians and how many times faster the encoder is.
"""
import json
import statistics
import subprocess
import sys
import timeit

# The text of bench/Iso2022JpBench.cpp (kMixedUtf8), made into the same line.
MIXED = ("今日は朝から雨が降っていますが、午後には晴れるでしょう。"
         "PHS 070-1234-5678 までご連絡ください。"
         "カタカナとひらがな、ＡＢＣ１２３、記号（「」・…○●）も混ぜます。"
         "Meeting at 10:30 in room 4B, see you there! "
         "東京駅の八重洲口で待ち合わせ、新幹線で大阪へ向かいます。")


def mail_line(size):
    line = "MSG=".encode("cp932")
    for character in MIXED * (size // len(MIXED) + 1):
        encoded = character.encode("cp932")
        if len(line) + len(encoded) > size:
            break
        line += encoded
    return line + b"." * (size - len(line))


def python_ns(statement, setup_globals):
    timer = timeit.Timer(statement, globals=setup_globals)
    loops, _ = timer.autorange()
    runs = timer.repeat(repeat=7, number=loops)
    return statistics.median(runs) / loops * 1e9


def main():
    build = sys.argv[1]
    result = subprocess.run(
        [f"{build}/bench/iso2022jp_bench", "--benchmark_filter=BM_EncodeIso2022Jp/150$",
         "--benchmark_repetitions=5", "--benchmark_format=json"],
        check=True, capture_output=True, text=True)
    runs = [b["real_time"] for b in json.loads(result.stdout)["benchmarks"]
            if b.get("run_type") == "iteration"]
    ours = statistics.median(runs)
    line = mail_line(150)
    text = line.decode("cp932")
    full = python_ns("line.decode('cp932').encode('iso2022_jp')", {"line": line})
    encode = python_ns("text.encode('iso2022_jp')", {"text": text})
    print(f"150-byte line: encoder {ours:.0f} ns; Python decode+encode {full:.0f} ns "
          f"({full / ours:.1f}x), encode alone {encode:.0f} ns ({encode / ours:.1f}x)")


if __name__ == "__main__":
    main()
