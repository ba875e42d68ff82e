#!/usr/bin/env python3
"""Tests of the sample course and of its checker: the course as built passes, and each kind of
damage a strict reader would reject is reported.

    python3 -m unittest discover -s samples/tools
"""

import os
import shutil
import tempfile
import unittest

import check_sample

HERE = os.path.dirname(os.path.abspath(__file__))
COURSE = os.path.normpath(os.path.join(HERE, "..", "kanji"))


def problems_of(course):
    check_sample.problems.clear()
    check_sample.check_course(course)
    return list(check_sample.problems)


class CourseCopy:
    """A scratch copy of the course whose text files can be edited line by line."""

    def __init__(self):
        self.dir = tempfile.mkdtemp()
        self.course = os.path.join(self.dir, "kanji")
        shutil.copytree(COURSE, self.course)

    def path(self, rel):
        return os.path.join(self.course, *rel.split("/"))

    def lines(self, rel):
        with open(self.path(rel), "rb") as f:
            return f.read().decode("cp932").split("\r\n")[:-1]

    def write(self, rel, lines, end="\r\n"):
        with open(self.path(rel), "wb") as f:
            f.write("".join(l + end for l in lines).encode("cp932"))

    def replace(self, rel, old, new, count=1):
        lines = self.lines(rel)
        hits = [i for i, l in enumerate(lines) if l == old]
        assert hits, "no line %r in %s" % (old, rel)
        for i in hits[:count]:
            lines[i] = new
        self.write(rel, lines)

    def close(self):
        shutil.rmtree(self.dir)


class SampleCourseTest(unittest.TestCase):
    def setUp(self):
        self.copy = CourseCopy()

    def tearDown(self):
        self.copy.close()

    def assertReported(self, fragment):
        found = problems_of(self.copy.course)
        self.assertTrue(any(fragment in p for p in found),
                        "expected a problem with %r, got %s" % (fragment, found))

    def first_question(self, rel, header="[[unit1"):
        lines = self.copy.lines(rel)
        i = lines.index(header)
        return lines[lines.index("<<ques", i) + 2]

    def test_course_as_built_passes(self):
        self.assertEqual(problems_of(COURSE), [])

    def test_every_line_needs_cr_lf(self):
        self.copy.write("kan3/kan31.que", self.copy.lines("kan3/kan31.que"), end="\n")
        self.assertReported("does not end with CR LF")

    def test_odd_hash_count(self):
        q = self.first_question("kan3/kan31.que")
        self.copy.replace("kan3/kan31.que", q, q + "#")
        self.assertReported("odd number of #")

    def test_two_answers_need_text_between(self):
        q = self.first_question("kan4/kan42.que")
        self.copy.replace("kan4/kan42.que", q, q.replace("#のある", "##ほか#のある"))
        self.assertReported("empty answer or no text between answers")

    def test_value_block_needs_seven_lines(self):
        lines = self.copy.lines("kan4/kan41.que")
        i = lines.index("<<value")
        del lines[i + 1]
        self.copy.write("kan4/kan41.que", lines)
        self.assertReported("<<value has 6 lines")

    def test_structural_line_with_trailing_blank(self):
        self.copy.replace("kan4/kan43.que", "]]", "]] ")
        self.assertReported("stray line")

    def test_listed_unit_missing(self):
        lines = self.copy.lines("kan3/kan3.ind")
        lines.insert(lines.index("体と動き（読み）") + 1, "新しい単元")
        self.copy.write("kan3/kan3.ind", lines)
        self.assertReported("listed unit [[unit4 missing")

    def test_similar_problems_in_order(self):
        self.copy.replace("kan3/kan32.que", "[[unit1R1", "[[unit1R3")
        self.assertReported("[[unit1R2 does not follow [[unit1R1")

    def test_choices_follow_the_editor_rebuild(self):
        lines = self.copy.lines("kan3/kan31.que")
        lines.insert(lines.index("<<kgroup") + 1, "やま")
        self.copy.write("kan3/kan31.que", lines)
        self.assertReported("<<kgroup differs")

    def test_soft_keyboard_covers_the_answers(self):
        keys = self.copy.lines("kan3/kan3key.txt")
        self.copy.write("kan3/kan3key.txt", [k.replace("持", "") for k in keys])
        self.assertReported("answer character 持 is not on the soft keyboard")

    def test_soft_keyboard_only_double_byte(self):
        self.copy.write("kan3/kan3key.txt", self.copy.lines("kan3/kan3key.txt") + ["AB"])
        self.assertReported("single-byte character")

    def test_lesson_line_folder_and_base(self):
        self.copy.replace("Main.ind", "小学四年の漢字,kan4\\_kan4", "小学四年の漢字,kan4\\kan4")
        self.assertReported("base 'an4'")

    def test_figure_over_text(self):
        self.copy.replace("kan3/kan33.que", "137", "260")  # figure 1 down onto the questions
        self.assertReported("covers text")

    def test_figure_placed_automatically_needs_room(self):
        lines = self.copy.lines("kan3/kan33.que")
        i = lines.index("<<ques")
        del lines[i + 3:i + 5]  # the two empty lines kept free for the pictures
        self.copy.write("kan3/kan33.que", lines)
        self.assertReported("covers text of question line")

    def test_missing_figure_file(self):
        os.remove(self.copy.path("kan3/Graph/shima_a.bmp"))
        self.assertReported("missing picture")

    def test_line_too_wide(self):
        q = self.first_question("kan4/kan41.que")
        self.copy.replace("kan4/kan41.que", q, q + "そしてもっと長い文を書き足していく。")
        self.assertReported("too wide")

    def test_frame_into_following_text(self):
        lines = self.copy.lines("kan4/kan42.que")
        kran = lines.index("<<kran")
        lines[kran + 2] = "15"  # box width of the first unit
        self.copy.write("kan4/kan42.que", lines)
        self.assertReported("the frame runs into the text after it")

    def test_shown_answer_too_large(self):
        lines = self.copy.lines("kan3/kan31.que")
        font = lines.index("<<font")
        lines[font + 7] = "0"  # answers at size + 4 overflow the bracketed blanks
        self.copy.write("kan3/kan31.que", lines)
        self.assertReported("the shown answer runs")

    def test_too_many_lines_for_the_sheet(self):
        lines = self.copy.lines("kan3/kan31.que")
        i = lines.index("<<ques")
        lines[i + 1:i + 1] = [""] * 20
        self.copy.write("kan3/kan31.que", lines)
        self.assertReported("run off the sheet")

    def test_question_numbers_run_on(self):
        self.copy.replace("kan4/kan42.que", "（2）<B>成功</>　⇔　#　失敗　#", "（3）<B>成功</>　⇔　#　失敗　#")
        self.assertReported("question numbers are not 1..")

    def test_bad_style_tag(self):
        q = self.first_question("kan3/kan31.que")
        self.copy.replace("kan3/kan31.que", q, q.replace("<U>", "<U", 1))
        self.assertReported("bad style tag")

    def test_size_change_must_be_reset(self):
        lines = self.copy.lines("kan3/kan33.que")
        i = next(n for n, l in enumerate(lines) if "<=>" in l)
        lines[i] = lines[i].replace("<=>", "")
        self.copy.write("kan3/kan33.que", lines)
        self.assertReported("leaves the text size changed")

    def test_bitmap_must_be_24_bit(self):
        path = self.copy.path("kan3/Graph/hashi.bmp")
        with open(path, "r+b") as f:
            f.seek(28)
            f.write(b"\x08\x00")
        self.assertReported("not an uncompressed 24-bit BMP")


if __name__ == "__main__":
    unittest.main()
