#!/usr/bin/env python3
"""Draws the program icon from its shape description and writes the .ico file.

usage: make_icon.py [ARTWORK [OUTPUT]]
       (defaults: resources/icon/netset-icon.txt and resources/netset.ico)

The file holds 16, 32 and 48 pixel images at 4, 8 and 32 bits per pixel, and a 256 pixel PNG.
Windows picks the image that best fits the screen's colour depth and the size it draws, so the
palettized ones matter for remote sessions and classic themes that still run at 16 or 256 colours.

Artwork format (one shape per line, drawn in order, later shapes on top):
    design N                    following shapes use an N x N grid; an image uses the smallest
                                design at least its size, else the largest one
    rect X0 Y0 X1 Y1 [r=R]      rectangle, rounded with corner radius R
    circle CX CY R
    line X0 Y0 X1 Y1 w=W        stroke with round caps
Every shape takes fill=#rrggbb or fill=#rrggbb..#rrggbb (top to bottom gradient), optional
opacity=A, and vga=NAME, its colour in the 16-colour image (else the nearest VGA colour).
"""
import math
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BMP_SIZES = (16, 32, 48)
BMP_DEPTHS = (4, 8, 32)
PNG_SIZE = 256
SUPERSAMPLE = 8  # samples per pixel side where a shape's edge crosses the pixel

# The standard 16-colour VGA palette in its Windows order.
VGA = {
    "black": (0x00, 0x00, 0x00), "maroon": (0x80, 0x00, 0x00), "green": (0x00, 0x80, 0x00),
    "olive": (0x80, 0x80, 0x00), "navy": (0x00, 0x00, 0x80), "purple": (0x80, 0x00, 0x80),
    "teal": (0x00, 0x80, 0x80), "silver": (0xC0, 0xC0, 0xC0), "gray": (0x80, 0x80, 0x80),
    "red": (0xFF, 0x00, 0x00), "lime": (0x00, 0xFF, 0x00), "yellow": (0xFF, 0xFF, 0x00),
    "blue": (0x00, 0x00, 0xFF), "fuchsia": (0xFF, 0x00, 0xFF), "aqua": (0x00, 0xFF, 0xFF),
    "white": (0xFF, 0xFF, 0xFF),
}
VGA_PALETTE = list(VGA.values())


def fixed_palette_256():
    """The 16 VGA colours, a 6x6x6 colour cube and a 24-step grey ramp: a fixed 256-colour set."""
    levels = (0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF)
    cube = [(r, g, b) for r in levels for g in levels for b in levels]
    greys = [(v, v, v) for v in (8 + 10 * i for i in range(24))]
    return VGA_PALETTE + cube + greys


PALETTE_256 = fixed_palette_256()


# --- artwork ---------------------------------------------------------------------------------

class Shape:
    def __init__(self, kind, numbers, options, line_no):
        counts = {"rect": 4, "circle": 3, "line": 4}
        if kind not in counts or len(numbers) != counts[kind]:
            raise ValueError(f"line {line_no}: expected {kind} with {counts.get(kind, '?')} numbers")
        self.kind = kind
        self.numbers = numbers
        self.radius = float(options.pop("r", 0))
        self.width = float(options.pop("w", 1))
        self.opacity = float(options.pop("opacity", 1))
        fill = options.pop("fill", None)
        if fill is None:
            raise ValueError(f"line {line_no}: shape without fill")
        stops = [parse_colour(part, line_no) for part in fill.split("..")]
        if len(stops) > 2:
            raise ValueError(f"line {line_no}: a gradient runs between two colours")
        self.top, self.bottom = stops[0], stops[-1]
        vga = options.pop("vga", None)
        if vga is not None and vga not in VGA:
            raise ValueError(f"line {line_no}: unknown VGA colour {vga}")
        self.vga = VGA[vga] if vga else None
        if options:
            raise ValueError(f"line {line_no}: unknown options {sorted(options)}")

    def bounds(self):
        """Bounding box in design units, (x0, y0, x1, y1)."""
        n = self.numbers
        if self.kind == "rect":
            return min(n[0], n[2]), min(n[1], n[3]), max(n[0], n[2]), max(n[1], n[3])
        if self.kind == "circle":
            return n[0] - n[2], n[1] - n[2], n[0] + n[2], n[1] + n[2]
        h = self.width / 2
        return min(n[0], n[2]) - h, min(n[1], n[3]) - h, max(n[0], n[2]) + h, max(n[1], n[3]) + h

    def distance(self, x, y):
        """Signed distance from (x, y) to the shape's outline in design units, negative inside."""
        n = self.numbers
        if self.kind == "rect":
            x0, y0, x1, y1 = self.bounds()
            r = min(self.radius, (x1 - x0) / 2, (y1 - y0) / 2)
            qx = abs(x - (x0 + x1) / 2) - ((x1 - x0) / 2 - r)
            qy = abs(y - (y0 + y1) / 2) - ((y1 - y0) / 2 - r)
            return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
        if self.kind == "circle":
            return math.hypot(x - n[0], y - n[1]) - n[2]
        ax, ay, bx, by = n
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - self.width / 2

    def colour_at(self, y, low_colour):
        if low_colour:
            return self.vga or nearest(VGA_PALETTE, self.top)[1]
        _, y0, _, y1 = self.bounds()
        t = 0.0 if y1 <= y0 else max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(self.top, self.bottom))


def parse_colour(text, line_no):
    if len(text) != 7 or text[0] != "#":
        raise ValueError(f"line {line_no}: colour {text!r} is not #rrggbb")
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def parse_artwork(text):
    """Returns {design size: [shapes]}."""
    designs, current = {}, None
    for line_no, raw in enumerate(text.splitlines(), 1):
        # A comment starts with a word beginning '#'; a colour's '#' follows "fill=" inside a word.
        words = []
        for word in raw.split():
            if word.startswith("#"):
                break
            words.append(word)
        if not words:
            continue
        if words[0] == "design":
            current = designs.setdefault(int(words[1]), [])
            continue
        if current is None:
            raise ValueError(f"line {line_no}: shape before any design line")
        numbers = [float(w) for w in words[1:] if "=" not in w]
        options = dict(w.split("=", 1) for w in words[1:] if "=" in w)
        current.append(Shape(words[0], numbers, options, line_no))
    if not designs:
        raise ValueError("artwork has no design")
    return designs


def pick_design(designs, size):
    fitting = [n for n in designs if n >= size]
    grid = min(fitting) if fitting else max(designs)
    return grid, designs[grid]


# --- rendering -------------------------------------------------------------------------------

def render(designs, size, low_colour=False):
    """RGBA rows (floats: colour 0..255, alpha 0..1, not premultiplied) of one image.

    Edges are anti-aliased by supersampling; low_colour instead draws each shape in its VGA
    colour with hard edges, as 16 colours have no in-between shades for soft ones.
    """
    grid, shapes = pick_design(designs, size)
    scale = size / grid
    # Premultiplied accumulation: colour * alpha per channel, then alpha.
    acc = [[[0.0, 0.0, 0.0, 0.0] for _ in range(size)] for _ in range(size)]
    edge = 0.75 / scale  # beyond this distance from the outline a pixel is wholly in or out
    offsets = [(i + 0.5) / SUPERSAMPLE for i in range(SUPERSAMPLE)]
    for shape in shapes:
        bx0, by0, bx1, by1 = shape.bounds()
        px0, py0 = max(0, int(bx0 * scale) - 1), max(0, int(by0 * scale) - 1)
        px1, py1 = min(size, int(math.ceil(bx1 * scale)) + 1), min(size, int(math.ceil(by1 * scale)) + 1)
        for py in range(py0, py1):
            cy = (py + 0.5) / scale
            colour = shape.colour_at(cy, low_colour)
            for px in range(px0, px1):
                cx = (px + 0.5) / scale
                d = shape.distance(cx, cy)
                if low_colour:
                    coverage = 1.0 if d < 0 else 0.0
                elif d >= edge:
                    continue
                elif d <= -edge:
                    coverage = 1.0
                else:
                    inside = sum(1 for oy in offsets for ox in offsets
                                 if shape.distance((px + ox) / scale, (py + oy) / scale) < 0)
                    coverage = inside / (SUPERSAMPLE * SUPERSAMPLE)
                a = coverage * shape.opacity
                if a <= 0:
                    continue
                cell = acc[py][px]
                for c in range(3):
                    cell[c] = colour[c] * a + cell[c] * (1 - a)
                cell[3] = a + cell[3] * (1 - a)
    rows = []
    for row in acc:
        out = []
        for r, g, b, a in row:
            out.append((r / a, g / a, b / a, a) if a > 0 else (0.0, 0.0, 0.0, 0.0))
        rows.append(out)
    return rows


def lab(colour):
    """CIE L*a*b* of an sRGB colour (D65): distances there follow what the eye sees as different."""
    def linear(v):
        v /= 255
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4

    def f(t):
        return t ** (1 / 3) if t > 216 / 24389 else (24389 / 27 * t + 16) / 116

    r, g, b = (linear(v) for v in colour)
    x = f((0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047)
    y = f(0.2126 * r + 0.7152 * g + 0.0722 * b)
    z = f((0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883)
    return 116 * y - 16, 500 * (x - y), 200 * (y - z)


_lab_cache = {}


def nearest(palette, colour):
    """(index, colour) of the palette entry that looks closest to colour."""
    key = id(palette)
    if key not in _lab_cache:
        _lab_cache[key] = [lab(c) for c in palette]
    target = lab(colour)
    distances = [sum((a - b) ** 2 for a, b in zip(entry, target)) for entry in _lab_cache[key]]
    best = distances.index(min(distances))
    return best, palette[best]


def to_bytes(v):
    return max(0, min(255, int(round(v))))


# --- encoders --------------------------------------------------------------------------------

def png_rgba(rows):
    """A PNG of 8-bit RGBA rows; each row gets whichever filter leaves the smallest residue."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    size_y, size_x = len(rows), len(rows[0])
    raw_rows = [bytes(to_bytes(v * 255 if i == 3 else v) for px in row for i, v in enumerate(px))
                for row in rows]
    stride, bpp = size_x * 4, 4
    out, previous = bytearray(), bytes(stride)
    for line in raw_rows:
        candidates = []
        for kind in range(5):
            filtered = bytearray(stride)
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                up = previous[i]
                up_left = previous[i - bpp] if i >= bpp else 0
                if kind == 0:
                    predictor = 0
                elif kind == 1:
                    predictor = left
                elif kind == 2:
                    predictor = up
                elif kind == 3:
                    predictor = (left + up) // 2
                else:
                    p = left + up - up_left
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                    predictor = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                filtered[i] = (line[i] - predictor) & 0xFF
            cost = sum(v if v < 128 else 256 - v for v in filtered)
            candidates.append((cost, kind, filtered))
        _, kind, filtered = min(candidates, key=lambda c: (c[0], c[1]))
        out.append(kind)
        out += filtered
        previous = line
    header = struct.pack(">IIBBBBB", size_x, size_y, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(out), 9))
            + chunk(b"IEND", b""))


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4  # DIB rows are padded to 32 bits


def dib(rows, depth):
    """An icon DIB: header, palette, colour pixels and the AND mask, both bottom-up.

    Palettized images have no alpha, so the AND mask carries transparency: a set bit shows the
    background and the colour pixel there is black. In 32-bit images the alpha channel rules and
    the mask only marks the wholly transparent pixels for callers that ignore alpha.
    """
    size = len(rows)
    palette = {4: VGA_PALETTE, 8: PALETTE_256}.get(depth, [])
    pixels, mask = bytearray(), bytearray()
    for row in reversed(rows):
        bits, mask_bits = [], []
        for r, g, b, a in row:
            if depth == 32:
                bits.append(bytes((to_bytes(b), to_bytes(g), to_bytes(r), to_bytes(a * 255))))
                mask_bits.append(1 if to_bytes(a * 255) == 0 else 0)
            else:
                transparent = a < 0.5
                bits.append(0 if transparent else nearest(palette, (r, g, b))[0])
                mask_bits.append(1 if transparent else 0)
        if depth == 32:
            line = b"".join(bits)
        elif depth == 8:
            line = bytes(bits)
        else:
            line = bytes((bits[i] << 4) | bits[i + 1] for i in range(0, size, 2))
        pixels += line + bytes(row_bytes(size * depth) - len(line))
        packed = bytes(sum(bit << (7 - j) for j, bit in enumerate(mask_bits[i:i + 8]))
                       for i in range(0, size, 8))
        mask += packed + bytes(row_bytes(size) - len(packed))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, len(pixels) + len(mask),
                         0, 0, len(palette), 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colours + bytes(pixels) + bytes(mask)


def ico(images):
    """images: (size, depth, data) tuples; a 256 pixel size is written as 0 in the directory."""
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries, blobs = b"", b""
    for size, depth, data in images:
        colours = 16 if depth == 4 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, depth, len(data), offset)
        blobs += data
        offset += len(data)
    return head + entries + blobs


def build(designs):
    images = [(PNG_SIZE, 32, png_rgba(render(designs, PNG_SIZE)))]
    for depth in reversed(BMP_DEPTHS):
        for size in reversed(BMP_SIZES):
            images.append((size, depth, dib(render(designs, size, low_colour=depth == 4), depth)))
    return ico(images)


def main(argv):
    artwork = Path(argv[1]) if len(argv) > 1 else ROOT / "resources" / "icon" / "netset-icon.txt"
    output = Path(argv[2]) if len(argv) > 2 else ROOT / "resources" / "netset.ico"
    data = build(parse_artwork(artwork.read_text(encoding="utf-8")))
    output.write_bytes(data)
    print(f"wrote {output} ({len(data)} bytes)")


if __name__ == "__main__":
    main(sys.argv)
