#!/usr/bin/python3
"""Draws the two pictures of the main window and writes them beside this script.

    icon.ico   the window icon: one 32 x 32 image, 32 bits per pixel (BGRA), every
               pixel opaque, all-zero AND mask; a dark figure running with a red scarf.
    chart.gif  the level chart shown in the picture box: GIF89a, 267 x 343, one frame,
               not interlaced, a global colour table of 64 entries, no extensions.

Both files are committed; the build only embeds them, so this script runs only when a
picture is to be changed. It needs Debian's python3-pil and fonts-wqy-microhei:

    /usr/bin/python3 app/pictures/make_pictures.py          draw, write, check
    /usr/bin/python3 app/pictures/make_pictures.py --check  only check the files

The files are written byte by byte here (the image libraries would compress the icon
as PNG or size the colour table to the colours used), and the check reads them back at
the byte level and decodes them again with PIL.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ICON_PATH = os.path.join(HERE, "icon.ico")
CHART_PATH = os.path.join(HERE, "chart.gif")
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# ---------------------------------------------------------------------------------------
# Window icon
# ---------------------------------------------------------------------------------------

ICON_SIZE = 32
ICON_SCALE = 8                      # drawn at 256 x 256, then reduced
ICON_GROUND = (245, 245, 245)
FIGURE = (38, 42, 54)
SCARF = (214, 28, 32)
SCARF_SHADE = (150, 16, 22)


def wave_band(start, end, amplitude, waves, width0, width1, steps=48):
    """A polygon for a band along a wavy line from start to end, narrowing from width0
    to width1: the flying part of the scarf."""
    (x0, y0), (x1, y1) = start, end
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    nx, ny = -dy / length, dx / length
    upper, lower = [], []
    for i in range(steps + 1):
        t = i / steps
        off = amplitude * math.sin(t * waves * 2 * math.pi) * t
        cx, cy = x0 + dx * t + nx * off, y0 + dy * t + ny * off
        half = (width0 + (width1 - width0) * t) / 2
        upper.append((cx + nx * half, cy + ny * half))
        lower.append((cx - nx * half, cy - ny * half))
    return upper + lower[::-1]


def limb(draw, points, width, colour):
    """A limb as a jointed thick line with round joints and ends."""
    draw.line(points, fill=colour, width=width, joint="curve")
    r = width / 2
    for x, y in points:
        draw.ellipse((x - r, y - r, x + r, y + r), fill=colour)


def draw_icon():
    s = ICON_SCALE
    big = Image.new("RGB", (ICON_SIZE * s, ICON_SIZE * s), ICON_GROUND)
    d = ImageDraw.Draw(big)

    # The figure runs to the right, leaning forward; the scarf flies back to the left.
    neck = (150, 86)
    hip = (118, 150)

    # Scarf tails first, so that the body covers their roots.
    d.polygon(wave_band((146, 84), (20, 70), 14, 1.0, 30, 18), fill=SCARF)
    d.polygon(wave_band((140, 92), (34, 112), 10, 1.25, 22, 12), fill=SCARF_SHADE)

    # Back arm and back leg, behind the body.
    limb(d, [(142, 100), (112, 128), (88, 112)], 20, FIGURE)
    limb(d, [hip, (94, 190), (52, 206)], 24, FIGURE)
    limb(d, [(52, 206), (36, 196)], 18, FIGURE)          # back foot, toes down

    # Body.
    limb(d, [neck, hip], 34, FIGURE)

    # Front leg: thigh forward and up, shin down, foot forward.
    limb(d, [hip, (170, 172), (150, 226)], 24, FIGURE)
    limb(d, [(150, 226), (178, 230)], 18, FIGURE)

    # Front arm: bent, swinging forward.
    limb(d, [(156, 100), (188, 126), (210, 100)], 20, FIGURE)

    # Scarf round the neck, over the body.
    d.polygon([(128, 80), (166, 78), (170, 96), (126, 100)], fill=SCARF)

    # Round head.
    hx, hy, hr = 176, 48, 28
    d.ellipse((hx - hr, hy - hr, hx + hr, hy + hr), fill=FIGURE)

    # A few speed lines behind the runner.
    for y, x0, x1 in ((150, 22, 66), (166, 10, 50), (134, 30, 70)):
        d.line([(x0, y), (x1, y)], fill=(188, 190, 196), width=6)

    return big.resize((ICON_SIZE, ICON_SIZE), Image.BOX)


def write_icon(img, path):
    """An .ico file of one uncompressed 32-bpp image with an all-zero AND mask."""
    w, h = img.size
    px = img.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):                  # rows bottom-up
        for x in range(w):
            r, g, b = px[x, y][:3]
            xor += bytes((b, g, r, 255))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytes(mask_stride * h)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    payload = info + bytes(xor) + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w & 255, h & 255, 0, 0, 1, 32, len(payload), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + payload)


def check_icon(path):
    data = open(path, "rb").read()
    ok = True

    def fail(msg):
        nonlocal ok
        ok = False
        print("  FAIL:", msg)

    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    print(f"icon: {path}: {len(data)} bytes, reserved {reserved}, type {kind}, images {count}")
    if (reserved, kind, count) != (0, 1, 1):
        fail("expected one image of type 1")
    w, h, colours, res, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    print(f"  entry: {w or 256} x {h or 256}, colours {colours}, planes {planes}, "
          f"bpp {bpp}, bytes {size}, offset {offset}")
    payload = data[offset:offset + size]
    if offset + size != len(data):
        fail("payload does not end the file")
    if payload[:8] == b"\x89PNG\r\n\x1a\n":
        fail("payload is PNG")
    (hsize, bw, bh, bplanes, bbpp, comp, isize, _, _, used, _) = struct.unpack_from(
        "<IiiHHIIiiII", payload, 0)
    print(f"  BITMAPINFOHEADER: size {hsize}, {bw} x {bh} (XOR + AND), planes {bplanes}, "
          f"bpp {bbpp}, compression {comp}, image bytes {isize}, colours used {used}")
    if (hsize, bw, bh, bplanes, bbpp, comp) != (40, 32, 64, 1, 32, 0):
        fail("header is not a 40-byte BI_RGB 32 x 32 x 32 bpp header")
    xor = payload[40:40 + 32 * 32 * 4]
    mask = payload[40 + 32 * 32 * 4:]
    alphas = {xor[i + 3] for i in range(0, len(xor), 4)}
    print(f"  pixels {len(xor) // 4}, alpha values {sorted(alphas)}, "
          f"mask bytes {len(mask)}, mask all zero {not any(mask)}")
    if alphas != {255} or len(mask) != 128 or any(mask):
        fail("pixels not all opaque or mask not 128 zero bytes")
    corner = xor[0:4]
    print(f"  corner pixel BGRA {tuple(corner)}")
    print("  icon:", "OK" if ok else "NOT OK")
    return ok


# ---------------------------------------------------------------------------------------
# Level chart
# ---------------------------------------------------------------------------------------

CHART_W, CHART_H = 267, 343
WHITE = (255, 255, 255)
RULE = (128, 128, 0)
TEXT = (0, 0, 0)
HEAD_TEXT = (0, 0, 0)
DOT = (226, 16, 16)

# Column rules at these x; the rows lie between the horizontal rules.
COLUMN_RULES = (0, 72, 170, 266)
HEADER_H = 21
ROW_H = 19

ROWS = [
    ("leaf", "1", "0"),
    ("leaf", "2", "1"),
    ("leaf", "3", "2"),
    ("diamond", "4-7", "3"),
    ("diamond", "8-11", "14"),
    ("diamond", "12-15", "33"),
    ("oval", "16-31", "60"),
    ("oval", "32-47", "248"),
    ("oval", "48-63", "564"),
    ("crown", "64-127", "1008"),
    ("crown", "128-191", "4064"),
    ("crown", "192-255", "9168"),
    ("lantern", "256-511", "16320"),
    ("lantern", "512-767", "65408"),
    ("lantern", "768-1023", "147264"),
    ("unknown", "1024-?", "261888"),
]

BADGE = 15                  # badge tile, pixels
BADGE_SCALE = 8             # badges are drawn at 8x and reduced


def lens(p0, p1, bulge, steps=40):
    """A leaf outline: the two arcs between p0 and p1, bulging by `bulge`."""
    (x0, y0), (x1, y1) = p0, p1
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    nx, ny = -dy / length, dx / length
    side_a, side_b = [], []
    for i in range(steps + 1):
        t = i / steps
        off = bulge * math.sin(math.pi * t) ** 0.8
        cx, cy = x0 + dx * t, y0 + dy * t
        side_a.append((cx + nx * off, cy + ny * off))
        side_b.append((cx - nx * off, cy - ny * off))
    return side_a + side_b[::-1]


def draw_badge(kind):
    s = BADGE_SCALE
    n = BADGE * s
    img = Image.new("RGB", (n, n), WHITE)
    d = ImageDraw.Draw(img)
    if kind == "leaf":
        dark, light = (24, 110, 28), (70, 180, 50)
        d.line([(14, 112), (34, 92)], fill=dark, width=9)                # stalk
        outline = lens((26, 100), (110, 12), 26)
        d.polygon(outline, fill=dark)
        d.polygon(lens((32, 94), (104, 18), 18), fill=light)
        d.line([(30, 96), (98, 24)], fill=dark, width=6)                 # midrib
        for t in (0.35, 0.6):
            x, y = 30 + 68 * t, 96 - 72 * t
            d.line([(x, y), (x + 20, y + 6)], fill=dark, width=4)
            d.line([(x, y), (x - 6, y - 20)], fill=dark, width=4)
    elif kind == "diamond":
        dark, body, light = (30, 120, 210), (120, 200, 250), (215, 242, 255)
        outer = [(30, 16), (90, 16), (116, 46), (60, 114), (4, 46)]
        d.polygon(outer, fill=dark)
        inner = [(34, 24), (86, 24), (105, 46), (60, 100), (15, 46)]
        d.polygon(inner, fill=body)
        d.polygon([(34, 24), (60, 24), (46, 46), (15, 46)], fill=light)  # lit facet
        d.line([(12, 46), (108, 46)], fill=dark, width=5)                # girdle
        d.line([(46, 46), (60, 100), (74, 46)], fill=dark, width=4)      # pavilion facets
        d.line([(60, 24), (46, 46)], fill=dark, width=4)
        d.line([(60, 24), (74, 46)], fill=dark, width=4)
    elif kind == "oval":
        dark, body, light = (92, 30, 150), (160, 80, 215), (222, 190, 248)
        d.ellipse((2, 22, 118, 100), fill=dark)
        d.ellipse((11, 30, 109, 92), fill=body)
        d.ellipse((26, 41, 94, 81), fill=dark)
        d.ellipse((32, 46, 88, 76), fill=light)
        # a small star in the middle
        cx, cy = 60, 61
        pts = []
        for i in range(10):
            r = 15 if i % 2 == 0 else 6
            a = -math.pi / 2 + i * math.pi / 5
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        d.polygon(pts, fill=(120, 50, 180))
    elif kind == "crown":
        dark, gold, light, gem = (160, 100, 0), (250, 196, 24), (255, 236, 130), (220, 20, 30)
        outline = [(8, 100), (4, 34), (36, 62), (60, 20), (84, 62), (116, 34), (112, 100)]
        d.polygon(outline, fill=dark)
        d.polygon([(16, 92), (14, 50), (38, 72), (60, 36), (82, 72), (106, 50), (104, 92)],
                  fill=gold)
        d.rectangle((10, 92, 110, 110), fill=dark)                       # band
        d.rectangle((16, 96, 104, 104), fill=light)
        for x, y in ((4, 34), (60, 18), (116, 34)):                      # balls on the tips
            d.ellipse((x - 10, y - 10, x + 10, y + 10), fill=dark)
            d.ellipse((x - 6, y - 6, x + 6, y + 6), fill=light)
        d.ellipse((50, 62, 70, 82), fill=gem)
    elif kind == "lantern":
        dark, red, light, gold = (140, 10, 14), (230, 30, 30), (255, 120, 100), (240, 180, 20)
        d.line([(60, 0), (60, 18)], fill=dark, width=6)                  # cord
        d.rectangle((40, 14, 80, 26), fill=gold)                         # top cap
        d.ellipse((8, 20, 112, 98), fill=dark)
        d.ellipse((14, 26, 106, 92), fill=red)
        d.ellipse((22, 34, 56, 62), fill=light)                          # glow
        d.ellipse((40, 22, 80, 96), outline=dark, width=4)               # ribs
        d.line([(60, 22), (60, 96)], fill=dark, width=4)
        d.rectangle((40, 92, 80, 104), fill=gold)                        # bottom cap
        for x in (48, 60, 72):                                           # tassel
            d.line([(x, 104), (x, 120)], fill=gold, width=6)
    elif kind == "unknown":
        dark, body = (80, 24, 130), (140, 64, 200)
        d.rounded_rectangle((4, 4, 116, 116), radius=18, fill=dark)
        d.rounded_rectangle((12, 12, 108, 108), radius=12, fill=body)
        font = ImageFont.truetype(FONT_PATH, 100, index=0)
        d.text((60, 62), "?", font=font, fill=WHITE, anchor="mm",
               stroke_width=5, stroke_fill=WHITE)
    return img.resize((BADGE, BADGE), Image.LANCZOS)


def draw_dot(img, cx, cy):
    """A small red dot, 4 px across, drawn at 8x and reduced."""
    s = 8
    tile = Image.new("RGB", (6 * s, 6 * s), WHITE)
    ImageDraw.Draw(tile).ellipse((s, s, 5 * s - 1, 5 * s - 1), fill=DOT)
    tile = tile.resize((6, 6), Image.LANCZOS)
    img.paste(tile, (cx - 3, cy - 3))


def row_top(i):
    """Top pixel row of data row i (0-based); the rule above it is at row_top(i) - 1."""
    return 1 + HEADER_H + 1 + i * (ROW_H + 1)


def draw_chart():
    img = Image.new("RGB", (CHART_W, CHART_H), WHITE)
    d = ImageDraw.Draw(img)
    head_font = ImageFont.truetype(FONT_PATH, 14, index=0)
    body_font = ImageFont.truetype(FONT_PATH, 13, index=0)

    # Header.
    heads = ("图标", "对应等级", "所需积分")
    for c, text in enumerate(heads):
        x0, x1 = COLUMN_RULES[c] + 1, COLUMN_RULES[c + 1] - 1
        cx = (x0 + x1 + 1) / 2
        cy = 1 + HEADER_H / 2
        # drawn twice a pixel apart for a bolder header
        d.text((cx, cy), text, font=head_font, fill=HEAD_TEXT, anchor="mm")
        d.text((cx + 1, cy), text, font=head_font, fill=HEAD_TEXT, anchor="mm")

    # Rows.
    for i, (kind, level, points) in enumerate(ROWS):
        top = row_top(i)
        mid = top + ROW_H / 2
        badge = draw_badge(kind)
        bx = COLUMN_RULES[0] + 6
        by = top + (ROW_H - BADGE) // 2
        img.paste(badge, (bx, by))
        dots = (0, 2, 3)[i % 3] if kind != "unknown" else 0
        for k in range(dots):
            draw_dot(img, bx + BADGE + 6 + 7 * k, top + ROW_H // 2)
        for c, text in ((1, level), (2, points)):
            x0, x1 = COLUMN_RULES[c] + 1, COLUMN_RULES[c + 1] - 1
            d.text(((x0 + x1 + 1) / 2, mid), text, font=body_font, fill=TEXT, anchor="mm")

    # Rules last, so nothing covers them.
    for x in COLUMN_RULES:
        d.line([(x, 0), (x, CHART_H - 1)], fill=RULE)
    d.line([(0, 0), (CHART_W - 1, 0)], fill=RULE)
    d.line([(0, HEADER_H + 1), (CHART_W - 1, HEADER_H + 1)], fill=RULE)
    for i in range(len(ROWS)):
        y = row_top(i) + ROW_H
        d.line([(0, y), (CHART_W - 1, y)], fill=RULE)
    assert row_top(len(ROWS) - 1) + ROW_H == CHART_H - 1
    return img


PALETTE_SIZE = 64


def build_palette(img):
    """64 colours for the chart: white first (the background index), the rule, text and
    dot colours exactly, then the colour of the picture farthest from every colour
    chosen so far, again and again. Mapping each pixel to its nearest entry then keeps
    text edges and badges clean without dithering. Unused entries stay black."""
    counts = {}
    for c in img.getdata():
        counts[c] = counts.get(c, 0) + 1
    palette = [WHITE, RULE, TEXT, DOT]
    palette = list(dict.fromkeys(palette))
    colours = sorted(counts)

    def dist2(a, b):
        return (a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2

    nearest = {c: min(dist2(c, p) for p in palette) for c in colours}
    while len(palette) < PALETTE_SIZE:
        best = max(colours, key=lambda c: (nearest[c] * min(counts[c], 8), c))
        if nearest[best] == 0:
            break
        palette.append(best)
        for c in colours:
            e = dist2(c, best)
            if e < nearest[c]:
                nearest[c] = e
    used = len(palette)
    palette += [(0, 0, 0)] * (PALETTE_SIZE - used)
    return palette, used


def map_to_palette(img, palette, used):
    lookup = {}
    indices = bytearray()
    for c in img.getdata():
        i = lookup.get(c)
        if i is None:
            i = min(range(used), key=lambda k: ((c[0] - palette[k][0]) ** 2 +
                                                (c[1] - palette[k][1]) ** 2 +
                                                (c[2] - palette[k][2]) ** 2, k))
            lookup[c] = i
        indices.append(i)
    return bytes(indices)


def lzw_encode(indices, min_code_size):
    """GIF's variable-width LZW: codes packed least significant bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 255)
            acc >>= 8
            nbits -= 8

    def reset():
        return {}, end + 1, min_code_size + 1

    table, next_code, size = reset()
    emit(clear, size)
    prefix = indices[0]
    for byte in indices[1:]:
        key = (prefix, byte)
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, size)
        if next_code < 4096:
            table[key] = next_code
            if next_code == (1 << size) and size < 12:
                size += 1
            next_code += 1
        else:
            emit(clear, size)
            table, next_code, size = reset()
        prefix = byte
    emit(prefix, size)
    emit(end, size)
    if nbits:
        out.append(acc & 255)
    return bytes(out)


def write_gif(path, width, height, palette, indices):
    colour_bits = 6                                   # 2^6 = 64 table entries
    assert len(palette) == 1 << colour_bits
    packed = 0x80 | ((colour_bits - 1) << 4) | (colour_bits - 1)   # table, 6-bit, no sort
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, packed, 0, 0)
    for r, g, b in palette:
        out += bytes((r, g, b))
    out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)  # no local table, not interlaced
    min_code_size = colour_bits
    out.append(min_code_size)
    data = lzw_encode(indices, min_code_size)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    out += b"\x3b"
    with open(path, "wb") as f:
        f.write(out)


def check_gif(path, want_indices=None):
    """Walks the GIF block by block and prints what a reader will see."""
    data = open(path, "rb").read()
    ok = True

    def fail(msg):
        nonlocal ok
        ok = False
        print("  FAIL:", msg)

    version = data[:6].decode("ascii", "replace")
    w, h, packed, bg, aspect = struct.unpack_from("<HHBBB", data, 6)
    has_gct = packed >> 7
    res_bits = ((packed >> 4) & 7) + 1
    sort = (packed >> 3) & 1
    gct_entries = 1 << ((packed & 7) + 1)
    print(f"gif: {path}: {len(data)} bytes, version {version}, {w} x {h}")
    print(f"  screen packed 0x{packed:02X}: global table {has_gct}, colour resolution "
          f"{res_bits} bits, sorted {sort}, table entries {gct_entries}; "
          f"background index {bg}, aspect {aspect}")
    if version != "GIF89a" or (w, h) != (CHART_W, CHART_H):
        fail("version or size")
    if packed != 0xD5 or bg != 0 or aspect != 0:
        fail("screen descriptor fields")
    pos = 13 + (3 * gct_entries if has_gct else 0)
    frames, extensions = 0, []
    while pos < len(data):
        block = data[pos]
        if block == 0x3B:
            pos += 1
            break
        if block == 0x21:
            label = data[pos + 1]
            pos += 2
            body = bytearray()
            while data[pos]:
                body += data[pos + 1:pos + 1 + data[pos]]
                pos += 1 + data[pos]
            pos += 1
            name = {0xF9: "graphic control", 0xFF: "application", 0xFE: "comment",
                    0x01: "plain text"}.get(label, hex(label))
            extensions.append(name)
            if label == 0xF9:
                flags, delay, tindex = body[0], body[1] | body[2] << 8, body[3]
                print(f"  graphic control: delay {delay}, transparency {flags & 1}")
            elif label == 0xFF:
                print(f"  application: {bytes(body[:11])!r}")
        elif block == 0x2C:
            left, top, fw, fh, fpacked = struct.unpack_from("<HHHHB", data, pos + 1)
            frames += 1
            pos += 10
            if fpacked & 0x80:
                pos += 3 * (1 << ((fpacked & 7) + 1))
            lzw_min = data[pos]
            pos += 1
            nbytes = 0
            while data[pos]:
                nbytes += data[pos]
                pos += 1 + data[pos]
            pos += 1
            print(f"  frame {frames}: at {left},{top} size {fw} x {fh}, local table "
                  f"{fpacked >> 7}, interlaced {(fpacked >> 6) & 1}, LZW minimum code size "
                  f"{lzw_min}, {nbytes} data bytes")
            if (left, top, fw, fh) != (0, 0, w, h) or fpacked & 0xC0:
                fail("frame placement, local table or interlace")
        else:
            fail(f"unknown block 0x{block:02X} at {pos}")
            break
    print(f"  frames {frames}; extensions {extensions or 'none'}; "
          f"trailer at end {pos == len(data)}")
    if frames != 1 or extensions or pos != len(data):
        fail("expected exactly one frame, no extensions, trailer last")

    # Decode again with PIL and compare with what was meant to be written.
    with Image.open(path) as im:
        im.load()
        got = im.tobytes()
        pal = im.getpalette()
        print(f"  PIL reads: mode {im.mode}, size {im.size}, frames {getattr(im, 'n_frames', 1)}, "
              f"palette entries {len(pal) // 3 if pal else 0}, colours used "
              f"{len(set(got))}")
        if want_indices is not None:
            same = got == want_indices
            print(f"  PIL decode matches the written indices: {same}")
            if not same:
                fail("LZW round trip")
    print("  chart:", "OK" if ok else "NOT OK")
    return ok


def main():
    only_check = "--check" in sys.argv[1:]
    indices = None
    if not only_check:
        write_icon(draw_icon(), ICON_PATH)
        chart = draw_chart()
        palette, used = build_palette(chart)
        indices = map_to_palette(chart, palette, used)
        write_gif(CHART_PATH, CHART_W, CHART_H, palette, indices)
        print(f"chart palette: {used} colours chosen, {PALETTE_SIZE - used} padding entries")
    ok = check_icon(ICON_PATH)
    ok = check_gif(CHART_PATH, indices) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
