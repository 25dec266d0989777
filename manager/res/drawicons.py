#!/usr/bin/env python3
"""Draws the Manager's icons and its toolbar bitmap and writes them as .ico and .bmp files.

    drawicons.py OUTPUT_DIR

Every picture is drawn once, on a 16-unit grid, by a function below; the same drawing gives
  - the 32 x 32 and 16 x 16 true-colour images of each icon (32 bits with alpha, edges smoothed
    by 4 x 4 samples per pixel), and
  - 16-colour versions of them (one sample at each pixel's centre, every colour mapped to its
    partner in the standard 16-colour palette) for displays and image lists without alpha;
  - the toolbar strip: 12 images of 16 x 16 in 16 colours on the light grey (192, 192, 192) that
    the toolbar control replaces by the button face colour. No drawing of a toolbar image may use
    that grey itself.
Only the standard library is used; the output depends on nothing but this file.
"""
import math
import os
import struct
import sys

# ---- colours: true colour and the index of the nearest-looking colour of the 16-colour palette ----

VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
SILVER = 7


class Colour:
    def __init__(self, r, g, b, vga):
        self.rgb = (r, g, b)
        self.vga = vga


INK = Colour(48, 54, 66, 0)
PAPER = Colour(255, 255, 255, 15)
FOLD = Colour(214, 222, 232, 8)
TEXT = Colour(132, 146, 166, 8)
BLUE = Colour(38, 104, 190, 12)
BLUE_DARK = Colour(20, 62, 128, 4)
BLUE_LIGHT = Colour(120, 176, 236, 14)
GREEN = Colour(34, 150, 58, 2)
GREEN_DARK = Colour(18, 96, 36, 2)
RED = Colour(214, 40, 36, 9)
RED_DARK = Colour(140, 20, 20, 1)
YELLOW = Colour(250, 206, 72, 11)
YELLOW_DARK = Colour(176, 126, 20, 3)
ENVELOPE = Colour(255, 244, 214, 15)
ORANGE = Colour(255, 150, 20, 11)
GREY = Colour(128, 128, 128, 8)
GREY_LIGHT = Colour(196, 200, 206, 15)
WHITE = Colour(255, 255, 255, 15)


# ---- canvas -----------------------------------------------------------------------------------------

class Canvas:
    """A square picture drawn in units of a 16 x 16 grid.

    smooth: each pixel is covered by 4 x 4 samples and blended; else one sample at the pixel's
    centre decides, and the pixel keeps the colour object (for the 16-colour output)."""

    def __init__(self, size, smooth):
        self.size = size
        self.scale = size / 16.0
        self.smooth = smooth
        self.hair = 1.0 / self.scale  # one pixel, in units
        self.rgba = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]  # premultiplied
        self.index = [[None] * size for _ in range(size)]

    def fill(self, inside, bbox, colour):
        x0, y0, x1, y1 = bbox
        s = self.scale
        px0 = max(0, int(math.floor(x0 * s)))
        py0 = max(0, int(math.floor(y0 * s)))
        px1 = min(self.size, int(math.ceil(x1 * s)) + 1)
        py1 = min(self.size, int(math.ceil(y1 * s)) + 1)
        n = 4 if self.smooth else 1
        offsets = [(i + 0.5) / n for i in range(n)]
        r, g, b = (v / 255.0 for v in colour.rgb)
        for py in range(py0, py1):
            for px in range(px0, px1):
                hits = 0
                for oy in offsets:
                    uy = (py + oy) / s
                    for ox in offsets:
                        if inside((px + ox) / s, uy):
                            hits += 1
                if not hits:
                    continue
                if not self.smooth:
                    self.index[py][px] = colour
                    continue
                a = hits / float(n * n)
                br, bg, bb, ba = self.rgba[py][px]
                self.rgba[py][px] = (r * a + br * (1 - a), g * a + bg * (1 - a),
                                     b * a + bb * (1 - a), a + ba * (1 - a))

    # Shapes. Coordinates are units; a rectangle covers [x0, x1) x [y0, y1).
    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1), colour)

    def frame(self, x0, y0, x1, y1, colour, width=None):
        w = self.hair if width is None else width
        self.fill(lambda x, y: (x0 <= x < x1 and y0 <= y < y1)
                  and not (x0 + w <= x < x1 - w and y0 + w <= y < y1 - w),
                  (x0, y0, x1, y1), colour)

    def circle(self, cx, cy, r, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                  (cx - r, cy - r, cx + r, cy + r), colour)

    def ring(self, cx, cy, r, colour, width=None, start=None, end=None):
        """Circle outline of the given width inside radius r; optionally only the arc from angle
        start to end (degrees, clockwise from 12 o'clock)."""
        w = self.hair if width is None else width

        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if not ((r - w) ** 2 <= d <= r * r):
                return False
            if start is None:
                return True
            a = math.degrees(math.atan2(x - cx, cy - y)) % 360
            return (a - start) % 360 <= (end - start) % 360
        self.fill(inside, (cx - r, cy - r, cx + r, cy + r), colour)

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result
        self.fill(inside, (min(xs), min(ys), max(xs), max(ys)), colour)

    def line(self, points, width, colour):
        """A thick polyline with round joins and ends, through the given points."""
        half = width / 2.0
        segments = list(zip(points, points[1:])) or [(points[0], points[0])]

        def inside(x, y):
            for (ax, ay), (bx, by) in segments:
                dx, dy = bx - ax, by - ay
                ll = dx * dx + dy * dy
                t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
                qx, qy = ax + t * dx - x, ay + t * dy - y
                if qx * qx + qy * qy <= half * half:
                    return True
            return False
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.fill(inside, (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), colour)


# ---- parts shared by several pictures -----------------------------------------------------------

def page(c, x0, y0, x1, y1, fold=3, lines=True, text=TEXT):
    """A sheet of paper with a folded top right corner and lines of text."""
    h = c.hair
    c.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], INK)
    c.polygon([(x0 + h, y0 + h), (x1 - fold - h * 0.4, y0 + h), (x1 - h, y0 + fold + h * 0.4),
               (x1 - h, y1 - h), (x0 + h, y1 - h)], PAPER)
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], INK)
    c.polygon([(x1 - fold + h, y0 + 2 * h), (x1 - fold + h, y0 + fold - h),
               (x1 - 2 * h, y0 + fold - h)], FOLD)
    if lines:
        y = y0 + fold + 2
        while y + 1 <= y1 - 2:
            right = x1 - 2 if y > y0 + fold + 2 else x1 - fold - 1
            c.rect(x0 + 2, y, right, y + 1, text)
            y += 2


def badge(c, cx, cy, r, fill, rim):
    c.circle(cx, cy, r, rim)
    c.circle(cx, cy, r - c.hair, fill)


def cross_badge(c, cx, cy, r=4):
    """A red disc with a white cross. Put the centre on a pixel centre (x.5) so that the cross
    runs through whole pixels at 16 x 16."""
    badge(c, cx, cy, r, RED, RED_DARK)
    if c.size == 16:
        # Smoothing would turn a cross this small into a grey blur: set its pixels.
        px, py = int(cx), int(cy)
        for k in range(-2, 3):
            c.rect(px + k, py + k, px + k + 1, py + k + 1, WHITE)
            c.rect(px + k, py - k, px + k + 1, py - k + 1, WHITE)
        return
    c.line([(cx - 1.6, cy - 1.6), (cx + 1.6, cy + 1.6)], 1.1, WHITE)
    c.line([(cx - 1.6, cy + 1.6), (cx + 1.6, cy - 1.6)], 1.1, WHITE)


def check_mark(c, x, y, size=1.0, colour=GREEN):
    pts = [(x - 3 * size, y), (x - 1 * size, y + 2 * size), (x + 3.2 * size, y - 2.6 * size)]
    c.line(pts, 3.0 * size + 1.2 * c.hair, WHITE)
    c.line(pts, 2.0 * size, colour)


def clock_badge(c, cx, cy, r=3.5):
    badge(c, cx, cy, r, WHITE, BLUE_DARK)
    c.line([(cx, cy), (cx, cy - r + 1.2)], 1.0, INK)
    c.line([(cx, cy), (cx + r - 1.4, cy)], 1.0, INK)


def envelope(c, x0, y0, x1, y1, colour=ENVELOPE, rim=YELLOW_DARK):
    h = c.hair
    c.rect(x0, y0, x1, y1, rim)
    c.rect(x0 + h, y0 + h, x1 - h, y1 - h, colour)
    mx = (x0 + x1) / 2.0
    my = y0 + (y1 - y0) * 0.55
    c.line([(x0 + 0.5, y0 + 0.5), (mx, my), (x1 - 0.5, y0 + 0.5)], 1.0, rim)


def tray(c, x0, y0, x1, y1, colour=BLUE, rim=BLUE_DARK):
    """An in-tray seen from the front: a low box whose top edge dips in the middle."""
    h = c.hair
    w = x1 - x0
    dip = [(x0, y0), (x0 + w * 0.25, y0), (x0 + w * 0.32, y0 + 2), (x1 - w * 0.32, y0 + 2),
           (x1 - w * 0.25, y0), (x1, y0), (x1, y1), (x0, y1)]
    c.polygon(dip, rim)
    inner = [(x0 + h, y0 + h), (x0 + w * 0.25 - h * 0.5, y0 + h), (x0 + w * 0.32, y0 + 2 + h),
             (x1 - w * 0.32, y0 + 2 + h), (x1 - w * 0.25 + h * 0.5, y0 + h), (x1 - h, y0 + h),
             (x1 - h, y1 - h), (x0 + h, y1 - h)]
    c.polygon(inner, colour)
    c.rect(x0 + w * 0.32, y0 + 2 + h, x1 - w * 0.32, y0 + 3, BLUE_LIGHT)


def arrow(c, points, width, head, colour, rim=None):
    """A shaft along the points, ending in a triangular head at the last point."""
    (ax, ay), (bx, by) = points[-2], points[-1]
    length = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / length, (by - ay) / length
    base = (bx - ux * head, by - uy * head)
    tri = [(bx + ux * 0.3, by + uy * 0.3), (base[0] - uy * head * 0.85, base[1] + ux * head * 0.85),
           (base[0] + uy * head * 0.85, base[1] - ux * head * 0.85)]
    shaft = points[:-1] + [base]
    if rim is not None:
        c.line(shaft, width + 2 * c.hair, rim)
        grown = [(tri[0][0] + ux * c.hair * 1.5, tri[0][1] + uy * c.hair * 1.5),
                 (tri[1][0] - ux * c.hair - uy * c.hair, tri[1][1] - uy * c.hair + ux * c.hair),
                 (tri[2][0] - ux * c.hair + uy * c.hair, tri[2][1] - uy * c.hair - ux * c.hair)]
        c.polygon(grown, rim)
    c.line(shaft, width, colour)
    c.polygon(tri, colour)


def folder(c, x0, y0, x1, y1, colour=YELLOW, rim=YELLOW_DARK):
    h = c.hair
    c.polygon([(x0, y0 + 1), (x0 + 1, y0), (x0 + 5, y0), (x0 + 6, y0 + 1), (x1, y0 + 1),
               (x1, y1), (x0, y1)], rim)
    c.rect(x0 + h, y0 + 1 + h, x1 - h, y1 - h, colour)
    c.rect(x0 + 1, y0 + h, x0 + 5, y0 + 1 + h, colour)
    c.rect(x0 + h, y0 + 3, x1 - h, y0 + 3 + h, rim)


def person(c, cx, top, colour=BLUE, rim=BLUE_DARK):
    c.circle(cx, top + 2.2, 2.2, rim)
    c.circle(cx, top + 2.2, 2.2 - c.hair, colour)
    c.polygon([(cx - 3.5, top + 9), (cx - 3.5, top + 7), (cx - 2, top + 5), (cx + 2, top + 5),
               (cx + 3.5, top + 7), (cx + 3.5, top + 9)], rim)
    c.polygon([(cx - 3.5 + c.hair, top + 9 - c.hair), (cx - 3.5 + c.hair, top + 7.2),
               (cx - 2 + c.hair * 0.5, top + 5 + c.hair), (cx + 2 - c.hair * 0.5, top + 5 + c.hair),
               (cx + 3.5 - c.hair, top + 7.2), (cx + 3.5 - c.hair, top + 9 - c.hair)], colour)


def magnifier(c, cx, cy, r):
    c.line([(cx + r * 0.7, cy + r * 0.7), (cx + r * 1.6, cy + r * 1.6)], 2.0, INK)
    c.circle(cx, cy, r, INK)
    c.circle(cx, cy, r - 1.0, BLUE_LIGHT)
    c.circle(cx - r * 0.3, cy - r * 0.3, r * 0.3, WHITE)


def star(c, cx, cy, r, colour=ORANGE, rim=YELLOW_DARK):
    pts = []
    for i in range(10):
        a = math.radians(i * 36)
        rr = r if i % 2 == 0 else r * 0.45
        pts.append((cx + rr * math.sin(a), cy - rr * math.cos(a)))
    c.polygon(pts, rim)
    inner = []
    for i in range(10):
        a = math.radians(i * 36)
        rr = (r - c.hair * 1.6) if i % 2 == 0 else r * 0.45 - c.hair * 0.6
        inner.append((cx + rr * math.sin(a), cy - rr * math.cos(a)))
    c.polygon(inner, colour)


def paperclip(c, x, y0, y1):
    c.line([(x + 1.5, y0 + 3), (x + 1.5, y1), (x - 0.3, y1), (x - 0.3, y0 + 1), (x + 3, y0 + 1),
            (x + 3, y1 - 1)], 0.9, GREY)


# ---- the icons ----------------------------------------------------------------------------------------

def draw_program(c):
    page(c, 3, 0, 13, 12)
    tray(c, 0, 8, 16, 16)


def draw_tray(c):
    draw_program(c)


def draw_tray_failed(c):
    draw_program(c)
    cross_badge(c, 11.5, 11.5)


def unread_badge(c, x0, y0):
    envelope(c, x0, y0, x0 + 8, y0 + 6, YELLOW, YELLOW_DARK)


def draw_tray_unread(c):
    draw_program(c)
    unread_badge(c, 8, 10)


def draw_tray_both(c):
    draw_program(c)
    unread_badge(c, 0, 10)
    cross_badge(c, 11.5, 11.5)


def draw_state_sent(c):
    page(c, 2, 0, 13, 15)
    check_mark(c, 11.5, 11.5)


def draw_state_read(c):
    # An opened envelope with the letter pulled half out.
    h = c.hair
    c.polygon([(1, 7), (8, 2), (15, 7), (15, 15), (1, 15)], YELLOW_DARK)
    c.polygon([(1 + h, 7 + h * 0.5), (8, 2 + h * 1.2), (15 - h, 7 + h * 0.5), (15 - h, 15 - h),
               (1 + h, 15 - h)], ENVELOPE)
    page(c, 4, 1, 12, 10, fold=2, lines=False)
    c.rect(5.5, 5, 10.5, 6, TEXT)
    c.polygon([(1, 8), (8, 12.5), (15, 8), (15, 15), (1, 15)], YELLOW_DARK)
    c.polygon([(1 + h, 8 + h * 1.6), (8, 12.5 + h), (15 - h, 8 + h * 1.6), (15 - h, 15 - h),
               (1 + h, 15 - h)], ENVELOPE)


def draw_state_unread(c):
    envelope(c, 1, 3, 15, 13, YELLOW, YELLOW_DARK)


def draw_state_failed(c):
    page(c, 2, 0, 13, 15)
    cross_badge(c, 11.5, 11.5)


def draw_state_cancelled(c):
    page(c, 2, 0, 13, 15, text=GREY_LIGHT)
    badge(c, 11.5, 11.5, 4, WHITE, GREY)
    c.ring(11.5, 11.5, 3.4, GREY, 1.1)
    c.line([(9.4, 13.6), (13.6, 9.4)], 1.1, GREY)


def draw_state_pending(c):
    page(c, 2, 0, 13, 15)
    clock_badge(c, 11.5, 11.5, 4)


def draw_state_working(c):
    page(c, 2, 0, 13, 15)
    badge(c, 11.5, 11.5, 4, BLUE, BLUE_DARK)
    arrow(c, [(9.2, 11.5), (14.2, 11.5)], 1.2, 2.4, WHITE)


def draw_state_queued(c):
    page(c, 6, 0, 15, 10, fold=2, lines=False)
    page(c, 4, 2, 13, 12, fold=2, lines=False)
    page(c, 2, 4, 11, 15, fold=2)


def draw_details(c):
    page(c, 1, 0, 13, 16, fold=4)
    magnifier(c, 10, 9.5, 3.5)


def draw_route(c):
    page(c, 0, 1, 8, 12, fold=2)
    arrow(c, [(6, 12.5), (10.5, 12.5)], 1.4, 2.2, GREEN, GREEN_DARK)
    person(c, 12.5, 4)


def draw_attachment(c):
    page(c, 2, 1, 14, 16, fold=4)
    paperclip(c, 4, 0, 6)


def draw_attachment_bad(c):
    draw_attachment(c)
    c.line([(3, 4), (13, 15)], 1.6, RED)
    c.line([(3, 15), (13, 4)], 1.6, RED)


def draw_folder_inbox(c):
    tray(c, 0, 8, 16, 16)
    arrow(c, [(8, 0.5), (8, 8.5)], 2.0, 3.0, GREEN, GREEN_DARK)


def draw_folder_outbox(c):
    tray(c, 0, 8, 16, 16)
    arrow(c, [(8, 9), (8, 0.5)], 2.0, 3.0, ORANGE, YELLOW_DARK)


def draw_folder_group(c):
    folder(c, 3, 1, 16, 11)
    folder(c, 0, 5, 13, 15)


def draw_folder_personal(c):
    folder(c, 0, 2, 16, 14)


ICONS = [
    ("frame.ico", draw_program),
    ("tray.ico", draw_tray),
    ("tray_failed.ico", draw_tray_failed),
    ("tray_unread.ico", draw_tray_unread),
    ("tray_both.ico", draw_tray_both),
    ("state_sent.ico", draw_state_sent),
    ("state_read.ico", draw_state_read),
    ("state_unread.ico", draw_state_unread),
    ("state_failed.ico", draw_state_failed),
    ("state_cancelled.ico", draw_state_cancelled),
    ("state_pending.ico", draw_state_pending),
    ("state_working.ico", draw_state_working),
    ("state_queued.ico", draw_state_queued),
    ("details.ico", draw_details),
    ("route.ico", draw_route),
    ("attachment.ico", draw_attachment),
    ("attachment_bad.ico", draw_attachment_bad),
    ("folder_inbox.ico", draw_folder_inbox),
    ("folder_outbox.ico", draw_folder_outbox),
    ("folder_group.ico", draw_folder_group),
    ("folder_personal.ico", draw_folder_personal),
]


# ---- the toolbar images, in button order ----------------------------------------------------------

def sparkle(c, cx, cy, r):
    pts = [(cx, cy - r), (cx + 1, cy - 1), (cx + r, cy), (cx + 1, cy + 1), (cx, cy + r),
           (cx - 1, cy + 1), (cx - r, cy), (cx - 1, cy - 1)]
    c.polygon(pts, YELLOW_DARK)
    inner = [(cx, cy - r + 1.3), (cx + 0.6, cy - 0.6), (cx + r - 1.3, cy), (cx + 0.6, cy + 0.6),
             (cx, cy + r - 1.3), (cx - 0.6, cy + 0.6), (cx - r + 1.3, cy), (cx - 0.6, cy - 0.6)]
    c.polygon(inner, YELLOW)


def tb_new_fax(c):
    page(c, 1, 2, 11, 16)
    sparkle(c, 12, 4, 4.5)


def tb_export_log(c):
    page(c, 1, 0, 11, 15)
    arrow(c, [(7, 11), (15.5, 11)], 2.0, 3.0, GREEN, GREEN_DARK)


def tb_view(c):
    page(c, 1, 0, 11, 14)
    magnifier(c, 9, 8, 3.5)


def tb_print(c):
    h = c.hair
    page(c, 4, 0, 12, 7, fold=2, lines=False)
    c.rect(0, 6, 16, 13, INK)
    c.rect(h, 6 + h, 16 - h, 13 - h, GREY)
    c.rect(h, 6 + h, 16 - h, 7 + h, WHITE)
    c.rect(3, 11, 13, 16, INK)
    c.rect(3 + h, 11, 13 - h, 16 - h, PAPER)
    c.rect(12, 8, 14, 9, GREEN)


def tb_details(c):
    page(c, 1, 0, 12, 15)
    badge(c, 11.5, 11.5, 4, BLUE, BLUE_DARK)
    c.rect(11, 11, 12.2, 14.5, WHITE)
    c.rect(11, 9, 12.2, 10, WHITE)


def tb_route(c):
    page(c, 0, 0, 8, 11, fold=2)
    arrow(c, [(5, 12.5), (9.5, 12.5)], 1.4, 2.2, GREEN, GREEN_DARK)
    person(c, 12.5, 5)


def tb_resubmit(c):
    # A page with an arrow going round: sent once more.
    page(c, 1, 0, 11, 14)
    c.ring(11, 11.5, 4.6, WHITE, 3.2, 85, 360)
    c.polygon([(10, 5), (10, 11.5), (14, 8.2)], WHITE)
    c.ring(11, 11.5, 4.0, GREEN, 2.0, 90, 360)
    c.polygon([(10.5, 5.5), (10.5, 11), (13.5, 8.2)], GREEN)


def tb_delete(c):
    h = c.hair
    c.rect(6, 0, 10, 2, INK)
    c.rect(6 + h, h, 10 - h, 2, GREY)
    c.rect(2, 2, 14, 4, INK)
    c.rect(2 + h, 2 + h, 14 - h, 4 - h, GREY)
    c.polygon([(3, 4), (13, 4), (12, 16), (4, 16)], INK)
    c.polygon([(3 + h * 1.2, 4), (13 - h * 1.2, 4), (12 - h * 1.1, 16 - h), (4 + h * 1.1, 16 - h)],
              WHITE)
    for x in (6, 8, 10):
        c.rect(x, 6, x + 1, 14, GREY)


def tb_sent(c):
    draw_state_sent(c)


def tb_read(c):
    draw_state_read(c)


def tb_failed(c):
    draw_state_failed(c)


def tb_about(c):
    badge(c, 8, 8, 7.5, BLUE, BLUE_DARK)
    c.ring(8, 6, 2.8, WHITE, 1.6, 270, 150)
    c.line([(9.6, 8.1), (8, 9.4), (8, 10.4)], 1.6, WHITE)
    c.rect(7.2, 11.6, 8.8, 13.2, WHITE)


TOOLBAR = [tb_new_fax, tb_export_log, tb_view, tb_print, tb_details, tb_route, tb_resubmit,
           tb_delete, tb_sent, tb_read, tb_failed, tb_about]


# ---- file formats --------------------------------------------------------------------------------------

def row_bytes(width, bits):
    return ((width * bits + 31) // 32) * 4


def and_mask(size, opaque):
    """1 bit per pixel, 1 = transparent, rows bottom-up and padded to 32 bits."""
    out = bytearray()
    stride = row_bytes(size, 1)
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def image_32(c):
    size = c.size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = c.rgba[y][x]
            if a <= 0.0:
                pixels += b"\0\0\0\0"
                continue
            pixels += bytes((round(b / a * 255), round(g / a * 255), round(r / a * 255),
                             round(a * 255)))
    mask = and_mask(size, lambda x, y: c.rgba[y][x][3] >= 0.5)
    return header + bytes(pixels) + mask


def palette_16():
    return b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)


def pixels_4(c, background):
    """4-bit pixels, rows bottom-up; empty pixels get the background index."""
    size = c.size
    out = bytearray()
    stride = row_bytes(size, 4)
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            colour = c.index[y][x]
            v = background if colour is None else colour.vga
            row[x // 2] |= v << 4 if x % 2 == 0 else v
        out += row
    return bytes(out)


def image_4(c):
    size = c.size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    mask = and_mask(size, lambda x, y: c.index[y][x] is not None)
    return header + palette_16() + pixels_4(c, 0) + mask


def write_ico(path, draw):
    images = []
    for size, smooth in ((32, True), (16, True), (32, False), (16, False)):
        c = Canvas(size, smooth)
        draw(c)
        data = image_32(c) if smooth else image_4(c)
        images.append((size, 0 if smooth else 16, 32 if smooth else 4, data))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, colours, bits, data in images:
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def write_toolbar(path, draws):
    width, height = 16 * len(draws), 16
    strip = [[None] * width for _ in range(height)]
    for i, draw in enumerate(draws):
        c = Canvas(16, False)
        draw(c)
        for y in range(16):
            for x in range(16):
                colour = c.index[y][x]
                if colour is not None and colour.vga == SILVER:
                    raise SystemExit(f"toolbar image {i} uses the transparent grey")
                strip[y][16 * i + x] = colour
    stride = row_bytes(width, 4)
    pixels = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            colour = strip[y][x]
            v = SILVER if colour is None else colour.vga
            row[x // 2] |= v << 4 if x % 2 == 0 else v
        pixels += row
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    offset = 14 + len(info) + 64
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + palette_16() + bytes(pixels))


def main(argv):
    if len(argv) != 2:
        print("usage: drawicons.py OUTPUT_DIR", file=sys.stderr)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name, draw in ICONS:
        write_ico(os.path.join(out, name), draw)
    write_toolbar(os.path.join(out, "toolbar.bmp"), TOOLBAR)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
