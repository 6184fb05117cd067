#!/usr/bin/env python3
"""Writes the committed seed corpus of every fuzz target into fuzz/corpus/.

The seeds are the program's own kinds of input: what the boxes hold after
start-up and after typing (half- and full-width, GBK units, lone lead bytes),
icon files with bitmap and PNG images, and skin files, well-formed and not.
Run it again after changing it; libFuzzer only ever adds to its own working
copy, never to these files.

Usage: python3 fuzz/make_seeds.py
"""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def gbk(text):
    return text.encode("gbk")


def full_width(text):
    return b"".join(bytes([0xA3, ord(c) + 0x80]) for c in text)


def write(target, seeds):
    directory = os.path.join(HERE, "corpus", target)
    os.makedirs(directory, exist_ok=True)
    for old in os.listdir(directory):
        os.remove(os.path.join(directory, old))
    for name, data in seeds.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(data)


TEXTS = {
    "empty": b"",
    "ascii": b"120",
    "full-width-digits": full_width("120"),
    "ideographic-space": b"\xa1\xa1" + full_width("1.5"),
    "fold-row-a1": b"\xa1\xab\xa1\xee\xa1\xef\xa1\xa1",
    "chinese": gbk("关机重启注销"),
    "lone-lead-end": b"12\xb9",
    "trail-backslash": b"\x95\\\x81|",
    "zero-inside": b"12\x003",
    "control-chars": bytes(range(0, 32)),
}


def number_seeds():
    seeds = dict(TEXTS)
    for name, text in {
        "leading-space": b" 90", "unit": b"90s", "comma": b"1,5", "fraction": b"1.001",
        "tiny": b"0.0009", "exp-e": b"1e3", "exp-d": b"1d3", "exp-no-digits": b"1e",
        "exp-sign": b"-2.5E-3x", "longest": b"2147483.647", "huge": b"1e999",
        "underflow": b"1e-999", "hex": b"0x10", "inf": b"inf", "minus": b"-5",
        "many-digits": b"0." + b"0" * 400 + b"1", "point-only": b".", "two-points": b"1.2.3",
    }.items():
        seeds[name] = text
    # Doubles as their bytes, for the round trip of formatted values.
    for name, value in {"bits-pi": 3.141592653589793, "bits-min-subnormal": 5e-324,
                        "bits-max": 1.7976931348623157e308, "bits-neg-zero": -0.0}.items():
        seeds[name] = struct.pack("<d", value)
    return seeds


def date_time_seeds():
    seeds = dict(TEXTS)
    for name, text in {
        "joined": "2024年5月10日18时30分5秒", "slashes": "2024/05/10 18:30:05",
        "dashes": "2024-5-10-18-30-5", "dots": "2024.5.10.18.30.5",
        "after-seconds": "2024年5月10日18时30分5秒以后", "hour-24": "2024年5月10日24时0分0秒",
        "april-31": "2024年4月31日1时0分0秒", "feb-29-common": "2023年2月29日0时0分0秒",
        "feb-29-leap": "2000年2月29日0时0分0秒", "year-99": "99年1月1日0时0分0秒",
        "earliest": "100年1月1日0时0分0秒", "latest": "9999年12月31日23时59分59秒",
        "minute-005": "2024年5月10日18时005分5秒", "space-before": "2024年 5月10日18时30分5秒",
        "no-seconds": "2024年5月10日18时30分",
    }.items():
        seeds[name] = gbk(text)
    seeds["full-width"] = full_width("2024") + gbk("年") + full_width("5") + gbk("月") + \
        full_width("10") + gbk("日") + full_width("18") + gbk("时") + full_width("30") + \
        gbk("分") + full_width("5") + gbk("秒")
    return seeds


def trim_seeds():
    seeds = dict(TEXTS)
    seeds.update({
        "spaces-around": b"  C:\\Tavrel\\SkinH_EL.dll  ",
        "ideographic-around": b"\xa1\xa1C:\\a\xa1\xa1 ",
        "trail-a1": b"\xb0\xa1\xa1\xa1",
        "only-blanks": b" \xa1\xa1 ",
        "lone-lead-after-blank": b"x \xa1",
    })
    return seeds


def bitmap_image(width, height, bits):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    row = ((width * bits + 31) // 32) * 4
    mask_row = ((width + 31) // 32) * 4
    palette = b"\0" * (4 * (1 << bits) if bits <= 8 else 0)
    return header + palette + b"\x40" * (row * height) + b"\0" * (mask_row * height)


def png_image(width, height):
    return b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" + \
        struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0) + b"\0" * 8


def ico(images, type_=1):
    """images: (width byte, height byte, colour count, bit count, data)."""
    out = struct.pack("<HHH", 0, type_, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for width, height, colours, bits, data in images:
        out += struct.pack("<BBBBHHII", width, height, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def ico_seeds():
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "tavrel.ico")
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_icon.py"), path], check=True)
        with open(path, "rb") as f:
            application = f.read()
    sixteen = ico([(16, 16, 16, 4, bitmap_image(16, 16, 4)), (32, 32, 0, 8, bitmap_image(32, 32, 8))])
    truncated_record = struct.pack("<HHH", 0, 1, 2) + sixteen[6:6 + 16 + 8]
    return {
        "application-icon": application,
        "sixteen-colour-first": sixteen,
        "png-256": ico([(0, 0, 0, 32, png_image(256, 256))]),
        "cursor": ico([(32, 32, 0, 32, bitmap_image(32, 32, 32))], type_=2),
        "truncated-record": truncated_record,
        "data-past-end": sixteen[:-40],
        "header-only": struct.pack("<HHH", 0, 1, 0),
    }


def skin_seeds():
    with open(os.path.join(ROOT, "skin", "pmw.she"), "rb") as f:
        sample = f.read()
    plain = (b"tavrel-skin 1\nwindow = 1 2 3\ntext = 0 0 0\nface = 255 255 255\n"
             b"facetext = 9 9 9\nframe = 10 20 30\nfield = 4 5 6\nfieldtext = 7 8 9\n")
    return {
        "sample": sample,
        "plain": plain,
        "crlf-tabs-comments": b"# a comment\r\n\r\n\ttavrel-skin 1 \r\n" +
            plain.split(b"\n", 1)[1].replace(b"\n", b" \r\n").replace(b" = ", b"\t=\t"),
        "repeated-name": plain + b"text = 1 1 1\n",
        "missing-name": plain.replace(b"frame = 10 20 30\n", b""),
        "out-of-range": plain.replace(b"1 2 3", b"1 2 256"),
        "sign": plain.replace(b"1 2 3", b"+1 2 3"),
        "comma": plain.replace(b"1 2 3", b"1,2,3"),
        "zero-byte": plain.replace(b"text", b"te\0xt"),
        "wrong-header": plain.replace(b"skin 1", b"skin 2"),
        "empty": b"",
    }


def main():
    write("fold_full_width", TEXTS)
    write("text_to_number", number_seeds())
    write("text_to_date_time", date_time_seeds())
    write("trim_blanks", trim_seeds())
    write("ico_image", ico_seeds())
    write("skin_format", skin_seeds())


if __name__ == "__main__":
    main()
