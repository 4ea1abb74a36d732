#!/usr/bin/env python3
"""Writes data/countriescodes.txt, the country table shown in the Profile tab.

Source: Debian's iso-codes package (/usr/share/iso-codes/json/iso_3166-1.json).
One country a line, "<name> <two-letter code>", sorted by name, Latin-1, LF line ends.
The common name is used where iso-codes gives one ("Bolivia", not "Bolivia, Plurinational
State of").

The table holds 241 lines, so territories without a permanent population of their own or
that exist only for administration are left out:
  AQ Antarctica
  BV Bouvet Island
  CX Christmas Island
  GS South Georgia and the South Sandwich Islands
  HM Heard Island and McDonald Islands
  IO British Indian Ocean Territory
  TF French Southern Territories
  UM United States Minor Outlying Islands

Usage: tools/gen-countries.py [iso_3166-1.json] [output]
"""

import json
import sys
import unicodedata
from pathlib import Path

LEFT_OUT = {"AQ", "BV", "CX", "GS", "HM", "IO", "TF", "UM"}
TABLE_LINES = 241

DEFAULT_SOURCE = "/usr/share/iso-codes/json/iso_3166-1.json"
DEFAULT_OUTPUT = Path(__file__).resolve().parent.parent / "data" / "countriescodes.txt"


def to_latin1(text):
    """Keeps Latin-1 characters and spells any other one with its base letters."""
    out = []
    for ch in text:
        try:
            ch.encode("latin-1")
            out.append(ch)
        except UnicodeEncodeError:
            base = unicodedata.normalize("NFKD", ch).encode("latin-1", "ignore").decode("latin-1")
            out.append(base or "?")
    return "".join(out)


def sort_key(name):
    # Accented initials sort with their base letter: "Åland Islands" comes among the A's.
    plain = unicodedata.normalize("NFKD", name)
    plain = "".join(c for c in plain if not unicodedata.combining(c))
    return (plain.casefold(), name)


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_SOURCE
    output = Path(sys.argv[2]) if len(sys.argv) > 2 else DEFAULT_OUTPUT
    with open(source, encoding="utf-8") as f:
        entries = json.load(f)["3166-1"]

    rows = []
    for entry in entries:
        code = entry["alpha_2"]
        if code in LEFT_OUT:
            continue
        name = to_latin1(" ".join(entry.get("common_name", entry["name"]).split()))
        rows.append((name, code))
    rows.sort(key=lambda row: sort_key(row[0]))

    if len(rows) > TABLE_LINES:
        sys.exit(f"{len(rows)} countries do not fit the table's {TABLE_LINES} lines")
    text = "".join(f"{name} {code}\n" for name, code in rows)
    output.write_bytes(text.encode("latin-1"))
    print(f"wrote {len(rows)} countries to {output}")


if __name__ == "__main__":
    main()
