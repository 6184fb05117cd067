#!/usr/bin/env python3
"""Copies a UTF-8 C++ source with every non-ASCII character inside a string or
character literal written as octal escapes of its GBK bytes.

The program's own builds get GBK literals from g++'s -fexec-charset=GBK;
clang, which libFuzzer needs, only knows UTF-8 there. Octal escapes (never
more than three digits) keep the bytes exact whatever character follows, and
a trail byte of 0x5C or 0x22 cannot end or escape the literal.

Usage: gbk_literals.py SOURCE TARGET
"""
import sys


def gbk_escapes(character):
    # GB18030 writes every GBK character with GBK's own bytes and, unlike
    # GBK, also has the few characters (such as U+00B5) a header may hold.
    return "".join("\\%03o" % byte for byte in character.encode("gb18030"))


def convert(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isdigit())):
            # An apostrophe after a digit is a digit separator (1'000).
            out.append(c)
            i += 1
            while i < n and text[i] != c:
                if text[i] == "\\" and i + 1 < n:
                    out.append(text[i:i + 2])
                    i += 2
                    continue
                out.append(gbk_escapes(text[i]) if ord(text[i]) >= 0x80 else text[i])
                i += 1
            if i < n:
                out.append(c)
                i += 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    with open(target, "w", encoding="utf-8") as f:
        f.write(convert(text))


if __name__ == "__main__":
    main()
