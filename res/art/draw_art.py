#!/usr/bin/env python3
"""Draws Glimra's artwork and writes it next to the resources.

    res/glimra.ico   the application icon: a picture frame with a landscape
                     and a magnifying glass over it; 16, 32 and 48 pixels as
                     32-bit images with alpha and an AND mask, 256 as PNG
    res/toolbar.bmp  the toolbar strip: 80x16, 16 colours, five buttons
                     (exit, clear, save, info, about) on light grey, which
                     the toolbar treats as transparent

Only the Python standard library is used. Run: python3 res/art/draw_art.py
"""

import math
import os
import struct
import zlib

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)

# ---------------------------------------------------------------- icon scene


def hexrgb(s):
    return tuple(int(s[i:i + 2], 16) for i in (1, 3, 5))


FRAME = hexrgb("#E9A23B")
FRAME_LIGHT = hexrgb("#F6C96B")
OUTLINE = hexrgb("#5A3410")
SKY_TOP = hexrgb("#5DB8F5")
SKY_BOTTOM = hexrgb("#C9ECFF")
SUN = hexrgb("#FFD83A")
HILL_BACK = hexrgb("#7CC644")
HILL_FRONT = hexrgb("#3E9A3A")
RIM = hexrgb("#2B3A55")
RIM_LIGHT = hexrgb("#6F86AD")
HANDLE = hexrgb("#B5482A")
HANDLE_DARK = hexrgb("#6E2A17")
GLASS = hexrgb("#E6F7FF")

LENS_C = (0.60, 0.56)
LENS_R = 0.25
HANDLE_A = (0.78, 0.74)
HANDLE_B = (0.93, 0.89)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def seg_dist(p, a, b):
    ax, ay = a
    bx, by = b
    px, py = p
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def picture(x, y, line):
    """The framed landscape (no glass); None outside the frame."""
    x0, y0, x1, y1 = 0.05, 0.08, 0.80, 0.80
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return None
    border = 0.09
    if x < x0 + line or x > x1 - line or y < y0 + line or y > y1 - line:
        return OUTLINE
    ix0, iy0, ix1, iy1 = x0 + border, y0 + border, x1 - border, y1 - border
    if not (ix0 <= x <= ix1 and iy0 <= y <= iy1):
        # A lighter bevel on the upper and left sides of the frame.
        return FRAME_LIGHT if (x - x0) < (y1 - y) and (y - y0) < (x1 - x) and min(x - x0, y - y0) < border * 0.5 else FRAME
    if x < ix0 + line * 0.7 or y < iy0 + line * 0.7 or x > ix1 - line * 0.7 or y > iy1 - line * 0.7:
        return OUTLINE
    if math.hypot(x - 0.66, y - 1.02) < 0.48:
        return HILL_FRONT
    if math.hypot(x - 0.22, y - 0.98) < 0.40:
        return HILL_BACK
    if math.hypot(x - 0.30, y - 0.33) < 0.075:
        return SUN
    return mix(SKY_TOP, SKY_BOTTOM, (y - iy0) / (iy1 - iy0))


def scene(x, y, line):
    """Colour and alpha (0..1) at a point of the unit square."""
    # Handle first: it lies under the rim where they meet.
    d = seg_dist((x, y), HANDLE_A, HANDLE_B)
    handle_r = 0.065
    dl = math.hypot(x - LENS_C[0], y - LENS_C[1])
    rim_w = max(0.055, 1.6 * line)
    if dl <= LENS_R + rim_w / 2:
        if dl >= LENS_R - rim_w / 2:
            # The rim, lit from the upper left.
            ang = math.atan2(y - LENS_C[1], x - LENS_C[0])
            light = 0.5 + 0.5 * math.cos(ang + 2.3)
            edge = abs(dl - LENS_R) > rim_w / 2 - line * 0.8
            return (RIM if edge else mix(RIM, RIM_LIGHT, light)), 1.0
        # Inside the lens the picture shows magnified.
        mx = LENS_C[0] + (x - LENS_C[0]) / 1.6
        my = LENS_C[1] + (y - LENS_C[1]) / 1.6
        under = picture(mx, my, line / 1.6) or GLASS
        col = mix(under, GLASS, 0.22)
        # A soft highlight near the top left of the glass.
        hx, hy = LENS_C[0] - LENS_R * 0.42, LENS_C[1] - LENS_R * 0.42
        if math.hypot(x - hx, y - hy) < LENS_R * 0.22:
            col = mix(col, (255, 255, 255), 0.75)
        return col, 1.0
    if d <= handle_r:
        if d > handle_r - line * 1.1:
            return HANDLE_DARK, 1.0
        # Rounded look: lighter along the handle's upper edge.
        nx, ny = -(HANDLE_B[1] - HANDLE_A[1]), HANDLE_B[0] - HANDLE_A[0]
        n = math.hypot(nx, ny)
        side = ((x - HANDLE_A[0]) * nx + (y - HANDLE_A[1]) * ny) / n
        return mix(HANDLE, (240, 150, 110), max(0.0, -side / handle_r) * 0.6), 1.0
    # A short shadow of the glass on the frame makes it float above it.
    col = picture(x, y, line)
    if col is None:
        return (0, 0, 0), 0.0
    if LENS_R + rim_w / 2 < math.hypot(x - LENS_C[0] - 0.025, y - LENS_C[1] - 0.03) < LENS_R + rim_w / 2 + 0.035 or \
            math.hypot(x - LENS_C[0] - 0.025, y - LENS_C[1] - 0.03) <= LENS_R + rim_w / 2:
        col = mix(col, (0, 0, 0), 0.25)
    return col, 1.0


def render(size, samples=4):
    """Rows of (r, g, b, a) bytes, top row first, supersampled."""
    line = 1.0 / size if size <= 32 else 1.3 / size
    line = max(line, 0.012)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            alpha = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    col, a = scene(x, y, line)
                    for i in range(3):
                        acc[i] += col[i] * a
                    alpha += a
            n = samples * samples
            if alpha > 0:
                rgb = tuple(int(round(acc[i] / alpha)) for i in range(3))
            else:
                rgb = (0, 0, 0)
            row.append(rgb + (int(round(255 * alpha / n)),))
        rows.append(row)
    return rows


def dib_image(rows):
    """A 32-bit icon image: header, BGRA rows bottom-up, then the AND mask."""
    size = len(rows)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def png_image(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + b"".join(bytes(px) for px in row) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_ico(path, images):
    """images: (size, bytes) pairs."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    with open(path, "wb") as f:
        f.write(out + body)


# ------------------------------------------------------------------- toolbar

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# One letter per palette entry; "." is the transparent light grey.
KEY = {"k": 0, "m": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, ".": 7, "d": 8,
       "r": 9, "l": 10, "y": 11, "b": 12, "f": 13, "c": 14, "w": 15}

EXIT = [
    "................",
    ".kkkkkkkk.......",
    ".kmmmmmmk.......",
    ".kmoooomk.......",
    ".kmoooomk..g....",
    ".kmoooomk..gg...",
    ".kmoooomk..glg..",
    ".kmoooggggggllg.",
    ".kmyoogllllllllg",
    ".kmoooggggggllg.",
    ".kmoooomk..glg..",
    ".kmoooomk..gg...",
    ".kmoooomk..g....",
    ".kmmmmmmk.......",
    ".kkkkkkkk.......",
    "................",
]

LIST = [
    "................",
    ".kkkkkkkkkk.....",
    ".kwwwwwwwwk.....",
    ".kwnnnnnnwk.....",
    ".kwwwwwwwwk.....",
    ".kwnnnnnnwk.....",
    ".kwwwwwwwwk.....",
    ".kwnnnnnnwk.....",
    ".kwwwwwwwwk.....",
    ".kwnnnnnnwk.....",
    ".kwwwwwwwwk.....",
    ".kwnnnnnnwk.....",
    ".kwwwwwwwwk.....",
    ".kkkkkkkkkk.....",
    "................",
    "................",
]

FLOPPY = [
    "................",
    ".knnnnnnnnnnnk..",
    ".knwwwwwwwwwnnk.",
    ".knwwwwwwwwwnnk.",
    ".knwdddddddwnnk.",
    ".knwwwwwwwwwnnk.",
    ".knwdddddddwnnk.",
    ".knwwwwwwwwwnnk.",
    ".knnnnnnnnnnnnk.",
    ".knnnnnnnnnnnnk.",
    ".knnddddddddnnk.",
    ".knnddnnddddnnk.",
    ".knnddnnddddnnk.",
    ".knnddddddddnnk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

QUESTION = [
    "................",
    ".....nnnnnn.....",
    "....nbbbbbbn....",
    "...nbbnnnnbbn...",
    "...nbbn..nbbn...",
    "....nn...nbbn...",
    ".......nnbbn....",
    "......nbbbn.....",
    "......nbbn......",
    "......nbbn......",
    ".......nn.......",
    "................",
    ".......nn.......",
    "......nbbn......",
    ".......nn.......",
    "................",
]


def grid(rows):
    assert len(rows) == 16 and all(len(r) == 16 for r in rows), rows
    return [[KEY[c] for c in r] for r in rows]


def clear_glyph():
    g = grid(LIST)
    # A red cross over the lower right of the list.
    for v in range(10):
        for u in range(10):
            if u in (v, v + 1) or u + v in (9, 10):
                g[5 + v][5 + u] = KEY["r"]
    return g


def info_glyph():
    g = grid(["." * 16] * 16)
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - 7.5, y - 7.5)
            if d <= 6.3:
                g[y][x] = KEY["b"]
            elif d <= 7.4:
                g[y][x] = KEY["n"]
    for y, x0, x1 in [(3, 7, 8), (4, 7, 8), (6, 6, 8), (7, 7, 8), (8, 7, 8), (9, 7, 8), (10, 7, 8), (11, 6, 9)]:
        for x in range(x0, x1 + 1):
            g[y][x] = KEY["w"]
    return g


def write_toolbar(path):
    glyphs = [grid(EXIT), clear_glyph(), grid(FLOPPY), info_glyph(), grid(QUESTION)]
    width, height = 16 * len(glyphs), 16
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for y in reversed(range(height)):
        row = [glyphs[x // 16][y][x % 16] for x in range(width)]
        packed = bytes((row[i] << 4) | row[i + 1] for i in range(0, width, 2))
        pixels += packed + b"\x00" * (stride - len(packed))
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def main():
    images = [(s, dib_image(render(s))) for s in (16, 32, 48)]
    images.append((256, png_image(render(256, samples=3))))
    write_ico(os.path.join(RES, "glimra.ico"), images)
    write_toolbar(os.path.join(RES, "toolbar.bmp"))


if __name__ == "__main__":
    main()
