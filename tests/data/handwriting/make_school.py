#!/usr/bin/env python3
"""Writes school.txt: the kanji of the six school years drawn as straight strokes on a pad.

The kanji and their school year come from Debian's kanjidic (the G1 to G6 entries of
/usr/share/edict/kanjidic). The stroke centre lines come from the npm package hanzi-writer-data
2.0.1, as for grade1.txt (see make_strokes.py and ARPHICPL.TXT): pass the folder holding its JSON
files. Each stroke is kept as the straight segments between the vertices of its centre line,
without wobble, the brush's turns at its ends dropped. Every character is drawn at the size and place
of grade1.txt on a pad of 300 pixels: the size the bare engine reads best, so that scaling the
strokes has to earn its keep against it. Kanji the package lacks, or has in another stroke count than kanjidic gives, are left out
(their form there is not the one Japanese schools teach). A fixed seed keeps the file
reproducible.
"""
import json
import math
import random
import sys
from pathlib import Path

from make_strokes import PAD, medians

KANJIDIC = Path("/usr/share/edict/kanjidic")


def school_kanji():
    out = []
    for line in KANJIDIC.read_bytes().decode("euc_jp", errors="replace").splitlines():
        fields = line.split(" ")
        if line.startswith("#") or len(fields) < 3:
            continue
        grade = next((f[1:] for f in fields if f[:1] == "G" and f[1:].isdigit()), None)
        strokes = next((f[1:] for f in fields if f[:1] == "S" and f[1:].isdigit()), None)
        if grade in ("1", "2", "3", "4", "5", "6"):
            out.append((int(grade), fields[0], int(strokes)))
    return sorted(out, key=lambda k: k[0])


def draw(strokes, rng):
    # Font units (1024, y up, baseline at 900) to pad pixels, y downwards.
    # As grade1.txt places them: the font's em a little under the pad, a little off its centre.
    s = rng.uniform(0.22, 0.26)
    cx, cy = PAD / 2 + rng.uniform(-8, 8), PAD / 2 + rng.uniform(-8, 8)
    return [[(round(cx + (x - 512) * s), round(cy + (388 - y) * s)) for x, y in stroke]
            for stroke in strokes]


def main():
    folder = Path(sys.argv[1])
    rng = random.Random(6)
    lines = [f"# pad {PAD}: character, tab, strokes separated by ' | ', points 'x,y'"]
    for _, char, count in school_kanji():
        if not (folder / f"{char}.json").exists() and char not in "気五八":
            continue
        strokes = medians(folder, char)
        if len(strokes) != count:
            continue
        text = " | ".join(" ".join(f"{x},{y}" for x, y in s) for s in draw(strokes, rng))
        lines.append(f"{char}\t{text}")
    Path(__file__).with_name("school.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
