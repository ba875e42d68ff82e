#!/usr/bin/env python3
"""Writes grade1.txt: the 80 kanji of the first school year as a learner draws them on a pad.

The stroke centre lines come from the npm package hanzi-writer-data 2.0.1 (Arphic Public
License, see ARPHICPL.TXT beside this file); unpack it with `npm pack hanzi-writer-data@2.0.1`
and pass the folder holding its JSON files. 気 is not in it (its form there is Chinese) and is
written out below. The centre lines are then drawn as a learner would: the whole character a
little rotated, sheared and squeezed, each stroke a little off its place, points about as far
apart as mouse events arrive, with a slow wobble. A fixed seed keeps the file reproducible.
五 and 八 are written out too: the source has their Chinese forms (in 五 the second stroke runs
down to the bottom and the third crosses it; in 八 the right stroke starts above the left).
"""
import json
import math
import random
import sys
from pathlib import Path

KANJI = ("一右雨円王音下火花貝学気九休玉金空月犬見五口校左三山子四糸字耳七車手十出女小上"
         "森人水正生青夕石赤千川先早草足村大男竹中虫町天田土二日入年白八百文木本名目立力林六")
PAD = 300

# Font coordinates (1024 units, y up, baseline 900) of 気, stroke by stroke.
KI = [
    [(330, 830), (210, 640)],
    [(330, 720), (560, 735), (760, 740)],
    [(360, 590), (700, 605)],
    [(240, 470), (600, 478), (790, 470), (800, 300), (840, 80), (900, 40), (930, 110)],
    [(560, 400), (400, 210), (260, 60)],
    [(300, 380), (430, 250), (560, 120)],
]

# 五 as Japanese schools teach it: the second stroke stops on the third, which starts at its foot,
# goes right and turns down onto the bottom stroke.
GO = [
    [(300, 690), (520, 712), (750, 735)],
    [(460, 680), (440, 560), (420, 450)],
    [(420, 450), (650, 470), (630, 320), (610, 160)],
    [(70, 118), (420, 145), (860, 150), (960, 112)],
]

# 八 as Japanese schools teach it: the left sweep starts at the top, the right one lower down and
# further right; both go straight in, with no brush turn at the start.
HACHI = [
    [(420, 760), (410, 600), (370, 420), (290, 250), (170, 100)],
    [(580, 640), (620, 480), (700, 310), (800, 170), (920, 90)],
]


def trimmed(stroke):
    # The centre lines follow a brush: a short turn where it touches the paper and where it
    # leaves it. A pen goes straight in and out.
    def short(a, b):
        return math.hypot(a[0] - b[0], a[1] - b[1]) < 45
    while len(stroke) > 2 and short(stroke[0], stroke[1]):
        stroke = stroke[1:]
    while len(stroke) > 2 and short(stroke[-1], stroke[-2]):
        stroke = stroke[:-1]
    return stroke


def medians(folder, char):
    if char == "気":
        return KI
    if char == "五":
        return GO
    if char == "八":
        return HACHI
    data = json.loads((folder / f"{char}.json").read_text(encoding="utf-8"))
    strokes = data["medians"]
    strokes = [trimmed(s) for s in strokes]
    # Where Japanese schools teach another stroke order than the source follows.
    for first, chars in ((0, "右"), (2, "田町男生"), (1, "王玉")):
        if char in chars:
            # 右: the sweep before the horizontal; 田: the middle vertical before the middle
            # horizontal; 王, 生: the vertical before the middle horizontal.
            strokes[first], strokes[first + 1] = strokes[first + 1], strokes[first]
    if char == "耳":
        # The long right vertical that goes through the box comes last, after the rising stroke.
        strokes.append(strokes.pop(2))
    return strokes


def draw(char, strokes, rng):
    angle = math.radians(rng.uniform(-5, 5))
    shear = rng.uniform(-0.08, 0.08)
    sx = rng.uniform(0.22, 0.26)
    sy = sx * rng.uniform(0.9, 1.1)
    cx, cy = PAD / 2 + rng.uniform(-8, 8), PAD / 2 + rng.uniform(-8, 8)

    def place(x, y):
        # Font units to pad pixels around the pad's centre, y downwards.
        u, v = (x - 512) * sx, (388 - y) * sy
        u += shear * v
        return (cx + u * math.cos(angle) - v * math.sin(angle),
                cy + u * math.sin(angle) + v * math.cos(angle))

    out = []
    for stroke in strokes:
        dx, dy = rng.uniform(-5, 5), rng.uniform(-5, 5)
        pts = [place(x, y) for x, y in stroke]
        pts = [(x + dx, y + dy) for x, y in pts]
        step = rng.uniform(4, 8)
        phase, freq = rng.uniform(0, 6.3), rng.uniform(0.03, 0.08)
        drawn, walked = [], 0.0
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            length = math.hypot(x1 - x0, y1 - y0)
            n = max(1, int(length / step))
            for k in range(n):
                t = k / n
                w = 1.5 * math.sin(phase + freq * (walked + t * length))
                nx, ny = (-(y1 - y0) / length, (x1 - x0) / length) if length else (0, 0)
                drawn.append((x0 + t * (x1 - x0) + w * nx, y0 + t * (y1 - y0) + w * ny))
            walked += length
        drawn.append(pts[-1])
        out.append([(round(x), round(y)) for x, y in drawn])
    return out


def main():
    folder = Path(sys.argv[1])
    rng = random.Random(1)
    lines = [f"# pad {PAD}: character, tab, strokes separated by ' | ', points 'x,y'"]
    for char in KANJI:
        strokes = draw(char, medians(folder, char), rng)
        text = " | ".join(" ".join(f"{x},{y}" for x, y in s) for s in strokes)
        lines.append(f"{char}\t{text}")
    Path(__file__).with_name("grade1.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
