#!/usr/bin/env python3
"""Draws the worksheet's tool-bar images and its icon from one set of shapes.

Each drawing is a list of layers (colour, shape) on a square grid of units
(16 for the tool bar, 32 for the icon); later layers lie on top, and a layer
of colour None cuts a hole. A drawing is rasterised at any size by sampling
every pixel on a grid of sub-pixels, each taking the colour of the topmost
shape that covers it, and averaging them: anti-aliased edges with an alpha
channel, so that the images sit on light and dark tool bars alike.

The images have dark outlines around light fills: the outline carries them
on a light background, the fill on a dark one, and both lose their colour
when the toolkit greys a disabled tool.

Writes, from this folder (run it after changing a drawing):
  images_png.h      every image as PNG bytes: the tool-bar images at 16 and
                    32 px (1x and 2x), the icon at the window icon sizes;
  tarnwell_N.png    the icon at each of those sizes, for the desktop;
  ../packaging/tarnwell.svg  the icon as a scalable drawing.

    python3 draw_icons.py
"""

import math
import struct
import zlib

TOOL_GRID = 16
TOOL_SIZES = (16, 32)
ICON_GRID = 32
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


class Shape:
    def __init__(self, covers, bbox, svg):
        self.covers, self.bbox, self.svg = covers, bbox, svg


def fmt(v):
    return f"{v:.3f}".rstrip("0").rstrip(".")


def inside_polygon(x, y, points):
    result = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def polygon(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    d = "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in points) + " Z"
    return Shape(lambda x, y: inside_polygon(x, y, points), (min(xs), min(ys), max(xs), max(ys)),
                 lambda colour: f'<path d="{d}" fill="{colour}"/>')


def rect(x0, y0, x1, y1):
    return polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


def ellipse(cx, cy, rx, ry):
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1,
                 (cx - rx, cy - ry, cx + rx, cy + ry),
                 lambda colour: f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(rx)}" ry="{fmt(ry)}" '
                                f'fill="{colour}"/>')


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def near_segment(x, y, x0, y0, x1, y1, half):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
    px, py = x0 + t * dx, y0 + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half * half


def stroke(points, width, closed=False):
    """A line of the given width through points, with round ends and joins."""
    segments = list(zip(points, points[1:] + (points[:1] if closed else [])))
    half = width / 2
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    d = "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in points) + (" Z" if closed else "")
    return Shape(lambda x, y: any(near_segment(x, y, *a, *b, half) for a, b in segments),
                 (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half),
                 lambda colour: f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{fmt(width)}" '
                                f'stroke-linecap="round" stroke-linejoin="round"/>')


def line(x0, y0, x1, y1, width):
    return stroke([(x0, y0), (x1, y1)], width)


# Outlines: near black with a hint of the fill's hue.
INK = "#262626"


def outlined(points, fill, edge=INK, width=1.0):
    """A filled polygon with an outline of width centred on its edge."""
    return [(fill, polygon(points)), (edge, stroke(points, width, closed=True))]


def outlined_line(x0, y0, x1, y1, width, fill, edge=INK):
    """A thick line in fill with a one-unit outline around it."""
    return [(edge, line(x0, y0, x1, y1, width + 2)), (fill, line(x0, y0, x1, y1, width))]


def outlined_circle(cx, cy, r, fill, edge=INK):
    return [(edge, circle(cx, cy, r + 0.5)), (fill, circle(cx, cy, r - 0.5))]


# --- Rasterising --------------------------------------------------------------

def samples_for(size):
    return 8 if size <= 32 else 4


def render(size, grid, layers):
    """RGBA rows (premultiplied averages turned back to straight colour)."""
    scale = size / grid
    n = samples_for(size)
    parsed = []
    for colour, shape in layers:
        rgb = None if colour is None else tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))
        x0, y0, x1, y1 = (v * scale for v in shape.bbox)
        parsed.append((rgb, shape.covers, math.floor(x0), math.floor(y0), math.ceil(x1), math.ceil(y1)))
    rows = []
    for row in range(size):
        out = bytearray()
        for col in range(size):
            here = [p for p in reversed(parsed) if p[2] <= col < p[4] and p[3] <= row < p[5]]
            r = g = b = a = 0
            for sy in range(n):
                y = (row + (sy + 0.5) / n) / scale
                for sx in range(n):
                    x = (col + (sx + 0.5) / n) / scale
                    for rgb, covers, *_ in here:
                        if covers(x, y):
                            if rgb is not None:
                                r, g, b, a = r + rgb[0], g + rgb[1], b + rgb[2], a + 1
                            break
            if a == 0:
                out += bytes(4)
            else:
                out += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / (n * n))))
        rows.append(bytes(out))
    return rows


def png(rows):
    """An 8-bit RGBA PNG without time stamps: the same drawing, the same bytes."""
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# --- The tool-bar images (16 units) ------------------------------------------

PAGE = "#FFFFFF"
FOLD = "#D0D0D0"
TEXT = "#5A6A80"


def page(x0, y0, x1, y1, text_to, text_lines, fill=PAGE):
    """A sheet of paper with a folded corner and lines of text."""
    fold = 3
    layers = outlined([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], fill)
    layers += outlined([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], FOLD)
    for y in text_lines:
        layers.append((TEXT, rect(x0 + 2, y, text_to, y + 1)))
    return layers


def new():
    layers = page(2.5, 0.5, 13.5, 15.5, 0, [])
    # A yellow spark: the page is new.
    star = [(4.5 + 4 * math.cos(k * math.pi / 4 - math.pi / 2) * (1 if k % 2 == 0 else 0.4),
             4.5 + 4 * math.sin(k * math.pi / 4 - math.pi / 2) * (1 if k % 2 == 0 else 0.4)) for k in range(8)]
    return layers + outlined(star, "#FFD23F", "#6B4A00", 0.8)


FOLDER_EDGE = "#5C3D00"


def open_():
    back = [(0.5, 2.5), (5.5, 2.5), (7, 4.5), (13.5, 4.5), (13.5, 14.5), (0.5, 14.5)]
    front = [(3, 7.5), (15.5, 7.5), (13.5, 14.5), (0.5, 14.5)]
    return outlined(back, "#D9A032", FOLDER_EDGE) + outlined(front, "#FFD66B", FOLDER_EDGE)


def save():
    body = [(1.5, 1.5), (12.5, 1.5), (14.5, 3.5), (14.5, 14.5), (1.5, 14.5)]
    return (outlined(body, "#3F78C8", "#142E57")
            + outlined([(4.5, 1.5), (11.5, 1.5), (11.5, 6.5), (4.5, 6.5)], "#E4EAF2", "#142E57")
            + [("#142E57", rect(8.5, 2.5, 10.5, 5.5))]
            + outlined([(3.5, 9.5), (12.5, 9.5), (12.5, 14.5), (3.5, 14.5)], PAGE, "#142E57"))


def cut():
    layers = outlined_line(5.5, 9.5, 12, 1.5, 1.6, "#E8ECF0") + outlined_line(10.5, 9.5, 4, 1.5, 1.6, "#E8ECF0")
    for cx in (4.2, 11.8):
        layers += [(INK, circle(cx, 12.3, 3.3)), ("#E53935", circle(cx, 12.3, 2.4)),
                   (INK, circle(cx, 12.3, 1.5)), (None, circle(cx, 12.3, 0.8))]
    return layers + [(INK, circle(8, 7.6, 0.9))]


def copy():
    return (outlined([(0.5, 0.5), (9.5, 0.5), (9.5, 11.5), (0.5, 11.5)], "#DCE8F7")
            + page(5.5, 4.5, 15.5, 15.5, 13, [8, 10, 12]))


def paste():
    board = [(1.5, 2.5), (12.5, 2.5), (12.5, 15.5), (1.5, 15.5)]
    clip = [(4.5, 0.5), (9.5, 0.5), (9.5, 4.5), (4.5, 4.5)]
    return (outlined(board, "#C98B3C", "#4A2E0C") + outlined(clip, "#E6E6E6")
            + page(6.5, 6.5, 15.5, 15.5, 12.5, [10, 12]))


def magnifier(cx, cy, r, handle_to):
    tip = r * 0.72
    return (outlined_line(cx + tip, cy + tip, handle_to, handle_to, 1.8, "#E0A030")
            + outlined_circle(cx, cy, r, "#BFDCF7") + [(INK, stroke(
                [(cx + r * 0.55 * math.cos(a), cy + r * 0.55 * math.sin(a)) for a in (3.3, 3.9, 4.5)], 0.9))])


def find():
    return magnifier(6.5, 6.5, 5, 14.5)


ARROW_FILL, ARROW_EDGE = "#5B9BE0", "#12356B"


def arrow_right(x0=1.5, x1=14.5):
    mid = (x0 + x1) / 2 + 0.5
    return [(x0, 5.5), (mid, 5.5), (mid, 2), (x1, 8), (mid, 14), (mid, 10.5), (x0, 10.5)]


def next_script():
    return outlined(arrow_right(), ARROW_FILL, ARROW_EDGE)


def previous_script():
    return outlined([(16 - x, y) for x, y in arrow_right()], ARROW_FILL, ARROW_EDGE)


def find_next():
    return (magnifier(5.5, 5.5, 4, 12.5)
            + outlined([(9.5, 9.5), (12.5, 9.5), (12.5, 7.5), (15.5, 11.5), (12.5, 15.5), (12.5, 13.5),
                        (9.5, 13.5)], ARROW_FILL, ARROW_EDGE))


GO_FILL, GO_EDGE = "#45C04D", "#0F4A12"


def execute():
    return outlined([(3.5, 1.5), (14.5, 8), (3.5, 14.5)], GO_FILL, GO_EDGE)


def execute_statement():
    # The execute triangle, smaller, beside a bar: one statement of the script.
    return (outlined([(1.5, 2.5), (4.5, 2.5), (4.5, 13.5), (1.5, 13.5)], "#B8C4D4")
            + outlined([(6.5, 2.5), (15, 8), (6.5, 13.5)], GO_FILL, GO_EDGE))


def cancel_execution():
    # A red octagon with a white bar: the stop sign.
    octagon = [(8 + 7 * math.cos(math.pi / 8 + k * math.pi / 4), 8 + 7 * math.sin(math.pi / 8 + k * math.pi / 4))
               for k in range(8)]
    return outlined(octagon, "#E53935", "#5E0000") + [(PAGE, rect(3.5, 6.8, 12.5, 9.2))]


def save_output():
    # A page and a blue arrow pointing down: "write to a file".
    arrow = [(10.5, 5.5), (13.5, 5.5), (13.5, 10), (15.5, 10), (12, 15), (8.5, 10), (10.5, 10)]
    return page(0.5, 0.5, 11.5, 15.5, 9, [4, 6, 8, 10, 12]) + outlined(arrow, ARROW_FILL, ARROW_EDGE)


def clear_output():
    # A page crossed out in red; the first stroke is filled again over the
    # outline of the second, so that they cross as one mark.
    return (page(0.5, 0.5, 12.5, 15.5, 10, [4, 6, 8, 10, 12])
            + outlined_line(7, 7, 14, 14, 2, "#F04A45", "#5E0000")
            + outlined_line(14, 7, 7, 14, 2, "#F04A45", "#5E0000")
            + [("#F04A45", line(7, 7, 14, 14, 2))])


def history():
    layers = outlined_circle(8, 8, 7, "#FFFFFF")
    for hour in range(0, 12, 3):
        angle = hour * math.pi / 6
        layers.append(("#808080", line(8 + 4.8 * math.sin(angle), 8 - 4.8 * math.cos(angle),
                                       8 + 5.6 * math.sin(angle), 8 - 5.6 * math.cos(angle), 1)))
    return layers + [(INK, line(8, 8, 8, 3.5, 1.5)), (INK, line(8, 8, 11.5, 9.8, 1.5)),
                     ("#D32F2F", circle(8, 8, 1.2))]


TOOL_IMAGES = {
    "new": new, "open": open_, "save": save, "cut": cut, "copy": copy, "paste": paste, "find": find,
    "previous_script": previous_script, "next_script": next_script, "find_next": find_next,
    "save_output": save_output, "clear_output": clear_output, "execute": execute,
    "execute_statement": execute_statement, "cancel_execution": cancel_execution, "history": history,
}


# --- The icon (32 units): a sheet of the worksheet in front of a database ----

def app_icon():
    body_top, body_bottom, left, right = 8, 24, 4.5, 23.5
    cx, rx, ry = (left + right) / 2, (right - left) / 2, 3.5
    layers = [
        ("#163563", rect(left, body_top, right, body_bottom)),
        ("#163563", ellipse(cx, body_bottom, rx, ry)),
        ("#3574C4", rect(left + 1.2, body_top, right - 1.2, body_bottom)),
        ("#3574C4", ellipse(cx, body_bottom, rx - 1.2, ry - 1.2)),
        ("#163563", ellipse(cx, body_top, rx, ry)),
        ("#8DBDF0", ellipse(cx, body_top, rx - 1.2, ry - 1.2)),
        ("#163563", line(left + 1, 16, right - 1, 16, 1.2)),
    ]
    sheet = [(14.5, 12.5), (26, 12.5), (29.5, 16), (29.5, 30.5), (14.5, 30.5)]
    layers += outlined(sheet, PAGE, INK, 1.4)
    layers += outlined([(26, 12.5), (26, 16), (29.5, 16)], FOLD, INK, 1.0)
    layers += outlined([(17.5, 16.5), (21.5, 18.5), (17.5, 20.5)], GO_FILL, GO_EDGE, 0.8)
    for x0, y, x1 in ((22.5, 18, 26.5), (17.5, 22.5, 26.5), (17.5, 26, 24)):
        layers.append((TEXT, rect(x0, y - 0.8, x1, y + 0.8)))
    return layers


def svg(layers, grid):
    body = "\n".join("  " + shape.svg(colour) for colour, shape in layers)
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<!-- The application icon, written by res/draw_icons.py from the drawing\n'
            f'     it also rasterises for the window and the desktop: do not edit. -->\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 {grid} {grid}">\n'
            f'{body}\n</svg>\n')


def c_array(name, data):
    lines = [f"inline constexpr unsigned char {name}[] = {{"]
    for i in range(0, len(data), 20):
        lines.append("    " + ",".join(str(b) for b in data[i:i + 20]) + ",")
    lines.append("};")
    return "\n".join(lines)


def main():
    images = []
    for name, drawing in TOOL_IMAGES.items():
        for size in TOOL_SIZES:
            images.append((name, size, png(render(size, TOOL_GRID, drawing()))))
    for size in ICON_SIZES:
        data = png(render(size, ICON_GRID, app_icon()))
        images.append(("tarnwell", size, data))
        with open(f"tarnwell_{size}.png", "wb") as out:
            out.write(data)
    with open("../packaging/tarnwell.svg", "w") as out:
        out.write(svg(app_icon(), ICON_GRID))
    arrays = "\n".join(c_array(f"k_{name}_{size}", data) for name, size, data in images)
    table = "\n".join(f'    {{"{name}", {size}, k_{name}_{size}, sizeof k_{name}_{size}}},'
                      for name, size, _ in images)
    with open("images_png.h", "w") as out:
        out.write("// The tool-bar images and the program's icon as PNG bytes, written by\n"
                  "// res/draw_icons.py: do not edit.\n#pragma once\n\n#include <cstddef>\n\n"
                  "namespace res {\n\n" + arrays + "\n\nstruct PngImage {\n    const char* name;\n"
                  "    int size;\n    const unsigned char* data;\n    std::size_t length;\n};\n\n"
                  "inline constexpr PngImage kPngImages[] = {\n" + table + "\n};\n\n}  // namespace res\n")


if __name__ == "__main__":
    main()
