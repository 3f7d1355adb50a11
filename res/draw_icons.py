#!/usr/bin/env python3
"""Draws the worksheet's own tool-bar images and its icon as XPM files.

The images are built from a few filled shapes (polygons, circles, thick
lines), each sampled 4x4 times per pixel; a pixel takes the colour of the
topmost shape that covers at least half of it. Run it from this folder after
changing a drawing: python3 draw_icons.py
"""

import math

SAMPLES = 4


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
    return lambda x, y: inside_polygon(x, y, points)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: r_inner ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= r_outer ** 2


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def line(x0, y0, x1, y1, width):
    def covers(x, y):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy
        t = 0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return covers


def render(size, layers):
    """layers: list of (colour, shape); later layers lie on top."""
    pixels = []
    for row in range(size):
        line_pixels = []
        for col in range(size):
            colour = None
            for fill, shape in layers:
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if shape(col + (sx + 0.5) / SAMPLES, row + (sy + 0.5) / SAMPLES):
                            hits += 1
                if hits * 2 >= SAMPLES * SAMPLES:
                    colour = fill
            line_pixels.append(colour)
        pixels.append(line_pixels)
    return pixels


def write_xpm(name, pixels):
    codes = ".#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
    colours = {None: " "}
    for row in pixels:
        for colour in row:
            if colour not in colours:
                colours[colour] = codes[len(colours) - 1]
    size = len(pixels)
    lines = [f"/* XPM */\nstatic const char* const {name}_xpm[] = {{",
             f'"{size} {size} {len(colours)} 1",']
    for colour, code in colours.items():
        lines.append(f'"{code} c {"None" if colour is None else colour}",')
    for i, row in enumerate(pixels):
        text = "".join(colours[c] for c in row)
        lines.append(f'"{text}"' + ("," if i + 1 < size else ""))
    lines.append("};\n")
    with open(f"{name}.xpm", "w") as out:
        out.write("\n".join(lines))


PAGE_EDGE = "#6E6E6E"
PAGE = "#FFFFFF"
TEXT = "#505050"


def page(x0, y0, x1, y1, lines_from, lines_to, text_lines):
    """A sheet of paper with a folded corner and lines of text."""
    fold = 3
    layers = [
        (PAGE_EDGE, polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])),
        (PAGE, polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.5, y0 + 1), (x1 - 1, y0 + fold + 0.5),
                        (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)])),
        ("#C8C8C8", polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])),
    ]
    for y in text_lines:
        layers.append((TEXT, rect(x0 + 2.5, y, lines_to, y + 1)))
    return layers


def execute():
    triangle = [(3, 1.5), (14, 8), (3, 14.5)]
    inner = [(4.2, 3.6), (12, 8), (4.2, 12.4)]
    return [("#1E6B1E", polygon(triangle)), ("#3CB043", polygon(inner))]


def save_output():
    layers = page(1, 0, 12, 15, 3, 9.5, [4, 6, 8, 10])
    # A blue arrow pointing down into a tray: "write to a file".
    layers += [
        ("#1F4E9A", rect(11, 5, 14, 11)),
        ("#1F4E9A", polygon([(8.5, 10), (16, 10), (12.25, 15)])),
        ("#3C78D8", rect(11.8, 6, 13.2, 11)),
        ("#3C78D8", polygon([(10.5, 11), (14, 11), (12.25, 13.6)])),
    ]
    return layers


def find_next():
    return [
        ("#404040", ring(6, 6, 5, 3.2)),
        ("#CFE3F7", circle(6, 6, 3.2)),
        ("#404040", line(9.5, 9.5, 14, 14, 2.6)),
        ("#1F4E9A", polygon([(9, 1.5), (15.5, 4.5), (9, 7.5)])),
    ]


def clear_output():
    layers = page(1, 0, 13, 15, 3, 10.5, [4, 6, 8, 10, 12])
    layers += [
        ("#B00000", line(6, 6, 15, 15, 3)),
        ("#B00000", line(15, 6, 6, 15, 3)),
        ("#E53935", line(6.5, 6.5, 14.5, 14.5, 1.6)),
        ("#E53935", line(14.5, 6.5, 6.5, 14.5, 1.6)),
    ]
    return layers


def history():
    layers = [
        ("#404040", circle(8, 8, 7.5)),
        ("#FFFFFF", circle(8, 8, 6.2)),
    ]
    for hour in range(12):
        angle = hour * math.pi / 6
        layers.append(("#808080", line(8 + 5.2 * math.sin(angle), 8 - 5.2 * math.cos(angle),
                                       8 + 5.9 * math.sin(angle), 8 - 5.9 * math.cos(angle), 1)))
    layers += [
        ("#202020", line(8, 8, 8, 3.2, 1.6)),
        ("#202020", line(8, 8, 11.5, 9.8, 1.6)),
        ("#B00000", circle(8, 8, 1.2)),
    ]
    return layers


def execute_statement():
    # The execute triangle, smaller, beside a bar: one statement of the script.
    triangle = [(6, 3), (14.5, 8), (6, 13)]
    inner = [(7.2, 5.1), (12.5, 8), (7.2, 10.9)]
    return [("#404040", rect(2, 3, 4, 13)), ("#1E6B1E", polygon(triangle)), ("#3CB043", polygon(inner))]


def cancel_execution():
    # A red octagon with a white bar: the stop sign.
    def octagon(cx, cy, r):
        return [(cx + r * math.cos(math.pi / 8 + k * math.pi / 4), cy + r * math.sin(math.pi / 8 + k * math.pi / 4))
                for k in range(8)]
    return [
        ("#8B0000", polygon(octagon(8, 8, 7.6))),
        ("#D32F2F", polygon(octagon(8, 8, 6.4))),
        ("#FFFFFF", rect(3.5, 6.8, 12.5, 9.2)),
    ]


def app_icon(size):
    s = size / 32.0
    def p(v):
        return v * s
    body_top, body_bottom, left, right = p(8), p(24), p(5), p(23)
    cx, rx, ry = (left + right) / 2, (right - left) / 2, p(3.5)
    layers = [
        ("#1B3F73", rect(left, body_top, right, body_bottom)),
        ("#1B3F73", ellipse(cx, body_bottom, rx, ry)),
        ("#2F6DB5", rect(left + p(1), body_top, right - p(1), body_bottom)),
        ("#2F6DB5", ellipse(cx, body_bottom, rx - p(1), ry - p(1))),
        ("#1B3F73", ellipse(cx, body_top, rx, ry)),
        ("#7FB2EA", ellipse(cx, body_top, rx - p(1), ry - p(1))),
        ("#1B3F73", line(left + p(1), p(16), right - p(1), p(16), p(1))),
    ]
    # A sheet of the worksheet in front of the database, with its text lines.
    sheet = [(p(15), p(13)), (p(27), p(13)), (p(29), p(15)), (p(29), p(30)), (p(15), p(30))]
    layers += [
        (PAGE_EDGE, polygon(sheet)),
        (PAGE, polygon([(p(16), p(14)), (p(26.5), p(14)), (p(28), p(15.5)), (p(28), p(29)), (p(16), p(29))])),
    ]
    for y in ((17, 20, 23, 26) if size >= 32 else (20, 25)):
        layers.append((TEXT, rect(p(18), p(y), p(26), p(y) + max(1, p(1.2)))))
    layers.append(("#3CB043", polygon([(p(18), p(16.5)), (p(21), p(18)), (p(18), p(19.5))])))
    return layers


if __name__ == "__main__":
    write_xpm("execute", render(16, execute()))
    write_xpm("cancel_execution", render(16, cancel_execution()))
    write_xpm("execute_statement", render(16, execute_statement()))
    write_xpm("save_output", render(16, save_output()))
    write_xpm("find_next", render(16, find_next()))
    write_xpm("clear_output", render(16, clear_output()))
    write_xpm("history", render(16, history()))
    write_xpm("tarnwell_32", render(32, app_icon(32)))
    write_xpm("tarnwell_16", render(16, app_icon(16)))
