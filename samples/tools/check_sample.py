#!/usr/bin/env python3
"""Checks the sample course as a strict reader would, and estimates each sheet's geometry.

    python3 samples/tools/check_sample.py [course folder]      (default: samples/kanji)

Exits 1 and lists every problem found.  The geometry model: sheet units, question text in a
monospaced Mincho face (full-width characters 1 em, ASCII 1/2 em, 1 em = 4/3 of the point
size), line pitch = line spacing x 0.7875, body from y = 98, text drawn 6.732 below its line.
"""

import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WIDE = "\u3000"
PAPERS = {546: 772, 630: 891, 771: 1090, 891: 1260}
TAGS = ["<<ques", "<<value", "<<font", "<<kran", "<<graph", "<<AGraph", "<<kgroup", "<<dummy",
        "<<hint", "<<SoftKeyB"]
# The order in which the question editor rewrites a unit (optional blocks may be absent).
WRITE_ORDER = ["<<SoftKeyB", "<<ques", "<<kgroup", "<<dummy", "<<graph", "<<AGraph", "<<hint",
               "<<value", "<<font", "<<kran"]
STYLE_CHARS = set("BIUuX_/+-=0123456789")
BODY_TOP = 65 + 20 + round(17 * 0.7875)
TEXT_OFFSET = 6.732

problems = []


def fail(where, message):
    problems.append("%s: %s" % (where, message))


# ---------------------------------------------------------------- files and lines

def read_lines(path, where):
    """CP932 text with CR LF after every line; returns the decoded lines."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.endswith(b"\r\n"):
        fail(where, "does not end with CR LF")
    body = data[:-2] if data.endswith(b"\r\n") else data
    raw = body.split(b"\r\n")
    lines = []
    for n, b in enumerate(raw, 1):
        if b"\r" in b or b"\n" in b:
            fail(where, "line %d has a bare CR or LF" % n)
        try:
            text = b.decode("cp932")
        except UnicodeDecodeError as e:
            fail(where, "line %d is not CP932: %s" % (n, e))
            text = b.decode("cp932", "replace")
        if text.encode("cp932", "replace") != b:
            fail(where, "line %d does not encode back to the same bytes" % n)
        if "\t" in text:
            fail(where, "line %d holds a tab" % n)
        lines.append(text)
    return lines


def find_char(text, ch):
    """Position of a single-byte character, scanning CP932 characters (a 5C trail byte is not
    a backslash)."""
    b = text.encode("cp932")
    i = 0
    while i < len(b):
        if 0x81 <= b[i] <= 0x9F or 0xE0 <= b[i] <= 0xFC:
            i += 2
            continue
        if b[i] == ord(ch):
            return i
        i += 1
    return -1


def bmp_info(path):
    with open(path, "rb") as f:
        head = f.read(54)
    if len(head) < 54 or head[:2] != b"BM":
        return None
    width, height = struct.unpack("<ii", head[18:26])
    bits, compression = struct.unpack("<HI", head[28:34])
    return width, abs(height), bits, compression


def check_bmp(path, where, size=None):
    if not os.path.isfile(path):
        fail(where, "missing picture %s" % path)
        return None
    info = bmp_info(path)
    if info is None:
        fail(where, "%s is not a BMP" % path)
        return None
    width, height, bits, compression = info
    if bits != 24 or compression != 0:
        fail(where, "%s is not an uncompressed 24-bit BMP" % path)
    if size and (width, height) != size:
        fail(where, "%s is %dx%d, expected %dx%d" % (path, width, height, *size))
    return width, height


# ---------------------------------------------------------------- text measuring

def em_px(points):
    return points * 4.0 / 3.0


def char_em(ch):
    return 1.0 if len(ch.encode("cp932")) == 2 else 0.5


class Pen:
    """Walks styled text as the sheet does; keeps the running size offset between calls."""

    def __init__(self, base):
        self.base = base
        self.offset = 0

    def glyphs(self, text, x):
        """Yields (char, x, width in sheet units) and returns via .x the pen position."""
        size = self.base
        out = []
        i = 0
        while i < len(text):
            ch = text[i]
            if ch == "<":
                tag = text[i + 1] if i + 1 < len(text) else ""
                if tag == "+":
                    self.offset += 2
                    size = self.base + self.offset
                elif tag == "-":
                    self.offset -= 2
                    size = self.base + self.offset
                elif tag.isdigit():
                    size = self.base + 2 * int(tag)
                elif tag == "=":
                    self.offset = 0
                    size = self.base
                i += 3
                continue
            w = char_em(ch) * em_px(size)
            out.append((ch, x, w))
            x += w
            i += 1
        self.x = x
        return out


def visible(glyphs):
    return [g for g in glyphs if g[0] not in (" ", WIDE)]


# ---------------------------------------------------------------- question files

def parse_units(lines, where):
    """Unit header -> {tag: [content lines], "order": [tags]}; strict about structure."""
    units = {}
    i = 0
    while i < len(lines):
        line = lines[i]
        if not line.startswith("[[unit"):
            fail(where, "line %d is outside any unit: %r" % (i + 1, line))
            i += 1
            continue
        header = line
        if not re.fullmatch(r"\[\[unit[1-9][0-9]*(R[1-9][0-9]*)?", header):
            fail(where, "line %d: bad unit header %r" % (i + 1, header))
            i += 1
            continue
        if header in units:
            fail(where, "duplicate header %s" % header)
        unit = {"order": [], "line": i + 1}
        i += 1
        while i < len(lines) and lines[i] != "]]":
            tag = lines[i]
            if tag not in TAGS:
                fail(where, "%s: stray line %d: %r" % (header, i + 1, tag))
                i += 1
                continue
            if tag in unit:
                fail(where, "%s: block %s twice" % (header, tag))
            unit["order"].append(tag)
            content = []
            i += 1
            while i < len(lines) and lines[i] != ">>":
                if lines[i] in TAGS or lines[i] == "]]" or lines[i].startswith("[[unit"):
                    fail(where, "%s: block %s not closed before line %d" % (header, tag, i + 1))
                content.append(lines[i])
                i += 1
            if i == len(lines):
                fail(where, "%s: block %s runs to the end of the file" % (header, tag))
            unit[tag] = content
            i += 1
        if i == len(lines):
            fail(where, "%s: no ]]" % header)
        units[header] = unit
        i += 1
    for n, line in enumerate(lines, 1):
        if line != line.rstrip(" " + WIDE) and line.rstrip(" " + WIDE) in TAGS + [">>", "]]"]:
            fail(where, "line %d: structural line with trailing blanks" % n)
        if line.startswith("[[unit") and line != line.strip():
            fail(where, "line %d: header with blanks" % n)
    return units


def trim_answer(text):
    text = text.strip(" \t\r\n\v\f")
    while text.startswith(WIDE):
        text = text[1:]
    while text.endswith(WIDE):
        text = text[:-1]
    return text


def editor_choices(ques, dummies):
    lines = []
    for q in ques:
        for answer in q.split("#")[1::2]:
            answer = trim_answer(answer)
            if answer:
                alts = answer.split(";")
                lines += [a + " " for a in alts[:-1]] + [alts[-1]]
    for d in dummies:
        if d and d not in lines:
            lines.append(d)
    return lines


def check_question_lines(ques, where):
    if len(ques) > 60:
        fail(where, "more than 60 question lines")
    if ques and ques[0] == "{":
        fail(where, "question block starts with {")
    if not any("#" in q for q in ques):
        fail(where, "no answer blank at all")
    numbers = []
    answers = []
    for n, q in enumerate(ques, 1):
        if q.count("#") % 2:
            fail(where, "question line %d: odd number of #" % n)
            continue
        pieces = q.split("#")
        for k in range(1, len(pieces) - 1):
            if pieces[k] == "":
                fail(where, "question line %d: empty answer or no text between answers" % n)
        for k, piece in enumerate(pieces):
            if k % 2:
                if any(trim_answer(a) == "" for a in piece.split(";")):
                    fail(where, "question line %d: empty alternative" % n)
                if "<" in piece:
                    fail(where, "question line %d: style tag inside an answer" % n)
                answers.append(piece)
            else:
                if ";" in piece:
                    fail(where, "question line %d: ';' in question text" % n)
                j = 0
                while True:
                    j = piece.find("<", j)
                    if j < 0:
                        break
                    if j + 2 >= len(piece) or piece[j + 1] not in STYLE_CHARS or piece[j + 2] != ">":
                        fail(where, "question line %d: bad style tag at %r" % (n, piece[j:j + 3]))
                    j += 3
        # question numbers as the editor writes them: ASCII digits in full-width parentheses;
        # a line may hold several (paired questions, two columns), rising along the line
        found = [int(part.split("）")[0]) for part in q.split("（")[1:]
                 if part.split("）")[0].isdigit() and part.split("）")[0].isascii()]
        if found != sorted(found):
            fail(where, "question line %d: numbers out of order" % n)
        if "#" in q and (not found or not q.startswith("（%d）" % found[0])):
            fail(where, "question line %d: has an answer but does not start with a number" % n)
        if len(found) > q.count("#") // 2:
            fail(where, "question line %d: more numbers than answers" % n)
        numbers += found
        if q != q.rstrip(" "):
            fail(where, "question line %d: trailing ASCII blank" % n)
    if sorted(numbers) != list(range(1, len(numbers) + 1)):
        fail(where, "question numbers are not 1..%d once each: %s" % (len(numbers), numbers))
    return answers


def check_params(unit, where):
    value, font_, kran_ = unit.get("<<value", []), unit.get("<<font", []), unit.get("<<kran", [])
    if len(value) != 7:
        fail(where, "<<value has %d lines" % len(value))
        return None
    if len(font_) != 7:
        fail(where, "<<font has %d lines" % len(font_))
        return None
    if len(kran_) != 10:
        fail(where, "<<kran has %d lines" % len(kran_))
        return None

    def num(text, lo, hi, what):
        if not text.lstrip("-").isdigit():
            fail(where, "%s is not a number: %r" % (what, text))
            return lo
        v = int(text)
        if not lo <= v <= hi:
            fail(where, "%s %d outside %d..%d" % (what, v, lo, hi))
        return v

    width = int(value[0]) if value[0].isdigit() else 0
    if width not in PAPERS:
        fail(where, "paper width %r" % value[0])
        width = 630
    if value[1] not in ("True", "False"):
        fail(where, "ShowAnswers %r" % value[1])
    p = {"width": width, "height": PAPERS[width],
         "spacing": num(value[2], 30, 60, "line spacing"),
         "left": num(value[3], 0, 15, "left margin"), "right": num(value[4], 0, 15, "right margin"),
         "start": num(value[5], 1, 100, "start number"), "options": num(value[6], 0, 15, "options"),
         "size": num(font_[0], 12, 16, "font size")}
    if not font_[1]:
        fail(where, "no answer font face")
    for k in range(2, 6):
        if font_[k] not in ("True", "False"):
            fail(where, "font line %d %r" % (k + 1, font_[k]))
    answer_size = num(font_[6], 0, 40, "answer size")
    p["answer"] = answer_size if answer_size > 0 else p["size"] + 4
    p["style"] = num(kran_[0], 0, 5, "box style")
    p["box_w"] = num(kran_[1], 0, 40, "box width")
    p["box_h"] = num(kran_[2], 0, 20, "box height")
    if kran_[3] not in ("0", "2"):
        fail(where, "column mode %r" % kran_[3])
    p["columns"] = kran_[3] == "2"
    for k in range(4, 10):
        num(kran_[k], -100, 100, "kran line %d" % (k + 1))
    return p


def layout(ques, p, where):
    """Lays the lines out; returns glyph boxes, blanks and the text pieces in drawing order."""
    L = p["left"] * 10
    X = p["width"] - p["right"] * 10
    em = em_px(p["size"])
    pitch = p["spacing"] * 0.7875
    pen = Pen(p["size"])
    boxes, blanks, pieces = [], [], []
    y = float(BODY_TOP)
    divider = (p["width"] - p["right"] * 10 + p["size"] + L) // 2 - 10 if p["columns"] else None
    for n, q in enumerate(ques, 1):
        line_y = round(y)
        if q:
            x = float(L)
            parts = q.split("#")
            glyphs = []
            for k, part in enumerate(parts):
                pieces.append((x, line_y))
                if k % 2 == 0:
                    g = pen.glyphs(part, x)
                    glyphs += g
                    x = pen.x
                else:
                    first = part.split(";")[0]
                    g = Pen(p["size"]).glyphs(first, x)
                    blank = {"line": n, "y": line_y, "start": x, "end": g[-1][1] + g[-1][2] if g else x,
                             "first": first, "alts": len(part.split(";"))}
                    x = blank["end"]
                    blanks.append(blank)
            if pen.offset:
                fail(where, "question line %d leaves the text size changed" % n)
                pen.offset = 0
            for ch, gx, gw in visible(glyphs):
                boxes.append((gx, line_y + TEXT_OFFSET, gx + gw, line_y + TEXT_OFFSET + em, n))
            if x > X + 0.5:
                fail(where, "question line %d is %.0f units too wide" % (n, x - X))
            if divider is not None:
                for ch, gx, gw in visible(glyphs):
                    if gx < divider + 6 and gx + gw > divider - 6:
                        fail(where, "question line %d crosses the column divider" % n)
                        break
                for b in blanks:
                    if b["line"] == n and b["start"] < divider + 6 < b["end"] + p["box_w"]:
                        fail(where, "question line %d: a blank crosses the column divider" % n)
        y += pitch
    last = round(y - pitch)
    if last + TEXT_OFFSET + em + 30 > p["height"]:
        fail(where, "the lines run off the sheet (last line at %d of %d)" % (last, p["height"]))
    return boxes, blanks, pieces, pitch, em


def check_geometry(ques, p, where):
    boxes, blanks, pieces, pitch, em = layout(ques, p, where)
    box_height = em + 8  # the drill's one-line answer box at the question size
    for b in blanks:
        line_glyphs = sorted(bx for bx in boxes if bx[4] == b["line"] and bx[0] >= b["end"] - 0.5)
        next_x = line_glyphs[0][0] if line_glyphs else None
        shown = b["first"].rstrip(" " + WIDE)
        lead = len(shown) - len(shown.lstrip(" " + WIDE))
        shown_end = b["start"] + sum(char_em(c) for c in shown) * em_px(p["answer"])
        tag = "question line %d, answer %s" % (b["line"], b["first"].strip(WIDE))
        if next_x is not None and shown_end > next_x + 1:
            fail(where, "%s: the shown answer runs %.0f units into the text after it"
                 % (tag, shown_end - next_x))
        right = b["end"] - 3
        if p["style"] in (1, 4, 5):
            if next_x is not None and right + p["box_w"] > next_x + 2:
                fail(where, "%s: the frame runs into the text after it" % tag)
        if p["style"] in (2, 3):
            if lead == 0:
                fail(where, "%s: the opening bracket covers the answer" % tag)
            if next_x is not None and right + em / 2 > next_x + 1:
                fail(where, "%s: the closing bracket runs into the text after it" % tag)
        if b["end"] - b["start"] < em * 0.99:
            fail(where, "%s: blank narrower than one character" % tag)
    # rows of framed boxes must not touch the next line's boxes
    if p["style"] in (1, 5) and blanks:
        need = box_height + 1.5 * p["box_h"] + 2
        if pitch < need:
            fail(where, "line pitch %.1f too small for frames %.1f high" % (pitch, need))
    if pitch < em + 8:
        fail(where, "line pitch %.1f too small for %d-point text" % (pitch, p["size"]))
    # alternatives are shown in grey 30 units below their line
    for b in blanks:
        if b["alts"] > 1:
            nxt = b["line"]  # index of the next line in ques is b["line"] (0-based)
            if nxt < len(ques) and ques[nxt] and pitch < 30 + em:
                fail(where, "question line %d: no room for the alternatives below it" % b["line"])
    return boxes, pieces


def check_figures(unit, p, boxes, pieces, folder, where):
    graph, agraph = unit.get("<<graph", []), unit.get("<<AGraph", [])
    placed = []
    for kind, triples in (("<<graph", graph), ("<<AGraph", agraph)):
        if len(triples) % 3:
            fail(where, "%s does not hold triples" % kind)
            continue
        if len(triples) // 3 > 15:
            fail(where, "%s holds more than 15 figures" % kind)
    if len(agraph) > len(graph):
        fail(where, "more answer figures than question figures")
    if (graph or agraph) and not folder:
        fail(where, "figures but no Graph folder")
        return
    sizes = []
    for n in range(len(graph) // 3):
        name, left, top = graph[3 * n:3 * n + 3]
        size = check_bmp(os.path.join(folder, name), where)
        sizes.append(size)
        if not (left.lstrip("-").isdigit() and top.lstrip("-").isdigit()):
            fail(where, "figure %d position is not a number" % (n + 1))
            continue
        if name != name.strip() or not name.isascii():
            fail(where, "figure name %r" % name)
        left, top = int(left), int(top)
        if left < 1:
            if n >= len(pieces):
                fail(where, "figure %d: no text piece %d to place it by" % (n + 1, n + 1))
                continue
            left, top = round(pieces[n][0] + 40), pieces[n][1]
        if size is None:
            continue
        rect = (left, top, left + size[0], top + size[1])
        if rect[0] < 0 or rect[1] < 90 or rect[2] > p["width"] or rect[3] > p["height"]:
            fail(where, "figure %d %s lies outside the sheet body" % (n + 1, rect))
        for b in boxes:
            if b[0] < rect[2] and rect[0] < b[2] and b[1] < rect[3] and rect[1] < b[3]:
                fail(where, "figure %d covers text of question line %d" % (n + 1, b[4]))
                break
        for m, other in enumerate(placed):
            if other[0] < rect[2] and rect[0] < other[2] and other[1] < rect[3] and rect[1] < other[3]:
                fail(where, "figures %d and %d overlap" % (m + 1, n + 1))
        placed.append(rect)
    for n in range(len(agraph) // 3):
        name = agraph[3 * n]
        size = check_bmp(os.path.join(folder, name), where)
        if size and n < len(sizes) and sizes[n] and size != sizes[n]:
            fail(where, "answer figure %d differs in size from question figure %d" % (n + 1, n + 1))


def check_softkey(unit, answers, course, where):
    names = unit.get("<<SoftKeyB")
    if names is None:
        return
    if len(names) != 1 or not names[0]:
        fail(where, "<<SoftKeyB must hold one file name")
        return
    path = os.path.join(course, *names[0].split("\\"))
    if not os.path.isfile(path):
        fail(where, "soft keyboard %s missing" % names[0])
        return
    keys = []
    for line in read_lines(path, names[0]):
        for ch in line:
            if len(ch.encode("cp932")) != 2:
                fail(where, "soft keyboard holds a single-byte character %r" % ch)
            keys.append(ch)
    if len(keys) > 120:
        fail(where, "soft keyboard holds %d keys (at most 120)" % len(keys))
    if len(set(keys)) != len(keys):
        fail(where, "soft keyboard repeats a key")
    for a in answers:
        for alt in a.split(";")[:1]:
            for ch in trim_answer(alt):
                if ch not in keys[:120]:
                    fail(where, "answer character %s is not on the soft keyboard" % ch)


def check_unit(header, unit, course, folder, where):
    where = "%s %s" % (where, header)
    order = unit["order"]
    for tag in ("<<ques", "<<dummy", "<<value", "<<font", "<<kran"):
        if tag not in unit:
            fail(where, "no %s block" % tag)
    if order != [t for t in WRITE_ORDER if t in order]:
        fail(where, "blocks not in the editor's order: %s" % order)
    for tag in ("<<kgroup", "<<hint", "<<graph", "<<AGraph", "<<SoftKeyB"):
        if tag in unit and not unit[tag]:
            fail(where, "empty %s block (the editor leaves it out)" % tag)
    ques = unit.get("<<ques", [])
    answers = check_question_lines(ques, where)
    if "<<kgroup" in unit:
        expected = editor_choices(ques, unit.get("<<dummy", []))
        if unit["<<kgroup"] != expected:
            fail(where, "<<kgroup differs from the editor's rebuild: %s" % expected)
        chars = sum(len(c.encode("cp932")) // 2 for c in unit["<<kgroup"])
        if chars > 120:
            fail(where, "answer choices hold %d characters, more than the 120 soft keys" % chars)
    for d in unit.get("<<dummy", []):
        if not d or d != d.strip(" " + WIDE):
            fail(where, "distractor %r" % d)
    hint = unit.get("<<hint", [])
    if hint and hint[0] == "Hint":
        fail(where, "hint starts with the no-hint marker")
    for h in hint:
        if len(h) > 18:
            fail(where, "hint line too long for the message area: %s" % h)
    check_softkey(unit, answers, course, where)
    p = check_params(unit, where)
    if p:
        boxes, pieces = check_geometry(ques, p, where)
        check_figures(unit, p, boxes, pieces, folder, where)
    return p


def check_course(course):
    main = read_lines(os.path.join(course, "Main.ind"), "Main.ind")
    if len(main) < 5 or not main[0]:
        fail("Main.ind", "needs a title, a free line, two lessons and >>")
    if ">>" not in main[2:]:
        fail("Main.ind", "no >> ending the lesson list")
        return
    end = main.index(">>", 2)
    if end != len(main) - 1:
        fail("Main.ind", "lines after >>")
    lessons = main[2:end]
    if len(lessons) < 2:
        fail("Main.ind", "fewer than two lessons")
    counts = {"units": 0, "similar": 0, "hint": 0, "kgroup": 0, "softkey": 0, "graph": 0,
              "agraph": 0, "columns": 0}
    papers, styles, sizes = set(), set(), set()
    for n, line in enumerate(lessons, 1):
        where = "Main.ind lesson %d" % n
        c, e = find_char(line, ","), find_char(line, "\\")
        if c < 0 or e < c:
            fail(where, "not of the form title,folder\\Xbase: %r" % line)
            continue
        b = line.encode("cp932")
        title = b[:c].decode("cp932")
        folder = b[c + 1:e].decode("cp932")
        base = b[e + 2:].decode("cp932")
        if not title or not base or folder != base:
            fail(where, "title %r, folder %r, base %r" % (title, folder, base))
        lesson_dir = os.path.join(course, folder)
        index_path = os.path.join(lesson_dir, base + ".ind")
        if not os.path.isfile(index_path):
            fail(where, "no lesson index %s" % index_path)
            continue
        index = read_lines(index_path, base + ".ind")
        sections = []
        i = 1
        while i < len(index):
            if index[i].startswith("[["):
                if index[i] != "[[sect%d" % (len(sections) + 1):
                    fail(base + ".ind", "section line %r" % index[i])
                title_s = index[i + 1]
                if index[i + 2] != "<<":
                    fail(base + ".ind", "line after the section title is %r" % index[i + 2])
                j = i + 3
                units = []
                while j < len(index) and index[j] != ">>":
                    units.append(index[j])
                    j += 1
                if j + 1 >= len(index) or index[j + 1] != "]]":
                    fail(base + ".ind", "section %s not closed by >> and ]]" % title_s)
                sections.append((title_s, units))
                i = j + 2
            else:
                fail(base + ".ind", "stray line %d: %r" % (i + 1, index[i]))
                i += 1
        if len(sections) < 2:
            fail(base + ".ind", "fewer than two sections")
        graph_dir = os.path.join(lesson_dir, "Graph")
        if not os.path.isdir(graph_dir):
            graph_dir = os.path.join(course, "Graph") if os.path.isdir(os.path.join(course, "Graph")) else None
        for k, (title_s, titles) in enumerate(sections, 1):
            que_name = "%s%d.que" % (base, k)
            path = os.path.join(lesson_dir, que_name)
            if not os.path.isfile(path):
                fail(que_name, "missing")
                continue
            units = parse_units(read_lines(path, que_name), que_name)
            for t in titles:
                if not t or any(ch in t for ch in "[]=;"):
                    fail(base + ".ind", "unit title %r" % t)
            listed = ["[[unit%d" % u for u in range(1, len(titles) + 1)]
            for h in listed:
                if h not in units:
                    fail(que_name, "listed unit %s missing" % h)
            headers = list(units)
            for h in headers:
                stem = h.split("R")[0]
                if stem not in listed:
                    fail(que_name, "unit %s not listed in the index" % h)
                if "R" in h:
                    r = int(h.split("R")[1])
                    previous = stem if r == 1 else "%sR%d" % (stem, r - 1)
                    if previous not in headers or headers.index(previous) != headers.index(h) - 1:
                        fail(que_name, "%s does not follow %s" % (h, previous))
                    counts["similar"] += 1
                else:
                    counts["units"] += 1
                u = units[h]
                p = check_unit(h, u, course, graph_dir, que_name)
                if p:
                    papers.add(p["width"])
                    styles.add(p["style"])
                    sizes.add(p["size"])
                    counts["columns"] += p["columns"]
                for tag, key in (("<<hint", "hint"), ("<<kgroup", "kgroup"), ("<<SoftKeyB", "softkey"),
                                 ("<<graph", "graph"), ("<<AGraph", "agraph")):
                    counts[key] += tag in u
    check_bmp(os.path.join(course, "Title.BMP"), "Title.BMP")
    if os.path.exists(os.path.join(course, "classFlag.bmp")):
        size = check_bmp(os.path.join(course, "classFlag.bmp"), "classFlag.bmp")
        if size and size[1] > 60:
            fail("classFlag.bmp", "taller than the header band")
    if counts["units"] < 12:
        fail("course", "only %d units" % counts["units"])
    for key, least in (("similar", 3), ("hint", 3), ("kgroup", 3), ("softkey", 1), ("graph", 1),
                       ("agraph", 1), ("columns", 1)):
        if counts[key] < least:
            fail("course", "only %d units with %s" % (counts[key], key))
    if papers != set(PAPERS) or len(styles) != 6 or len(sizes) < 4:
        fail("course", "parameters hardly vary: papers %s, styles %s, sizes %s" % (papers, styles, sizes))
    return counts


def main():
    course = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "kanji")
    counts = check_course(os.path.normpath(course))
    for p in problems:
        print(p)
    print("%d problems; %s" % (len(problems), counts))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
