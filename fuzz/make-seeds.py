#!/usr/bin/env python3
"""Writes the seed inputs under corpus/<target>/: small valid and near-valid inputs for each
fuzz target, in the input layout its source describes. Run it again after changing a layout."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def frame(kind, arg, code, sub, data=b""):
    head = bytes([0xA5, 0xA5, 0xA5, 0, kind, arg, code, sub]) + struct.pack(">H", len(data))
    body = head + data
    s = 0
    for b in body[3:]:
        s ^= b
    return body + bytes([s, 0xAA])


def block(name=b"Seed", fill=0):
    data = bytearray([fill] * 320)
    data[300:300 + len(name)] = name
    return bytes(data)


def names():
    out = b""
    for n in range(1, 21):
        out += (b"Preset %d" % n).ljust(20, b"\0")
    return out


# What the unit sends.
STATUS = frame(0x52, 0, 0x2B, 0, bytes([1] + [0] * 7))
RECORD = frame(0x52, 0, 0x21, 0, bytes([5] + [0] * 7))
ACK = frame(0x51, 0, 0, 0)
CURRENT = frame(0x52, 0, 0x28, 0, block())
PRESET = [frame(0x52, n, 0x29, 0, block(b"P%d" % n, n)) for n in range(1, 4)]
NAMES = frame(0x52, 0, 0x26, 0, names())
STARTUP = CURRENT + NAMES + RECORD

# What the application sends.
STATUS_REQ = frame(0xA2, 0, 0x2B, 0)
PARAM = frame(0xA1, 0, 1, 0, bytes([200, 1, 0x2C, 1, 0, 0, 0, 0]))
NAME_WRITE = frame(0xA1, 2, 0x27, 0, b"abc".ljust(20, b"\0"))
BLOCK_WRITE = frame(0xA1, 0, 0x28, 0, block())


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def batches(flags, stream, size=96):
    """receive_fuzz: a flags byte, then (size byte, size + 1 bytes) per batch."""
    out = bytes([flags])
    for i in range(0, len(stream), size):
        piece = stream[i:i + size]
        out += bytes([len(piece) - 1]) + piece
    return out


def receive_seeds():
    write("receive_fuzz", "startup", batches(1, STARTUP))
    write("receive_fuzz", "startup-one-batch-each", batches(1, STARTUP, 11))
    write("receive_fuzz", "twenty-preset-read", batches(1 | 4, b"".join(PRESET)))
    write("receive_fuzz", "store-ack-and-status", batches(1 | 16, ACK + STATUS))
    write("receive_fuzz", "save-one", batches(1 | 2, CURRENT))
    write("receive_fuzz", "recall", batches(1 | 8, CURRENT + RECORD))
    write("receive_fuzz", "garbage-and-cut-block", batches(1, b"\x00\xA5\x17" + CURRENT[:200] + STATUS))


def pieces(flags, parts):
    """serial_fuzz: a flags byte, then (pause, length - 1, bytes) per piece."""
    out = bytes([flags])
    for pause, piece in parts:
        for i in range(0, len(piece), 256):
            chunk = piece[i:i + 256]
            out += bytes([pause, len(chunk) - 1]) + chunk
    return out


def serial_seeds():
    write("serial_fuzz", "startup", pieces(1, [(60, CURRENT), (60, NAMES), (60, RECORD)]))
    write("serial_fuzz", "startup-merged", pieces(1, [(200, CURRENT), (10, NAMES + RECORD)]))
    write("serial_fuzz", "replies-in-small-pieces",
          pieces(1, [(5, STATUS[i:i + 7]) for i in range(0, len(STATUS), 7)] + [(60, ACK)]))
    write("serial_fuzz", "twenty-preset-read", pieces(1 | 4, [(30, p) for p in PRESET]))
    write("serial_fuzz", "garbage-between", pieces(1, [(60, b"\xAA\x00" + STATUS), (60, b"\xA5" + RECORD)]))


def reports(message):
    """One message as the unit's HID reports: the header, then 64-byte data reports."""
    out = [message[:10].ljust(64, b"\0")]
    rest = message[10:]
    for i in range(0, len(rest), 64):
        out.append(rest[i:i + 64].ljust(64, b"\0"))
    return out


def hid(flags, timed_reports):
    """hid_report_fuzz: a flags byte, then (pause, [length], report) per report."""
    out = bytes([flags])
    for pause, report in timed_reports:
        out += bytes([pause])
        if flags & 1:
            out += bytes([len(report) - 1])
        out += report
    return out


def hid_seeds():
    def timed(messages, pause=1):
        return [(pause, r) for m in messages for r in reports(m)]
    write("hid_report_fuzz", "startup", hid(2, timed([CURRENT, NAMES, RECORD])))
    write("hid_report_fuzz", "status-and-ack", hid(2, timed([STATUS, ACK])))
    late = timed([CURRENT])
    late[3] = (125, late[3][1])  # 500 ms: the message is given up
    write("hid_report_fuzz", "late-report", hid(2, late + timed([STATUS])))
    short = [(1, r[:40]) for r in reports(STATUS)] + [(1, r) for r in reports(RECORD)]
    write("hid_report_fuzz", "short-reports", hid(3, short))
    write("hid_report_fuzz", "noise-before-header", hid(2, [(1, b"\x01" * 64)] + timed([STATUS])))


def record_text(code, slot, data, lower=False):
    text = frame(0x52, slot, code, 0, data).hex().upper()
    return text.lower() if lower else text


def preset_seeds():
    one = record_text(0x28, 0, block(b"File", 3))
    write("preset_file_fuzz", "one-group", b"\0" + (one + "\r\n").encode())
    write("preset_file_fuzz", "one-group-split-lower", b"\0" + (one[:300].lower() + "\n" + one[300:] + "\n").encode())
    write("preset_file_fuzz", "one-group-short", b"\0" + one[:-1].encode())
    write("preset_file_fuzz", "one-group-bad-pair", b"\0" + (one[:100] + "G" + one[101:]).encode())
    twenty = [record_text(0x29, n, block(b"Slot %d" % n, n)) for n in range(1, 21)]
    write("preset_file_fuzz", "twenty-group", b"\1" + "".join(t + "\r\n" for t in twenty).encode())
    write("preset_file_fuzz", "twenty-group-lf-no-last-end", b"\1" + "\n".join(twenty).encode())
    write("preset_file_fuzz", "nineteen-groups", b"\1" + "".join(t + "\r\n" for t in twenty[:19]).encode())


def settings(mode, fields, text):
    out = struct.pack(">h", mode)
    for f in fields:
        out += bytes([len(f)]) + f
    return out + text


def settings_seeds():
    with open(os.path.join(HERE, "..", "packaging", "mysetting.ini"), "rb") as f:
        shipped = f.read()
    fields = [b"Hall A", b"Main", b"Tweeter", b"Mid", b"Sub", b"1.0"]
    write("settings_fuzz", "shipped", settings(3, fields, shipped))
    write("settings_fuzz", "crlf-bom-other-section",
          settings(2, fields, b"\xEF\xBB\xBF[Other]\r\nKey = value \r\n; note\r\n[personal settings]\r\nName=Old\r\nChannel mode=1x\r\n"))
    write("settings_fuzz", "new-file", settings(1, [b"", b"", b"", b"", b"", b""], b""))
    write("settings_fuzz", "keys-before-sections",
          settings(-1, [b" padded ", b"a=b", b";x", b"[y]", b"\xc3\x96st", b"v"], b"top=1\n[Personal settings]\nname=a\nNAME=b\n# c\n[ ]\nk=v\n"))


def bmp(width, height, bpp, pixels, palette=b"", compression=0, masks=b"", header=40):
    """A Windows bitmap: file header, info header, masks, palette, pixel rows."""
    info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bpp, compression, len(pixels),
                       2835, 2835, len(palette) // 4, 0)
    info += masks
    info = info.ljust(header, b"\0") if header > 40 else info
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def rows(width, height, bpp, value):
    stride = ((width * bpp + 31) // 32) * 4
    return b"".join(bytes((value(x, y) for x in range(stride))) for y in range(height))


def logo_seeds():
    write("logo_fuzz", "rgb24", bmp(4, 3, 24, rows(4, 3, 24, lambda x, y: (x * 40 + y * 7) & 255)))
    write("logo_fuzz", "rgb24-top-down", bmp(3, -2, 24, rows(3, 2, 24, lambda x, y: x * 20 + y)))
    grey = b"".join(bytes([i * 60, i * 60, i * 60, 0]) for i in range(4))
    write("logo_fuzz", "indexed8", bmp(5, 2, 8, rows(5, 2, 8, lambda x, y: (x + y) % 4), grey))
    write("logo_fuzz", "indexed4", bmp(6, 2, 4, rows(6, 2, 4, lambda x, y: 0x12 if x < 3 else 0), grey))
    bw = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    write("logo_fuzz", "mono", bmp(9, 3, 1, rows(9, 3, 1, lambda x, y: 0xA5 if x == 0 else 0x80), bw))
    # Run-length 8: two runs of three, end of line, end of bitmap.
    write("logo_fuzz", "rle8", bmp(6, 2, 8, bytes([3, 1, 3, 2, 0, 0, 6, 3, 0, 1]), grey, compression=1))
    write("logo_fuzz", "rle4", bmp(6, 2, 4, bytes([6, 0x12, 0, 0, 6, 0x30, 0, 1]), grey, compression=2))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    write("logo_fuzz", "rgb565-bitfields",
          bmp(2, 2, 16, rows(2, 2, 16, lambda x, y: 0x1F if x % 2 else 0xF8), compression=3, masks=masks))
    amasks = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    write("logo_fuzz", "argb32-v5",
          bmp(2, 2, 32, rows(2, 2, 32, lambda x, y: [10, 20, 30, 128][x % 4]), compression=3,
              masks=amasks, header=124))


def scanner_seeds():
    write("frame_scanner_fuzz", "requests", bytes([1, 7]) + STATUS_REQ + PARAM + NAME_WRITE)
    write("frame_scanner_fuzz", "block-write", bytes([2, 63]) + BLOCK_WRITE + STATUS_REQ)
    write("frame_scanner_fuzz", "garbage-between", bytes([3, 3]) + b"\x00\xA5" + STATUS_REQ + b"\xAA" + PARAM)
    write("frame_scanner_fuzz", "extra-marker", bytes([4, 0]) + b"\xA5" + STATUS_REQ)
    bad_end = bytearray(PARAM)
    bad_end[-1] = 0xAB
    write("frame_scanner_fuzz", "no-end-marker", bytes([5, 12]) + bytes(bad_end) + STATUS_REQ)
    write("frame_scanner_fuzz", "cut-short", bytes([6, 9]) + BLOCK_WRITE[:100])


def measurement_seeds():
    write("measurement_fuzz", "text-export",
          b"* Measurement export\n* Smoothing: none\nFreq(Hz) SPL(dB) Phase(degrees)\n"
          b"20.000 80.5 0.0\n25.0 81.25 -12.5\n31.5 79.0 3\n40 82 0\n")
    write("measurement_fuzz", "frd", b"20\t80\n30\t81.5\n30\t82.5\n1e3\t75\n20000\t70.25\n")
    write("measurement_fuzz", "csv", b"\xEF\xBB\xBFFrequency (Hz),Level (dB)\r\n100,80\r\n50,81\r\n200;79\r\n")
    write("measurement_fuzz", "refused", b"Hz dB\n20 80\n30 nan\n0 81\n")


if __name__ == "__main__":
    receive_seeds()
    serial_seeds()
    hid_seeds()
    preset_seeds()
    settings_seeds()
    logo_seeds()
    scanner_seeds()
    measurement_seeds()
