#!/usr/bin/env python3
"""Draws the About window's picture: a backgammon board in the starting position, the dice
showing an opening 6-5 and the doubling cube on the bar.

Writes src/app/resources/about.jpg. The drawing is SVG rendered by ImageMagick
(/usr/bin/convert from Debian).

Usage: tools/art/about_picture.py [output.jpg]
"""

import subprocess
import sys
import tempfile
from pathlib import Path

CONVERT = "/usr/bin/convert"
ROOT = Path(__file__).resolve().parents[2]
DEFAULT_OUTPUT = ROOT / "src" / "app" / "resources" / "about.jpg"

WIDTH, HEIGHT = 420, 300
FRAME = 18            # wood around the playing area
BAR = 26              # width of the bar between the two halves
POINT_W = 29          # width of one point
POINT_H = 112         # length of a point's triangle
RADIUS = 12.5         # checker radius
HALF_W = 6 * POINT_W
LEFT_X = FRAME
RIGHT_X = FRAME + HALF_W + BAR
TOP_Y = FRAME
BOTTOM_Y = HEIGHT - FRAME

FELT = "#1d5a3c"
WOOD = "#6e4322"
WOOD_DARK = "#4a2b14"
LIGHT_POINT = "#eadbb4"
DARK_POINT = "#a9352c"

# Starting position, counted for the light side moving from 24 down to 1.
LIGHT = {24: 2, 13: 5, 8: 3, 6: 5}
DARK = {1: 2, 12: 5, 17: 3, 19: 5}


def point_origin(point):
    """Left edge x of a point and whether it hangs from the top."""
    if 1 <= point <= 6:
        return RIGHT_X + (6 - point) * POINT_W, False
    if 7 <= point <= 12:
        return LEFT_X + (12 - point) * POINT_W, False
    if 13 <= point <= 18:
        return LEFT_X + (point - 13) * POINT_W, True
    return RIGHT_X + (point - 19) * POINT_W, True


def triangle(point):
    x, top = point_origin(point)
    colour = DARK_POINT if point % 2 else LIGHT_POINT
    if top:
        pts = f"{x},{TOP_Y} {x + POINT_W},{TOP_Y} {x + POINT_W / 2},{TOP_Y + POINT_H}"
    else:
        pts = f"{x},{BOTTOM_Y} {x + POINT_W},{BOTTOM_Y} {x + POINT_W / 2},{BOTTOM_Y - POINT_H}"
    return f'<polygon points="{pts}" fill="{colour}" stroke="#00000040" stroke-width="0.6"/>'


def checker(cx, cy, light):
    body, rim, shine = ("#f6f1e6", "#b5a789", "#ffffff") if light else ("#2a2522", "#0c0a09", "#5a514b")
    return (
        f'<circle cx="{cx + 1.5}" cy="{cy + 2}" r="{RADIUS}" fill="#00000055"/>'
        f'<circle cx="{cx}" cy="{cy}" r="{RADIUS}" fill="{body}" stroke="{rim}" stroke-width="1.4"/>'
        f'<circle cx="{cx}" cy="{cy}" r="{RADIUS - 4.5}" fill="none" stroke="{rim}" stroke-width="1"/>'
        f'<circle cx="{cx - 4}" cy="{cy - 4.5}" r="3" fill="{shine}" opacity="0.55"/>'
    )


def stacks(position, light):
    out = []
    for point, count in position.items():
        x, top = point_origin(point)
        cx = x + POINT_W / 2
        for i in range(count):
            step = (RADIUS * 2) * i + RADIUS + 1
            cy = TOP_Y + step if top else BOTTOM_Y - step
            out.append(checker(cx, cy, light))
    return out


PIPS = {
    5: [(-1, -1), (1, -1), (0, 0), (-1, 1), (1, 1)],
    6: [(-1, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (1, 1)],
}


def die(cx, cy, value):
    size = 30
    x, y = cx - size / 2, cy - size / 2
    parts = [
        f'<rect x="{x + 2}" y="{y + 3}" width="{size}" height="{size}" rx="6" fill="#00000066"/>',
        f'<rect x="{x}" y="{y}" width="{size}" height="{size}" rx="6" '
        f'fill="#fbf7ee" stroke="#9c8f74" stroke-width="1.2"/>',
    ]
    for dx, dy in PIPS[value]:
        parts.append(f'<circle cx="{cx + dx * 8}" cy="{cy + dy * 8}" r="2.9" fill="#7a1f1a"/>')
    return "".join(parts)


def cube(cx, cy):
    s = 22
    return (
        f'<rect x="{cx - s / 2 + 1.5}" y="{cy - s / 2 + 2}" width="{s}" height="{s}" rx="4" fill="#00000066"/>'
        f'<rect x="{cx - s / 2}" y="{cy - s / 2}" width="{s}" height="{s}" rx="4" fill="#f3ecd9" '
        f'stroke="#8a7a57" stroke-width="1"/>'
        f'<text x="{cx}" y="{cy + 4.5}" font-family="DejaVu Sans" font-weight="bold" font-size="12" '
        f'fill="#3a2a18" text-anchor="middle">64</text>'
    )


def svg():
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}">',
        f'<rect width="{WIDTH}" height="{HEIGHT}" fill="{WOOD_DARK}"/>',
        f'<rect x="4" y="4" width="{WIDTH - 8}" height="{HEIGHT - 8}" rx="10" fill="{WOOD}" '
        f'stroke="#8d5a31" stroke-width="2"/>',
    ]
    # Grain lines give the frame some life.
    for i, y in enumerate(range(9, HEIGHT - 6, 7)):
        shade = "#7b4c27" if i % 2 else "#623a1c"
        parts.append(f'<line x1="8" y1="{y}" x2="{WIDTH - 8}" y2="{y + (i % 3) - 1}" '
                     f'stroke="{shade}" stroke-width="1.2" opacity="0.5"/>')
    for x in (LEFT_X, RIGHT_X):
        parts.append(f'<rect x="{x - 2}" y="{TOP_Y - 2}" width="{HALF_W + 4}" '
                     f'height="{BOTTOM_Y - TOP_Y + 4}" fill="{WOOD_DARK}"/>')
        parts.append(f'<rect x="{x}" y="{TOP_Y}" width="{HALF_W}" height="{BOTTOM_Y - TOP_Y}" fill="{FELT}"/>')
    parts += [triangle(p) for p in range(1, 25)]
    bar_x = LEFT_X + HALF_W
    parts.append(f'<rect x="{bar_x + 2}" y="{TOP_Y - 2}" width="{BAR - 4}" height="{BOTTOM_Y - TOP_Y + 4}" '
                 f'fill="{WOOD}" stroke="{WOOD_DARK}" stroke-width="1"/>')
    parts += stacks(LIGHT, True)
    parts += stacks(DARK, False)
    mid_y = HEIGHT / 2
    parts.append(die(RIGHT_X + HALF_W / 2 - 19, mid_y - 2, 6))
    parts.append(die(RIGHT_X + HALF_W / 2 + 21, mid_y + 3, 5))
    parts.append(cube(bar_x + BAR / 2, mid_y))
    parts.append("</svg>")
    return "\n".join(parts)


def main():
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_OUTPUT
    with tempfile.TemporaryDirectory() as tmp:
        source = Path(tmp) / "about.svg"
        source.write_text(svg(), encoding="utf-8")
        subprocess.run([CONVERT, str(source), "-strip", "-quality", "90", str(output)], check=True)
    print(f"wrote {output}")


if __name__ == "__main__":
    main()
