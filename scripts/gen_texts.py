#!/usr/bin/env python3
"""Turns the UTF-8 text table into a header of code page 936 byte strings.

The sources stay UTF-8 for every compiler; the program itself speaks the Windows ANSI code page,
so each text is emitted as escaped bytes and no compiler's execution charset is involved.
"""
import sys


def escape(data: bytes) -> str:
    out, after_hex = [], False
    for b in data:
        if b >= 0x80 or b < 0x20 or b in b'"\\?':
            out.append(f"\\x{b:02x}")
            after_hex = True
        else:
            # A hex digit right after an escape would be read as part of it: close and reopen the literal.
            if after_hex and chr(b) in "0123456789abcdefABCDEF":
                out.append('" "')
            out.append(chr(b))
            after_hex = False
    return "".join(out)


def main(src: str, dst: str) -> None:
    out = ["// Generated from resources/texts.txt by scripts/gen_texts.py. Do not edit.",
           "#pragma once", "", "namespace text {", ""]
    with open(src, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            name, value = line.split("\t", 1)
            value = value.replace("\\r", "\r").replace("\\n", "\n")
            data = value.encode("cp936")
            out.append(f'inline constexpr char {name}[] = "{escape(data)}";')
    out += ["", "}  // namespace text", ""]
    text = "\n".join(out)
    try:
        with open(dst, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(dst, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
