#!/usr/bin/env python3
"""Writes the program's bitmaps and icon as plain BMP/ICO files (run once; outputs are committed)."""
import struct, os

HERE = os.path.dirname(os.path.abspath(__file__))
G, W, K, R = (192, 192, 192), (255, 255, 255), (0, 0, 0), (255, 0, 0)


def bmp_bytes(pixels):
    """24-bit bottom-up BMP from rows of (r, g, b), top row first."""
    h, w = len(pixels), len(pixels[0])
    stride = (w * 3 + 3) & ~3
    body = b""
    for row in reversed(pixels):
        line = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in row)
        body += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + body


SCALES = {"": 1.0, "150": 1.5, "200": 2.0}


class Pic:
    """A picture laid out on a grid of 96-DPI pixels and drawn at scale s: grid cell v starts at pixel
    round(v * s), so edges stay sharp at any scale and s = 1 gives the grid itself."""

    def __init__(self, w, h, s, colour):
        self.s = s
        self.px = [[colour] * self.at(w) for _ in range(self.at(h))]

    def at(self, v):
        return int(v * self.s + 0.5)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(self.at(y0), self.at(y1 + 1)):
            for x in range(self.at(x0), self.at(x1 + 1)):
                self.px[y][x] = colour

    def dot(self, x, y, colour):
        self.rect(x, y, x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for (a, b, c, d) in ((x0, y0, x1, y0), (x0, y1, x1, y1), (x0, y0, x0, y1), (x1, y0, x1, y1)):
            self.rect(a, b, c, d, colour)


def check_box(ticked, s=1.0):
    ticks = {3: [8], 4: [7, 8], 5: [6, 7], 6: [1, 2, 5, 6], 7: [2, 3, 4, 5], 8: [3, 4]}
    img = Pic(12, 12, s, W)
    img.frame(0, 0, 11, 11, G)
    if ticked:
        for r, cols in ticks.items():
            for c in cols:
                img.dot(c + 1, r, K)
    return img.px


def due_bar(s=1.0):
    img = Pic(2, 12, s, R)
    img.rect(0, 9, 1, 9, W)
    return img.px


def tool_images(s=1.0):
    bg = (192, 192, 192)
    imgs = []
    # 502 New Date: a small sheet with a plus
    a = Pic(16, 16, s, bg); a.rect(2, 1, 11, 14, W); a.frame(2, 1, 11, 14, K)
    a.rect(11, 8, 15, 8, (0, 128, 0)); a.rect(13, 6, 13, 10, (0, 128, 0)); a.rect(12, 7, 14, 9, (0, 128, 0))
    imgs.append(a)
    # 500 Show all: ticked box and list lines
    b = Pic(16, 16, s, bg); b.frame(1, 2, 6, 7, K); b.rect(2, 3, 5, 6, W)
    for (x, y) in [(2, 5), (3, 6), (4, 5), (5, 4)]:
        b.dot(x, y, K)
    for y in (4, 9, 13): b.rect(8, y, 14, y, K)
    b.frame(1, 10, 6, 14, K); b.rect(2, 11, 5, 13, W)
    imgs.append(b)
    # 57603 Save: a floppy disk
    c = Pic(16, 16, s, bg); c.rect(1, 1, 14, 14, (0, 0, 128)); c.rect(4, 2, 11, 6, W); c.rect(4, 10, 11, 14, (160, 160, 160)); c.rect(9, 3, 10, 5, K)
    imgs.append(c)
    # 508 previous / 509 next: arrows
    for left in (True, False):
        d = Pic(16, 16, s, bg)
        for i in range(6):
            x = 4 + i if left else 11 - i
            d.rect(x, 7 - i, x, 8 + i, (0, 0, 128))
        d.rect(9 if left else 3, 6, 12 if left else 6, 9, (0, 0, 128))
        imgs.append(d)
    # 57670 Help: a question mark
    e = Pic(16, 16, s, bg)
    for (x, y) in [(6, 2), (7, 2), (8, 2), (9, 2), (5, 3), (10, 3), (10, 4), (10, 5), (9, 6), (8, 7), (7, 8), (7, 9), (7, 10), (7, 13), (8, 13), (7, 12), (8, 12)]:
        e.dot(x, y, (0, 0, 128))
    imgs.append(e)
    # 511 Exit: a door with an arrow
    f = Pic(16, 16, s, bg); f.frame(2, 1, 9, 14, K); f.rect(3, 2, 8, 13, (150, 90, 40)); f.rect(10, 7, 14, 8, (200, 0, 0)); f.dot(13, 6, (200, 0, 0)); f.dot(13, 9, (200, 0, 0))
    imgs.append(f)
    return [sum((img.px[y] for img in imgs), []) for y in range(len(imgs[0].px))]


def canvas(w, h, colour):
    return [[colour] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


def icon_calendar(size):
    img = canvas(size, size, (255, 255, 255))
    s = size / 16.0
    p = lambda v: int(round(v * s))
    rect(img, 0, 0, size - 1, size - 1, (255, 255, 255))
    frame(img, p(1), p(2), size - 1 - p(1), size - 1 - p(1), (40, 40, 40))
    rect(img, p(1), p(2), size - 1 - p(1), p(5), (200, 40, 40))
    for cx in (p(4), size - 1 - p(4)):
        rect(img, cx, p(0.5), cx + max(0, p(1) - 1), p(3), (40, 40, 40))
    for gy in range(3):
        for gx in range(4):
            x, y = p(3 + gx * 2.6), p(7 + gy * 2.4)
            rect(img, x, y, x + max(0, p(1.2) - 1), y + max(0, p(1.2) - 1), (255, 188, 0) if (gx, gy) == (2, 1) else (90, 90, 90))
    return img


def ico_bytes(images):
    """ICO with 32-bit BMP entries (no PNG), sizes from the images."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        size = len(img)
        xor = b"".join(struct.pack("BBBB", b, g, r, 255) for row in reversed(img) for (r, g, b) in row)
        mask_stride = ((size + 31) // 32) * 4
        andmask = b"\0" * (mask_stride * size)
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
        blob = info + xor + andmask
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    # One set for each scale the pictures are drawn for; the 100 % set has no suffix.
    for suffix, s in SCALES.items():
        write("done%s.bmp" % suffix, bmp_bytes(check_box(True, s)))
        write("open%s.bmp" % suffix, bmp_bytes(check_box(False, s)))
        write("due%s.bmp" % suffix, bmp_bytes(due_bar(s)))
        write("toolbar%s.bmp" % suffix, bmp_bytes(tool_images(s)))
    write("trm.ico", ico_bytes([icon_calendar(32), icon_calendar(16)]))
