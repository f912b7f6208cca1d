#!/usr/bin/env python3
"""Draws the default skin of the program into skin/default/Zentrik/ and writes its Settings.ini; also
draws the program's icon (app/program/Zentrik.ico) in the same look.

Pure Python (zlib only, and a small JPEG writer beside this script), so the images can be made again on
any machine.
The layout tables below are the one source of every rectangle the settings file names.
"""
import math
import os
import shutil
import struct
import wave
import zlib

from jpeg_writer import write_jpeg

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "default", "Zentrik")

# Palette: a dark slate body, darker wells for pictures, one teal accent and a red for recording.
PANEL = (37, 44, 58)
BODY_TOP = (44, 52, 68)
WELL = (14, 17, 23)
EDGE = (70, 82, 104)
ACCENT = (46, 196, 182)
RED = (229, 72, 77)
TEXT = (230, 234, 240)
DIM = (122, 132, 148)
GRAY = (96, 104, 118)
HOVER = (52, 62, 80)
PRESSED = (28, 34, 45)

# ---------------------------------------------------------------------------------------------
# A small RGBA canvas with anti-aliased shapes.


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = bytearray(bytes(fill) * (w * h))

    def blend(self, x, y, rgb, a):
        if a <= 0 or x < 0 or y < 0 or x >= self.w or y >= self.h:
            return
        i = (y * self.w + x) * 4
        p = self.px
        if a >= 1:
            p[i], p[i + 1], p[i + 2], p[i + 3] = rgb[0], rgb[1], rgb[2], 255
            return
        da = p[i + 3] / 255.0
        oa = a + da * (1 - a)
        for k in range(3):
            p[i + k] = int(round((rgb[k] * a + p[i + k] * da * (1 - a)) / oa))
        p[i + 3] = int(round(oa * 255))

    def get(self, x, y):
        i = (y * self.w + x) * 4
        return tuple(self.px[i:i + 4])

    def put(self, x, y, rgba):
        i = (y * self.w + x) * 4
        self.px[i:i + 4] = bytes(rgba)

    def shape(self, x0, y0, x1, y1, sdf, colour):
        """Fills where the signed distance sdf(x, y) < 0; colour is an RGB or a function of (x, y)."""
        for y in range(max(0, int(y0) - 1), min(self.h, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(x0) - 1), min(self.w, int(math.ceil(x1)) + 1)):
                cover = 0.5 - sdf(x + 0.5, y + 0.5)
                if cover > 0:
                    c = colour(x, y) if callable(colour) else colour
                    self.blend(x, y, c, min(1.0, cover))

    def round_rect(self, x0, y0, x1, y1, r, colour):
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

        def sdf(x, y):
            qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
            outside = math.hypot(max(qx, 0), max(qy, 0))
            return outside + min(max(qx, qy), 0) - r

        self.shape(x0, y0, x1, y1, sdf, colour)

    def frame(self, x0, y0, x1, y1, r, width, colour):
        """An anti-aliased ring along a rounded rectangle's edge."""
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

        def sdf(x, y):
            qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
            d = math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
            return abs(d + width / 2) - width / 2

        self.shape(x0, y0, x1, y1, sdf, colour)

    def circle(self, cx, cy, r, colour):
        self.shape(cx - r, cy - r, cx + r, cy + r, lambda x, y: math.hypot(x - cx, y - cy) - r, colour)

    def ring(self, cx, cy, r, width, colour):
        self.shape(cx - r - width, cy - r - width, cx + r + width, cy + r + width,
                   lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2, colour)

    def line(self, ax, ay, bx, by, width, colour):
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1

        def sdf(x, y):
            t = max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length2))
            return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2

        self.shape(min(ax, bx) - width, min(ay, by) - width, max(ax, bx) + width, max(ay, by) + width, sdf, colour)

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            c = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c

        for y in range(max(0, int(min(ys))), min(self.h, int(max(ys)) + 1)):
            for x in range(max(0, int(min(xs))), min(self.w, int(max(xs)) + 1)):
                # 4x4 supersampling gives the edge its coverage.
                hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
                if hits:
                    self.blend(x, y, colour, hits / 16)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.blend(x, y, colour(x, y) if callable(colour) else colour, 1)

    def paste(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                r, g, b, a = other.get(x, y)
                self.blend(ox + x, oy + y, (r, g, b), a / 255)

    def text(self, x, y, s, scale, colour, spacing=1):
        cx = x
        for ch in s.upper():
            glyph = FONT.get(ch, FONT["?"])
            for row, bits in enumerate(glyph):
                for col in range(5):
                    if bits & (0x10 >> col):
                        for dy in range(scale):
                            for dx in range(scale):
                                self.blend(cx + col * scale + dx, y + row * scale + dy, colour, 1)
            cx += (5 + spacing) * scale
        return cx

    def save(self, path, opaque=False):
        rows = []
        for y in range(self.h):
            row = self.px[y * self.w * 4:(y + 1) * self.w * 4]
            if opaque:
                row = bytes(b for i, b in enumerate(row) if i % 4 != 3)
            rows.append(b"\x00" + bytes(row))
        raw = zlib.compress(b"".join(rows), 9)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 2 if opaque else 6, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", raw) + chunk(b"IEND", b""))


def text_width(s, scale, spacing=1):
    return len(s) * (5 + spacing) * scale - spacing * scale


# 5 x 7 capitals, digits and the few signs the skin writes.
FONT = {
    "A": [14, 17, 17, 31, 17, 17, 17], "B": [30, 17, 17, 30, 17, 17, 30], "C": [14, 17, 16, 16, 16, 17, 14],
    "D": [30, 17, 17, 17, 17, 17, 30], "E": [31, 16, 16, 30, 16, 16, 31], "F": [31, 16, 16, 30, 16, 16, 16],
    "G": [14, 17, 16, 23, 17, 17, 15], "H": [17, 17, 17, 31, 17, 17, 17], "I": [14, 4, 4, 4, 4, 4, 14],
    "J": [7, 2, 2, 2, 2, 18, 12], "K": [17, 18, 20, 24, 20, 18, 17], "L": [16, 16, 16, 16, 16, 16, 31],
    "M": [17, 27, 21, 21, 17, 17, 17], "N": [17, 17, 25, 21, 19, 17, 17], "O": [14, 17, 17, 17, 17, 17, 14],
    "P": [30, 17, 17, 30, 16, 16, 16], "Q": [14, 17, 17, 17, 21, 18, 13], "R": [30, 17, 17, 30, 20, 18, 17],
    "S": [15, 16, 16, 14, 1, 1, 30], "T": [31, 4, 4, 4, 4, 4, 4], "U": [17, 17, 17, 17, 17, 17, 14],
    "V": [17, 17, 17, 17, 17, 10, 4], "W": [17, 17, 17, 21, 21, 21, 10], "X": [17, 17, 10, 4, 10, 17, 17],
    "Y": [17, 17, 10, 4, 4, 4, 4], "Z": [31, 1, 2, 4, 8, 16, 31],
    "0": [14, 17, 19, 21, 25, 17, 14], "1": [4, 12, 4, 4, 4, 4, 14], "2": [14, 17, 1, 2, 4, 8, 31],
    "3": [31, 2, 4, 2, 1, 17, 14], "4": [2, 6, 10, 18, 31, 2, 2], "5": [31, 16, 30, 1, 1, 17, 14],
    "6": [6, 8, 16, 30, 17, 17, 14], "7": [31, 1, 2, 4, 8, 8, 8], "8": [14, 17, 17, 14, 17, 17, 14],
    "9": [14, 17, 17, 15, 1, 2, 12], " ": [0] * 7, "/": [1, 1, 2, 4, 8, 16, 16], ":": [0, 12, 12, 0, 12, 12, 0],
    "&": [12, 18, 20, 8, 21, 18, 13], "-": [0, 0, 0, 31, 0, 0, 0], ".": [0, 0, 0, 0, 0, 12, 12],
    "?": [14, 17, 1, 2, 4, 0, 4], "!": [4, 4, 4, 4, 4, 0, 4],
}


def mix(a, b, t):
    return tuple(int(round(a[k] + (b[k] - a[k]) * t)) for k in range(3))


# ---------------------------------------------------------------------------------------------
# Layout: (x, y, w, h) of every control in the large (0) and small (1) size modes.

SIZE = {0: (850, 616), 1: (576, 460)}
PREVIEW = {0: (30, 56, 480, 360), 1: (22, 48, 320, 240)}
ALBUM_WELL = {0: (528, 52, 296, 372), 1: (356, 44, 204, 252)}
DISPLAY = {0: (534, 58, 250, 360), 1: (362, 50, 160, 240)}
DISP_SLIDER = {0: (792, 58, 24, 360), 1: (530, 50, 24, 240)}
BOTTOM_PANEL = {0: (20, 478, 810, 124), 1: (14, 326, 548, 120)}
TITLE_BUTTONS = {0: (700, 10, 34), 1: (436, 8, 34)}  # x of the first, y, step

TEXT_BUTTON = (92, 30)
ICON_BUTTON = (40, 32)
TITLE_BUTTON = (28, 24)
MODE_BUTTON = (48, 40)
RECORD_BUTTON = (56, 56)
STEP_BUTTON = (24, 20)


def title_rect(mode, slot):
    x, y, step = TITLE_BUTTONS[mode]
    return (x + slot * step, y) + TITLE_BUTTON


LAYOUT = {
    "Setup": {0: (30, 488) + TEXT_BUTTON, 1: (22, 334) + TEXT_BUTTON},
    "Enhance": {0: (30, 524) + TEXT_BUTTON, 1: (22, 368) + TEXT_BUTTON},
    "Effect": {0: (30, 560) + TEXT_BUTTON, 1: (22, 402) + TEXT_BUTTON},
    "DREMVoice": {0: (140, 496) + MODE_BUTTON, 1: (124, 340) + MODE_BUTTON},
    "DREMMute": {0: (140, 496) + MODE_BUTTON, 1: (124, 340) + MODE_BUTTON},
    "DREMVideo": {0: (196, 496) + MODE_BUTTON, 1: (176, 340) + MODE_BUTTON},
    "SnapShot": {0: (252, 496) + MODE_BUTTON, 1: (228, 340) + MODE_BUTTON},
    "Record": {0: (316, 488) + RECORD_BUTTON, 1: (286, 338) + RECORD_BUTTON},
    "StopRecord": {0: (316, 488) + RECORD_BUTTON, 1: (286, 338) + RECORD_BUTTON},
    "Continue": {0: (140, 548) + MODE_BUTTON, 1: (124, 394) + MODE_BUTTON},
    "Auto": {0: (196, 548) + MODE_BUTTON, 1: (176, 394) + MODE_BUTTON},
    "Interval": {0: (252, 548) + MODE_BUTTON, 1: (228, 394) + MODE_BUTTON},
    "Switch": {0: (548, 432) + ICON_BUTTON, 1: (362, 300) + ICON_BUTTON},
    "SaveAs": {0: (596, 432) + ICON_BUTTON, 1: (406, 300) + ICON_BUTTON},
    "EMail": {0: (644, 432) + ICON_BUTTON, 1: (450, 300) + ICON_BUTTON},
    "Trash": {0: (692, 432) + ICON_BUTTON, 1: (494, 300) + ICON_BUTTON},
    "UiInfo": {0: title_rect(0, 0), 1: title_rect(1, 0)},
    "UiMin": {0: title_rect(0, 1), 1: title_rect(1, 1)},
    "UiMax": {0: title_rect(0, 2), 1: title_rect(1, 2)},
    "s_UiMax": {0: title_rect(0, 2), 1: title_rect(1, 2)},
    "UiClose": {0: title_rect(0, 3), 1: title_rect(1, 3)},
    "s_UiInfo": {0: title_rect(0, 0), 1: title_rect(1, 0)},
    "s_UiMin": {0: title_rect(0, 1), 1: title_rect(1, 1)},
    "s_UiClose": {0: title_rect(0, 3), 1: title_rect(1, 3)},
    "Thumbanail_Up": {0: (792, 58) + STEP_BUTTON, 1: (530, 50) + STEP_BUTTON},
    "Thumbanail_Down": {0: (792, 398) + STEP_BUTTON, 1: (530, 270) + STEP_BUTTON},
    "PrePause": {0: (560, 496) + ICON_BUTTON, 1: (380, 340) + ICON_BUTTON},
    "PrePlay": {0: (608, 496) + ICON_BUTTON, 1: (424, 340) + ICON_BUTTON},
    "PreStop": {0: (656, 496) + ICON_BUTTON, 1: (468, 340) + ICON_BUTTON},
    "PreSlider": {0: (560, 552, 250, 24), 1: (380, 394, 170, 24)},
    "Init": {0: (180, 222, 180, 28), 1: (92, 154, 180, 28)},
    "Date": {0: (30, 436, 120, 22), 1: (22, 300, 104, 22)},
    "Resolution": {0: (158, 436, 100, 22), 1: (130, 300, 84, 22)},
    "CaptureTime": {0: (266, 436, 150, 22), 1: (218, 300, 136, 22)},
    "HDSpaceDisplay": {0: (424, 436, 86, 22), 1: (218, 300, 136, 22)},
    "PreviewArea": PREVIEW,
    "Playwnd": PREVIEW,
    "DisplayArea": DISPLAY,
}

LABEL_COLOURS = {"Init": ACCENT, "Date": TEXT, "Resolution": TEXT, "CaptureTime": RED, "HDSpaceDisplay": DIM}

EFFECTS = ["Photo Frame", "Spot Light", "Black & White", "Sepia", "Negative", "Emboss", "Sphere", "Snow",
           "Mosaic", "Swirl", "Date & Time"]
FRAMES = ["Classic", "Film", "Rounded", "Hearts"]


def rgb_text(c):
    return "%d,%d,%d" % c


def rect_text(r):
    return "%d,%d,%d,%d" % r


# ---------------------------------------------------------------------------------------------
# Backgrounds.


def background(mode):
    w, h = SIZE[mode]
    c = Canvas(w, h)
    # The body: a rounded window whose corners stay fully transparent (cut out of the window).
    c.round_rect(0, 0, w, h, 22, lambda x, y: mix(BODY_TOP, PANEL, min(1, y / 60)))
    c.frame(0, 0, w, h, 22, 1.5, EDGE)
    title_h = 40 if mode == 0 else 36
    c.line(22, title_h, w - 22, title_h, 1, EDGE)
    # Title: an accent lens mark and the name.
    c.ring(30 if mode == 0 else 24, title_h // 2, 7, 3, ACCENT)
    c.circle(30 if mode == 0 else 24, title_h // 2, 2.5, ACCENT)
    c.text(46 if mode == 0 else 40, title_h // 2 - 7, "TAVORIN", 2, TEXT)
    # Wells: the live picture and the album.
    x, y, pw, ph = PREVIEW[mode]
    c.round_rect(x - 4, y - 4, x + pw + 4, y + ph + 4, 6, WELL)
    x, y, aw, ah = ALBUM_WELL[mode]
    c.round_rect(x, y, x + aw, y + ah, 8, WELL)
    # The control deck: a thin outline on the panel colour, which every button's corners share.
    x, y, bw, bh = BOTTOM_PANEL[mode]
    c.frame(x, y, x + bw, y + bh, 10, 1, EDGE)
    return c


# ---------------------------------------------------------------------------------------------
# Button strips: 4 frames (normal, pressed, hover, disabled); check strips: 6 frames (off, off hover,
# on, on hover, disabled off, disabled on). Opaque, on the panel colour the buttons sit on.


def strip(frame_w, frame_h, frames, draw):
    c = Canvas(frame_w * len(frames), frame_h, PANEL + (255,))
    for i, look in enumerate(frames):
        sub = Canvas(frame_w, frame_h, PANEL + (255,))
        draw(sub, look)
        c.paste(sub, i * frame_w, 0)
    return c


BUTTON_LOOKS = ["normal", "pressed", "hover", "disabled"]
CHECK_LOOKS = ["off", "off_hover", "on", "on_hover", "off_disabled", "on_disabled"]


def look_colours(look):
    """Face, glyph colour for a frame's look."""
    if "disabled" in look:
        return mix(PANEL, WELL, 0.2), GRAY
    if look == "pressed" or look.startswith("on"):
        face = mix(ACCENT, PANEL, 0.55) if look.startswith("on") else PRESSED
        return (mix(face, TEXT, 0.08) if "hover" in look else face), (TEXT if look.startswith("on") else ACCENT)
    if "hover" in look:
        return HOVER, TEXT
    return mix(PANEL, TEXT, 0.08), TEXT


def button_face(c, look, radius=7):
    face, glyph = look_colours(look)
    c.round_rect(1, 1, c.w - 1, c.h - 1, radius, face)
    c.frame(1, 1, c.w - 1, c.h - 1, radius, 1, ACCENT if look.startswith("on") else EDGE)
    return glyph


def glyph_strip(size, looks, glyph_fn, radius=7):
    def draw(c, look):
        colour = button_face(c, look, radius)
        glyph_fn(c, colour, look)

    return strip(size[0], size[1], looks, draw)


def g_mic(c, col, look, muted=False):
    cx, cy = c.w / 2, c.h / 2 - 3
    c.round_rect(cx - 4, cy - 10, cx + 4, cy + 4, 4, col)
    c.shape(cx - 9, cy - 2, cx + 9, cy + 11,
            lambda x, y: abs(math.hypot(x - cx, y - cy - 1) - 8) - 1 if y > cy - 1 else 9, col)
    c.line(cx, cy + 9, cx, cy + 13, 2, col)
    c.line(cx - 5, cy + 13, cx + 5, cy + 13, 2, col)
    if muted:
        c.line(cx - 11, cy - 10, cx + 11, cy + 14, 2.5, RED if "disabled" not in look else GRAY)


def g_video(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.round_rect(cx - 13, cy - 8, cx + 4, cy + 8, 3, col)
    c.polygon([(cx + 5, cy - 2), (cx + 13, cy - 7), (cx + 13, cy + 7), (cx + 5, cy + 2)], col)


def g_camera(c, col, look):
    cx, cy = c.w / 2, c.h / 2 + 1
    c.round_rect(cx - 13, cy - 8, cx + 13, cy + 9, 3, col)
    c.round_rect(cx - 5, cy - 12, cx + 5, cy - 6, 2, col)
    face, _ = look_colours(look)
    c.circle(cx, cy, 5.5, face)
    c.circle(cx, cy, 3, col)


def g_single(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.text(int(cx - 2), int(cy - 7), "1", 2, col)
    c.ring(cx + 1, cy, 11, 2, col)


def g_auto(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.ring(cx, cy, 4, 2, col)
    for r in (9, 14):
        c.shape(cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2,
                lambda x, y, r=r: abs(math.hypot(x - cx, y - cy) - r) - 1
                if abs(y - cy) < abs(x - cx) * 0.8 else 9, col)


def g_interval(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.ring(cx, cy, 11, 2, col)
    c.line(cx, cy, cx, cy - 7, 2, col)
    c.line(cx, cy, cx + 5, cy + 3, 2, col)


def g_record(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    red = GRAY if "disabled" in look else (mix(RED, TEXT, 0.2) if look == "hover" else RED)
    c.circle(cx, cy, 13 if look != "pressed" else 11, red)


def g_stop(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    red = GRAY if "disabled" in look else RED
    c.round_rect(cx - 10, cy - 10, cx + 10, cy + 10, 3, red)


def g_close(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    col = RED if look in ("hover", "pressed") else col
    c.line(cx - 5, cy - 5, cx + 5, cy + 5, 2, col)
    c.line(cx - 5, cy + 5, cx + 5, cy - 5, 2, col)


def g_min(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.line(cx - 6, cy + 4, cx + 6, cy + 4, 2, col)


def g_max(c, col, look, small=False):
    cx, cy = c.w / 2, c.h / 2
    s = 4 if small else 6
    c.frame(cx - s, cy - s, cx + s, cy + s, 1.5, 2, col)


def g_info(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.ring(cx, cy, 8, 1.8, col)
    c.circle(cx, cy - 4, 1.4, col)
    c.line(cx, cy - 1, cx, cy + 4.5, 2, col)


def g_switch(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.polygon([(cx - 9, cy - 6), (cx + 3, cy - 6), (cx + 3, cy - 10), (cx + 10, cy - 4), (cx + 3, cy + 2),
               (cx + 3, cy - 2), (cx - 9, cy - 2)], col)
    c.polygon([(cx + 9, cy + 6), (cx - 3, cy + 6), (cx - 3, cy + 10), (cx - 10, cy + 4), (cx - 3, cy - 2),
               (cx - 3, cy + 2), (cx + 9, cy + 2)], col)


def g_save(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.round_rect(cx - 9, cy - 9, cx + 9, cy + 9, 2, col)
    face, _ = look_colours(look)
    c.rect(int(cx - 5), int(cy - 9), int(cx + 5), int(cy - 3), face)
    c.rect(int(cx - 6), int(cy + 1), int(cx + 6), int(cy + 8), face)


def g_mail(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.frame(cx - 11, cy - 7, cx + 11, cy + 8, 2, 2, col)
    c.line(cx - 10, cy - 6, cx, cy + 1, 2, col)
    c.line(cx + 10, cy - 6, cx, cy + 1, 2, col)


def g_trash(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.line(cx - 9, cy - 7, cx + 9, cy - 7, 2, col)
    c.line(cx - 3, cy - 10, cx + 3, cy - 10, 2, col)
    c.polygon([(cx - 7, cy - 5), (cx + 7, cy - 5), (cx + 5, cy + 10), (cx - 5, cy + 10)], col)


def g_pause(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.round_rect(cx - 7, cy - 8, cx - 2, cy + 8, 1, col)
    c.round_rect(cx + 2, cy - 8, cx + 7, cy + 8, 1, col)


def g_play(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.polygon([(cx - 5, cy - 9), (cx + 8, cy), (cx - 5, cy + 9)], col)


def g_stop_small(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.round_rect(cx - 7, cy - 7, cx + 7, cy + 7, 2, col)


def g_up(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.polygon([(cx - 6, cy + 3), (cx, cy - 4), (cx + 6, cy + 3)], col)


def g_down(c, col, look):
    cx, cy = c.w / 2, c.h / 2
    c.polygon([(cx - 6, cy - 3), (cx, cy + 4), (cx + 6, cy - 3)], col)


def g_none(c, col, look):
    pass


# ---------------------------------------------------------------------------------------------
# Pictures: a small scene that the effect tiles show changed, splash, labels, thumbnails.


def scene(w, h):
    c = Canvas(w, h, (0, 0, 0, 255))
    sky_top, sky_low = (40, 90, 160), (150, 200, 235)
    c.rect(0, 0, w, h, lambda x, y: mix(sky_top, sky_low, y / h))
    c.circle(w * 0.72, h * 0.3, h * 0.13, (255, 214, 90))
    c.shape(0, h * 0.5, w, h, lambda x, y: y - (h * 0.68 + math.sin(x / w * 5) * h * 0.07), (60, 140, 80))
    c.shape(0, h * 0.6, w, h, lambda x, y: y - (h * 0.8 + math.sin(x / w * 3 + 2) * h * 0.05), (40, 100, 60))
    return c


def apply_effect(c, index):
    w, h = c.w, c.h
    src = Canvas(w, h)
    src.px[:] = c.px
    for y in range(h):
        for x in range(w):
            r, g, b, a = src.get(x, y)
            lum = int(0.299 * r + 0.587 * g + 0.114 * b)
            if index == 1:  # spot light
                d = math.hypot(x - w / 2, y - h / 2) / (0.45 * w)
                k = max(0.15, 1 - d * d)
                r, g, b = int(r * k), int(g * k), int(b * k)
            elif index == 2:
                r = g = b = lum
            elif index == 3:
                r, g, b = min(255, int(lum * 1.07 + 30)), min(255, int(lum * 0.9 + 18)), int(lum * 0.68)
            elif index == 4:
                r, g, b = 255 - r, 255 - g, 255 - b
            elif index == 5:
                r2, g2, b2, _ = src.get(max(0, x - 1), max(0, y - 1))
                l2 = int(0.299 * r2 + 0.587 * g2 + 0.114 * b2)
                r = g = b = max(0, min(255, 128 + (lum - l2) * 3))
            elif index == 6:  # sphere: a lens bulge
                nx, ny = (x - w / 2) / (w / 2), (y - h / 2) / (h / 2)
                d = math.hypot(nx, ny)
                if d < 1:
                    k = d * 0.6 + 0.4
                    sx, sy = int(w / 2 + nx * k * w / 2), int(h / 2 + ny * k * h / 2)
                    r, g, b, _ = src.get(min(w - 1, sx), min(h - 1, sy))
            elif index == 8:
                r, g, b, _ = src.get(x - x % 10 + 5 if x - x % 10 + 5 < w else x, y - y % 10 + 5 if y - y % 10 + 5 < h else y)
            elif index == 9:
                dx, dy = x - w / 2, y - h / 2
                ang = math.atan2(dy, dx) + max(0, 1 - math.hypot(dx, dy) / (w / 2)) * 2.5
                rad = math.hypot(dx, dy)
                sx, sy = int(w / 2 + rad * math.cos(ang)), int(h / 2 + rad * math.sin(ang))
                if 0 <= sx < w and 0 <= sy < h:
                    r, g, b, _ = src.get(sx, sy)
            c.put(x, y, (r, g, b, 255))
    if index == 7:
        seed = 7
        for _ in range(w * h // 60):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            c.circle(seed % w, (seed >> 12) % h, 1.2, (255, 255, 255))
    if index == 0:
        c.frame(2, 2, w - 2, h - 2, 10, 9, (196, 150, 90))
        c.frame(7, 7, w - 7, h - 7, 6, 2, (120, 80, 40))
    if index == 10:
        c.text(w - text_width("2026/12/09", 1) - 8, h - 14, "2026/12/09", 1, (255, 170, 40))


def photo_frame(kind, w, h):
    """A photo frame overlay: opaque border, transparent picture area."""
    c = Canvas(w, h)
    if kind == 0:  # classic wood
        c.rect(0, 0, w, h, lambda x, y: mix((150, 100, 55), (110, 70, 35), ((x * 7 + y * 3) % 40) / 40))
        inner = Canvas(w, h)
        for y in range(36, h - 36):
            for x in range(36, w - 36):
                c.put(x, y, (0, 0, 0, 0))
        del inner
        c.frame(30, 30, w - 30, h - 30, 2, 6, (220, 190, 130))
    elif kind == 1:  # film strip
        c.rect(0, 0, w, 48, (20, 20, 20))
        c.rect(0, h - 48, w, h, (20, 20, 20))
        for x in range(12, w, 40):
            c.round_rect(x, 14, x + 22, 34, 3, (235, 235, 235))
            c.round_rect(x, h - 34, x + 22, h - 14, 3, (235, 235, 235))
    elif kind == 2:  # soft rounded passe-partout
        c.rect(0, 0, w, h, (245, 242, 235))
        hole = Canvas(w, h)
        hole.round_rect(40, 40, w - 40, h - 40, 60, (0, 0, 0))
        for y in range(h):
            for x in range(w):
                a = hole.get(x, y)[3]
                if a:
                    r, g, b, oa = c.get(x, y)
                    c.put(x, y, (r, g, b, oa * (255 - a) // 255))
        c.frame(40, 40, w - 40, h - 40, 60, 3, ACCENT)
    else:  # hearts around the edge
        for i in range(0, w, 64):
            for y0 in (8, h - 56):
                heart(c, i + 8, y0, 48)
        for j in range(64, h - 64, 64):
            for x0 in (8, w - 56):
                heart(c, x0, j, 48)
    return c


def heart(c, x, y, s):
    col = (226, 60, 110)
    c.circle(x + s * 0.3, y + s * 0.33, s * 0.25, col)
    c.circle(x + s * 0.7, y + s * 0.33, s * 0.25, col)
    c.polygon([(x + s * 0.07, y + s * 0.45), (x + s * 0.93, y + s * 0.45), (x + s * 0.5, y + s * 0.95)], col)


def splash(w, h):
    c = Canvas(w, h)
    c.round_rect(0, 0, w, h, 26, lambda x, y: mix((30, 38, 52), (16, 20, 28), y / h))
    c.frame(0, 0, w, h, 26, 2, ACCENT)
    c.ring(w / 2, h * 0.36, 34, 8, ACCENT)
    c.circle(w / 2, h * 0.36, 12, ACCENT)
    name = "TAVORIN"
    c.text(int(w / 2 - text_width(name, 4) / 2), int(h * 0.62), name, 4, TEXT)
    line = "CAMERA STUDIO"
    c.text(int(w / 2 - text_width(line, 2) / 2), int(h * 0.62) + 40, line, 2, DIM)
    return c


def record_screen(w, h):
    c = Canvas(w, h, (0, 0, 0, 255))
    c.rect(0, 0, w, h, lambda x, y: mix((20, 24, 32), (8, 10, 14), y / h))
    c.circle(w / 2, h / 2 - 16, min(w, h) * 0.12, RED)
    t = "RECORDING"
    c.text(int(w / 2 - text_width(t, 3) / 2), int(h / 2 + min(w, h) * 0.12), t, 3, TEXT)
    return c


def play_background(w, h):
    c = Canvas(w, h, (0, 0, 0, 255))
    c.rect(0, 0, w, h, lambda x, y: mix((18, 22, 30), (10, 12, 16), y / h))
    c.polygon([(w / 2 - 20, h / 2 - 26), (w / 2 + 26, h / 2), (w / 2 - 20, h / 2 + 26)], mix(WELL, TEXT, 0.12))
    return c


def label_background(w, h, edge):
    """A flat well with an underline: labels of any width show it cut at their right edge."""
    c = Canvas(w, h, WELL + (255,))
    c.rect(0, h - 1, w, h, edge)
    return c


# ---------------------------------------------------------------------------------------------
# Sounds.


def write_wav(path, tones, rate=22050):
    frames = bytearray()
    for freq, seconds, volume in tones:
        n = int(rate * seconds)
        for i in range(n):
            env = min(1, i / (rate * 0.005), (n - i) / (rate * 0.02))
            s = math.sin(2 * math.pi * freq * i / rate) if freq else ((i * 7919) % 97) / 48.5 - 1
            frames += struct.pack("<h", int(s * env * volume * 32767))
    with wave.open(path, "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(rate)
        f.writeframes(bytes(frames))


# ---------------------------------------------------------------------------------------------


def app_icon(size):
    c = Canvas(size, size)
    c.round_rect(0, 0, size, size, size * 0.22, (30, 38, 52))
    c.ring(size / 2, size / 2, size * 0.28, size * 0.1, ACCENT)
    c.circle(size / 2, size / 2, size * 0.1, ACCENT)
    return c


def write_icon(path, sizes):
    """An .ico of 32-bit DIB entries (colour rows bottom-up, then the AND mask)."""
    images = []
    for size in sizes:
        c = app_icon(size)
        rows = b"".join(bytes(c.px[(y * size + x) * 4 + k] for x in range(size) for k in (2, 1, 0, 3))
                        for y in range(size - 1, -1, -1))
        mask_row = ((size + 31) // 32) * 4
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(rows), 0, 0, 0, 0)
        images.append((size, header + rows + bytes(mask_row * size)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(data for _, data in images))


def main():
    if os.path.isdir(OUT):
        shutil.rmtree(OUT)
    for sub in ("", "buttons", "effects", "frames", "sounds"):
        os.makedirs(os.path.join(OUT, sub), exist_ok=True)
    ini = []

    def section(name, pairs):
        ini.append("[%s]" % name)
        ini.extend("%s=%s" % kv for kv in pairs)
        ini.append("")

    def save(canvas, rel, opaque=False):
        canvas.save(os.path.join(OUT, rel), opaque)
        return "Zentrik\\" + rel.replace("/", "\\")

    section("Zentrik", [("mode480x360", save(background(0), "bg480.png")),
                        ("mode320x240", save(background(1), "bg320.png")), ("font_size", "Tahoma 13")])
    section("button font", [("font_size", "14"), ("font_name", "Tahoma"), ("font_color_normal", rgb_text(TEXT)),
                            ("font_color_down", rgb_text(ACCENT)), ("font_color_hover", "255,255,255"),
                            ("font_color_gray", rgb_text(GRAY))])
    section("static font", [("font_size", "13"), ("font_name", "Tahoma")])
    section("panel", [("color", rgb_text(PANEL))])

    def rects(name):
        return [("rect%d" % m, rect_text(LAYOUT[name][m])) for m in (0, 1)]

    buttons = {
        "Setup": (TEXT_BUTTON, g_none), "Enhance": (TEXT_BUTTON, g_none), "Effect": (TEXT_BUTTON, g_none),
        "DREMVoice": (MODE_BUTTON, g_mic), "DREMMute": (MODE_BUTTON, lambda c, col, lk: g_mic(c, col, lk, True)),
        "Record": (RECORD_BUTTON, g_record), "StopRecord": (RECORD_BUTTON, g_stop),
        "Switch": (ICON_BUTTON, g_switch), "SaveAs": (ICON_BUTTON, g_save), "EMail": (ICON_BUTTON, g_mail),
        "Trash": (ICON_BUTTON, g_trash), "UiClose": (TITLE_BUTTON, g_close), "UiMin": (TITLE_BUTTON, g_min),
        "UiMax": (TITLE_BUTTON, lambda c, col, lk: g_max(c, col, lk, True)),
        "s_UiMax": (TITLE_BUTTON, g_max), "UiInfo": (TITLE_BUTTON, g_info),
        "Thumbanail_Up": (STEP_BUTTON, g_up), "Thumbanail_Down": (STEP_BUTTON, g_down),
        "PrePause": (ICON_BUTTON, g_pause), "PrePlay": (ICON_BUTTON, g_play), "PreStop": (ICON_BUTTON, g_stop_small),
    }
    for name, (size, glyph) in buttons.items():
        radius = size[1] / 2 if name in ("Record", "StopRecord") else 7
        image = save(glyph_strip(size, BUTTON_LOOKS, glyph, radius), "buttons/%s.png" % name.lower())
        section(name, [("image", image)] + rects(name))
    checks = {"DREMVideo": g_video, "SnapShot": g_camera, "Continue": g_single, "Auto": g_auto,
              "Interval": g_interval}
    for name, glyph in checks.items():
        image = save(glyph_strip(MODE_BUTTON, CHECK_LOOKS, glyph), "buttons/%s.png" % name.lower())
        section(name, [("image", image)] + rects(name))
    for name in ("s_UiClose", "s_UiMin", "s_UiInfo"):
        section(name, rects(name))
    for name, colour in LABEL_COLOURS.items():
        pairs = [("font_color_normal", rgb_text(colour)), ("font_color_gray", rgb_text(GRAY))] + rects(name)
        if name == "Init":
            pairs = [("font_size", "16"), ("color", rgb_text(WELL))] + pairs
        section(name, pairs)
    save(label_background(150, 22, EDGE), "static1.png")
    save(label_background(150, 22, ACCENT), "static2.png")

    # The album's scroll slider: channel, four-frame thumb, step buttons above and below.
    channel = Canvas(24, 40, PANEL + (255,))
    channel.round_rect(9, 2, 15, 38, 3, WELL)
    thumb = glyph_strip((24, 24), BUTTON_LOOKS, lambda c, col, lk: c.line(8, 12, 16, 12, 2, col), 12)
    disp = []
    for m in (0, 1):
        x, y, w, h = DISP_SLIDER[m]
        disp += [("rect_slider%d" % m, rect_text(DISP_SLIDER[m])),
                 ("thumb_range%d" % m, rect_text((0, 34, 24, h - 34))), ("bar_border%d" % m, "0,8,0,8"),
                 ("range%d" % m, "0,10"), ("pos_thumb%d" % m, "0"), ("left_pos%d" % m, "0,0"),
                 ("right_pos%d" % m, "0,%d" % (h - STEP_BUTTON[1])),
                 ("image_bar%d" % m, save(channel, "disp_bar.png", True)),
                 ("image_thumb%d" % m, save(thumb, "disp_thumb.png", True)),
                 ("image_right%d" % m, "Zentrik\\buttons\\thumbanail_down.png"),
                 ("image_left%d" % m, "Zentrik\\buttons\\thumbanail_up.png")]
    section("DispSlider", disp + [("rect%d" % m, rect_text(DISP_SLIDER[m])) for m in (0, 1)])

    # The playback position slider (horizontal).
    seek = Canvas(40, 24, PANEL + (255,))
    seek.round_rect(2, 9, 38, 15, 3, WELL)
    seek_thumb = glyph_strip((16, 24), BUTTON_LOOKS, lambda c, col, lk: None, 6)
    px, py, pw, ph = LAYOUT["PreSlider"][0]
    section("PreSlider", [("rect_slider", rect_text((px, py, pw, ph))), ("thumb_range", rect_text((8, 0, pw - 8, ph))),
                          ("bar_border", "8,0,8,0"), ("range", "0,100"), ("pos_thumb", "0"),
                          ("image_bar", save(seek, "seek_bar.png", True)),
                          ("image_thumb", save(seek_thumb, "seek_thumb.png", True))] + rects("PreSlider"))

    section("PreviewArea", rects("PreviewArea"))
    section("DisplayArea", rects("DisplayArea"))
    section("Playwnd", rects("Playwnd") + [("Image0", save(play_background(480, 360), "playwnd480.png", True)),
                                           ("Image1", save(play_background(320, 240), "playwnd320.png", True))])
    icon = Canvas(20, 16)
    icon.round_rect(0, 0, 20, 16, 3, (0, 0, 0))
    g_video(icon, TEXT, "normal")
    section("Video_icon", [("image", save(icon, "video_icon.png")), ("rect0", "0,0,20,16")])
    bad = Canvas(88, 66, WELL + (255,))
    bad.line(30, 19, 58, 47, 4, RED)
    bad.line(30, 47, 58, 19, 4, RED)
    save(bad, "badthumb.png", True)
    save(splash(400, 240), "Splash.png")
    for w, h in ((480, 360), (320, 240)):
        picture = record_screen(w, h)
        write_jpeg(os.path.join(OUT, "video_screen%d.jpg" % w), w, h, lambda x, y: picture.get(x, y)[:3])

    write_wav(os.path.join(OUT, "sounds", "record.wav"), [(880, 0.09, 0.5), (0, 0.03, 0.0), (1320, 0.12, 0.5)])
    write_wav(os.path.join(OUT, "sounds", "snapshot.wav"), [(0, 0.05, 0.6), (0, 0.03, 0.0), (0, 0.06, 0.4)])
    section("sound", [("Record", "Zentrik\\sounds\\record.wav"), ("Snapshot", "Zentrik\\sounds\\snapshot.wav")])

    effects = [("rect", "0,0,288,400"), ("count", str(len(EFFECTS)))]
    for i, caption in enumerate(EFFECTS):
        tile = scene(124, 88)
        apply_effect(tile, i)
        effects += [("Image%d" % i, save(tile, "effects/effect%02d.png" % i, True)), ("Level%d" % i, caption)]
    section("EffectArea", effects)
    frames = [("rect", "0,0,164,246"), ("count", str(len(FRAMES)))]
    for i, _ in enumerate(FRAMES):
        full = photo_frame(i, 640, 480)
        thumb_pic = scene(60, 48)
        small = photo_frame(i, 60, 48) if i != 3 else None
        if small:
            thumb_pic.paste(small, 0, 0)
        else:
            for x0 in (2, 44):
                heart(thumb_pic, x0, 2, 14)
                heart(thumb_pic, x0, 32, 14)
        frames += [("Image%d" % i, save(thumb_pic, "frames/frame%d_thumb.png" % i, True)),
                   ("Level%d" % i, save(full, "frames/frame%d.png" % i))]
    section("PropertyArea", frames)

    with open(os.path.join(OUT, "Settings.ini"), "w", newline="\r\n") as f:
        f.write("\n".join(ini))
    icon = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "program", "Zentrik.ico")
    write_icon(os.path.normpath(icon), (16, 32, 48))
    print("skin written to", OUT)


if __name__ == "__main__":
    main()
