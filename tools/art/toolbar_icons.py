#!/usr/bin/env python3
"""Draws the main window's tool bar and navigation icons (24 x 24 PNG with alpha).

Writes src/app/resources/icons/<name>.png. Each icon is a small SVG rendered by ImageMagick
(/usr/bin/convert from Debian).

Usage: tools/art/toolbar_icons.py [output folder]
"""

import math
import subprocess
import sys
import tempfile
from pathlib import Path

CONVERT = "/usr/bin/convert"
ROOT = Path(__file__).resolve().parents[2]
DEFAULT_OUTPUT = ROOT / "src" / "app" / "resources" / "icons"
SIZE = 24


def badge(fill, stroke):
    return f'<rect x="2" y="2" width="20" height="20" rx="5" fill="{fill}" stroke="{stroke}" stroke-width="1.2"/>'


def letter(text, colour="#ffffff", size=13):
    return (f'<text x="12" y="{12 + size * 0.36:.1f}" font-family="DejaVu-Sans-Bold" '
            f'font-size="{size}" fill="{colour}" stroke="none" text-anchor="middle">{text}</text>')


def plug(body, cord):
    return (
        f'<polyline points="2,22 4.5,21 6,17.5 7.5,15.5" fill="none" stroke="{cord}" stroke-width="2.4" '
        'stroke-linecap="round" stroke-linejoin="round"/>'
        f'<rect x="6.5" y="7" width="10.5" height="13" rx="3" fill="{body}" stroke="#1f2a22" stroke-width="1"/>'
        '<rect x="16.5" y="9" width="6" height="2.8" rx="1.2" fill="#b4bcc0" stroke="#4d5559" stroke-width="0.7"/>'
        '<rect x="16.5" y="15.2" width="6" height="2.8" rx="1.2" fill="#b4bcc0" stroke="#4d5559" stroke-width="0.7"/>'
    )


def arc_arrow(start, end, colour, radius=7.5):
    """A clockwise arc around the centre from angle start to angle end (degrees, y down),
    with an arrow head at its end."""
    def at(angle, r=radius):
        return 12 + r * math.cos(math.radians(angle)), 12 + r * math.sin(math.radians(angle))
    x1, y1 = at(end)
    # ImageMagick's renderer fills open arc paths, so the arc is drawn as a polyline.
    steps = max(2, int((end - start) / 6))
    arc = " ".join("{:.2f},{:.2f}".format(*at(start + (end - start) * i / steps)) for i in range(steps + 1))
    tx, ty = -math.sin(math.radians(end)), math.cos(math.radians(end))
    nx, ny = math.cos(math.radians(end)), math.sin(math.radians(end))
    tip = (x1 + tx * 4.2, y1 + ty * 4.2)
    left = (x1 + nx * 3.6 - tx * 0.8, y1 + ny * 3.6 - ty * 0.8)
    right = (x1 - nx * 3.6 - tx * 0.8, y1 - ny * 3.6 - ty * 0.8)
    points = " ".join(f"{x:.2f},{y:.2f}" for x, y in (tip, left, right))
    return (f'<polyline points="{arc}" fill="none" stroke="{colour}" stroke-width="2.6" '
            'stroke-linecap="round" stroke-linejoin="round"/>'
            f'<polygon points="{points}" fill="{colour}" stroke="none"/>')


def circular_arrows(colour):
    return arc_arrow(200, 318, colour) + arc_arrow(20, 138, colour)


def person(colour, dark):
    return (
        f'<circle cx="12" cy="8" r="4.6" fill="{colour}" stroke="{dark}" stroke-width="1"/>'
        f'<path d="M3.5,21.5 C3.5,14.5 20.5,14.5 20.5,21.5 Z" fill="{colour}" stroke="{dark}" stroke-width="1"/>'
    )


ICONS = {
    # Main tool bar.
    "connect": plug("#3f9b54", "#2d6b3a"),
    "disconnect": plug("#c0463c", "#7d2b25")
    + '<line x1="3" y1="3" x2="21" y2="21" stroke="#c0463c" stroke-width="2.4" stroke-linecap="round"/>',
    "refreshboard": circular_arrows("#2f6fb3"),
    "undo": '<polyline points="18.5,20 18.5,13 18.1,10.9 16.9,9.1 15.1,7.9 13,7.5 8.5,7.5" fill="none" '
    'stroke="#c77a1c" stroke-width="2.8" stroke-linecap="round" stroke-linejoin="round"/>'
    '<polygon points="2.5,7.5 9.5,2.5 9.5,12.5" fill="#c77a1c" stroke="none"/>',
    "accept": '<polyline points="4,12.5 9.5,18 20,6" fill="none" stroke="#2f8f45" stroke-width="3.4" '
    'stroke-linecap="round" stroke-linejoin="round"/>',
    "reject": '<path d="M5.5,5.5 L18.5,18.5 M18.5,5.5 L5.5,18.5" stroke="#c0392b" stroke-width="3.4" '
    'stroke-linecap="round"/>',
    "resign": '<line x1="5" y1="2.5" x2="5" y2="22" stroke="#5b4a3a" stroke-width="2" stroke-linecap="round"/>'
    '<path d="M6,3.5 C10,1.5 13,6 20,3.5 V13 C13,15.5 10,11 6,13 Z" fill="#fbfbf6" stroke="#7d7a70" '
    'stroke-width="1"/>',
    "ready": badge("#3f9b54", "#2b6c3a") + letter("R"),
    "automove": badge("#2f6fb3", "#204d7d") + letter("A"),
    "greedy": badge("#c77a1c", "#8a5412") + letter("G"),
    "double": '<rect x="3" y="3" width="18" height="18" rx="3.5" fill="#f3ecd9" stroke="#6d5f43" '
    'stroke-width="1.2"/>' + letter("2", "#3a2a18", 14),
    # Players tab.
    "refresh": circular_arrows("#2f8f45"),
    "showready": person("#4caf50", "#2b6c3a"),
    "showplaying": person("#e39b2b", "#8a5412"),
    "showonline": person("#8e9aa6", "#56606a"),
}


def render(name, body, folder, tmp):
    source = Path(tmp) / f"{name}.svg"
    source.write_text(
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
        f'viewBox="0 0 24 24">{body}</svg>', encoding="utf-8")
    target = folder / f"{name}.png"
    subprocess.run([CONVERT, "-background", "none", str(source), "-strip", f"PNG32:{target}"],
                   check=True)


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_OUTPUT
    folder.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        for name, body in ICONS.items():
            render(name, body, folder, tmp)
    print(f"wrote {len(ICONS)} icons to {folder}")


if __name__ == "__main__":
    main()
