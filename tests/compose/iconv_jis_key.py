#!/usr/bin/env python3
"""Writes the answer key of ShiftJisToJis as a C++ header: every double-byte Shift-JIS code
that glibc's iconv turns into a JIS X 0208 character (SHIFT_JIS to EUC-JP, less 0x8080).

Usage: iconv_jis_key.py OUTPUT.h

Made on the build machine, so that the Windows build, which has no iconv, checks against the
same key as the Linux build.
"""
import ctypes
import sys

libc = ctypes.CDLL(None)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
converter = libc.iconv_open(b"EUC-JP", b"SHIFT_JIS")


def jis(code):
    source = ctypes.create_string_buffer(bytes([code >> 8, code & 0xFF]), 2)
    target = ctypes.create_string_buffer(8)
    source_pointer = ctypes.c_char_p(ctypes.addressof(source))
    target_pointer = ctypes.c_char_p(ctypes.addressof(target))
    source_left = ctypes.c_size_t(2)
    target_left = ctypes.c_size_t(8)
    libc.iconv(converter, None, None, None, None)
    result = libc.iconv(converter, ctypes.byref(source_pointer), ctypes.byref(source_left),
                        ctypes.byref(target_pointer), ctypes.byref(target_left))
    if result == ctypes.c_size_t(-1).value or target_left.value != 6:
        return 0
    row, cell = target.raw[0], target.raw[1]
    if not (0xA1 <= row <= 0xFE and 0xA1 <= cell <= 0xFE):
        return 0
    return (row << 8 | cell) - 0x8080


pairs = [(code, jis(code)) for code in range(0x8100, 0xF000)]
with open(sys.argv[1], "w", encoding="ascii") as out:
    out.write("// Made by tests/compose/iconv_jis_key.py from glibc's iconv; do not edit.\n")
    out.write("#pragma once\n#include <cstdint>\n#include <utility>\n")
    out.write("inline constexpr std::pair<std::uint16_t, std::uint16_t> kIconvJisKey[] = {\n")
    for code, value in pairs:
        if value:
            out.write(f"    {{0x{code:04X}, 0x{value:04X}}},\n")
    out.write("};\n")
