#!/usr/bin/env python3
"""Builds the bundled sample course samples/kanji/ (primary-school kanji, grades 3 and 4).

Run from anywhere:  python3 samples/tools/make_sample.py
Needs ImageMagick's `convert` and the IPA fonts (fonts-ipafont) for the pictures.
Text files are written as CP932 with CR LF after every line; the old course folder is
replaced as a whole, so nothing stale survives.  Check the result with check_sample.py.

Answer-blank conventions used below (the helper `pad` applies them per unit):
  both   the answer gets a full-width blank on each side, so the printed box leaves room
         to write; an answer with alternatives gets it in front, and the text after it
         starts with a full-width blank instead (the blank width is that of the first
         alternative only).
  lead   one full-width blank in front and one at the start of the following text:
         used with bracket frames, whose closing bracket is drawn just past the blank.
  none   the answer as written (the text supplies the frame, e.g. parentheses).
"""

import math
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
COURSE = os.path.normpath(os.path.join(HERE, "..", "kanji"))

FONT_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
FONT_MINCHO = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"

WIDE_BLANK = "\u3000"

COURSE_TITLE = "漢字練習サンプルコース"


# ---------------------------------------------------------------- text files

def write_lines(relpath, lines):
    """Writes lines as CP932, CR LF after every line including the last."""
    path = os.path.join(COURSE, *relpath.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = "".join(line + "\r\n" for line in lines).encode("cp932")
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- layout blocks

def value(width, spacing, left=5, right=5, start=1, options=7, shown=False):
    return [str(width), "True" if shown else "False", str(spacing), str(left), str(right),
            str(start), str(options)]


def font(size, face="MS 明朝", bold=False, answer_size=0):
    flag = lambda b: "True" if b else "False"
    return [str(size), face, flag(bold), "False", "False", "False", str(answer_size)]


def kran(style, width, height, columns=0, box_x=15, box_y=10, sub=0):
    return [str(style), str(width), str(height), str(columns), "0", "0", str(box_x), str(box_y),
            str(sub), "0"]


# ---------------------------------------------------------------- question lines

def pad(lines, mode):
    """Applies one of the blank conventions (see the module comment) to every answer."""
    if mode == "none":
        return list(lines)
    out = []
    for line in lines:
        pieces = line.split("#")
        for i in range(1, len(pieces), 2):
            answer = pieces[i]
            trailing = mode == "both" and ";" not in answer
            pieces[i] = WIDE_BLANK + answer + (WIDE_BLANK if trailing else "")
            follow = pieces[i + 1]
            if not trailing and follow and not follow.startswith(WIDE_BLANK):
                pieces[i + 1] = WIDE_BLANK + follow
        out.append("#".join(pieces))
    return out


def trim_answer(text):
    """Blanks off both ends: ASCII white space first, then full-width blanks."""
    text = text.strip(" \t\r\n\v\f")
    while text.startswith(WIDE_BLANK):
        text = text[1:]
    while text.endswith(WIDE_BLANK):
        text = text[:-1]
    return text


def choices_from(ques, dummies):
    """The answer-choice lines exactly as the question editor rebuilds them on saving:
    every alternative in order (all but the last of an answer followed by one ASCII blank),
    then each distractor that is not already a line."""
    lines = []
    for q in ques:
        pieces = q.split("#")
        for answer in pieces[1::2]:
            answer = trim_answer(answer)
            if not answer:
                continue
            alternatives = answer.split(";")
            lines += [a + " " for a in alternatives[:-1]] + [alternatives[-1]]
    for d in dummies:
        if d and d not in lines:
            lines.append(d)
    return lines


def two_columns(left_items, right_items, left_width_em):
    """Joins a left and a right item per line, the right one starting at a fixed column.
    Widths in ems of the question font: full-width characters 1, ASCII 1/2, tags 0."""
    def em(text):
        width, i = 0.0, 0
        while i < len(text):
            if text[i] == "<":
                i += 3
                continue
            if text[i] != "#":
                width += 0.5 if ord(text[i]) < 0x80 else 1.0
            i += 1
        return width

    lines = []
    for left, right in zip(left_items, right_items):
        gap = left_width_em - em(left)
        assert gap >= 1, left
        whole = int(gap)
        lines.append(left + WIDE_BLANK * whole + (" " if gap - whole else "") + right)
    return lines


# ---------------------------------------------------------------- units

class Unit:
    def __init__(self, number, ques, *, similar=0, blanks="both", dummy=(), choices=False,
                 hint=(), softkey=None, graph=(), agraph=(), value, font, kran):
        self.header = "[[unit%d" % number + ("R%d" % similar if similar else "")
        self.ques = pad(ques, blanks)
        self.dummy = list(dummy)
        self.kgroup = choices_from(self.ques, self.dummy) if choices else []
        self.hint = list(hint)
        self.softkey = softkey
        self.graph = [str(x) for x in graph]
        self.agraph = [str(x) for x in agraph]
        self.value, self.font, self.kran = value, font, kran

    def lines(self):
        """The unit in the block order in which the question editor rewrites a unit."""
        out = [self.header]

        def block(tag, content):
            out.append(tag)
            out.extend(content)
            out.append(">>")

        if self.softkey:
            block("<<SoftKeyB", [self.softkey])
        block("<<ques", self.ques)
        if self.kgroup:
            block("<<kgroup", self.kgroup)
        block("<<dummy", self.dummy)
        if self.graph:
            block("<<graph", self.graph)
        if self.agraph:
            block("<<AGraph", self.agraph)
        if self.hint:
            block("<<hint", self.hint)
        block("<<value", self.value)
        block("<<font", self.font)
        block("<<kran", self.kran)
        out.append("]]")
        return out


READ_HEAD = "次の―線の漢字の読みをひらがなで書きなさい。"
WRITE_HEAD = "次の―線のひらがなを漢字に直しなさい。"
BOX_HEAD = "次の□にあてはまる漢字を書きなさい。"

# ------------------------------------------------ lesson 1: 小学三年の漢字

KAN31 = [
    Unit(1, [
        READ_HEAD,
        "（1）<U>駅</>#えき#の前で友だちと待ち合わせる。",
        "（2）家族で<U>旅行</>#りょこう#に出かける。",
        "（3）重い<U>荷物</>#にもつ#を運ぶ。",
        "（4）遠足の<U>写真</>#しゃしん#をとる。",
        "（5）かぜをひいて<U>病院</>#びょういん#に行く。",
        "（6）明日の<U>予定</>#よてい#を決める。",
        "（7）夕食の前に<U>宿題</>#しゅくだい#をすませる。",
        "（8）<U>商店</>#しょうてん#がいで買い物をする。",
        "（9）お年玉を<U>銀行</>#ぎんこう#にあずける。",
        "（10）車に<U>注意</>#ちゅうい#して道をわたる。",
    ], blanks="lead", choices=True,
        dummy=["えぎ", "りょうこう", "しゃじん", "びょいん", "しゅくたい"],
        hint=["「写」は「シャ・うつ（す）」、", "「宿」は「シュク・やど」と", "読みます。",
              "小さい「ゃ・ゅ・ょ」に", "気をつけて書こう。"],
        value=value(630, 55), font=font(14, answer_size=14), kran=kran(3, 15, 2)),
    Unit(1, [
        READ_HEAD,
        "（1）校内<U>放送</>#ほうそう#で名前をよばれる。",
        "（2）食後に<U>薬</>#くすり#を飲む。",
        "（3）新しい<U>洋服</>#ようふく#を着る。",
        "（4）へやの<U>温度</>#おんど#をはかる。",
        "（5）新しい日記を書き<U>始</>#はじ#める。",
        "（6）こまっている人を<U>助</>#たす#ける。",
        "（7）店にお<U>客</>#きゃく#さんが来る。",
        "（8）食べ終わった<U>皿</>#さら#をあらう。",
        "（9）この町はおんせんで<U>有名</>#ゆうめい#だ。",
        "（10）つくえの中を<U>整理</>#せいり#する。",
    ], similar=1, blanks="lead", choices=True,
        dummy=["ほうそ", "ようぶく", "おんと", "きゃっく"],
        value=value(630, 55), font=font(14, answer_size=14), kran=kran(3, 15, 2)),
    Unit(2, [
        READ_HEAD,
        "（1）<U>湖</>#みずうみ#でボートに乗る。",
        "（2）<U>海岸</>#かいがん#で貝がらを拾う。",
        "（3）急な<U>坂道</>#さかみち#を上る。",
        "（4）川に長い<U>橋</>#はし#がかかる。",
        "（5）<U>畑</>#はたけ#でやさいを育てる。",
        "（6）<U>植物</>#しょくぶつ#に水をやる。",
        "（7）今朝はとても<U>寒</>#さむ#い。",
        "（8）夏の<U>暑</>#あつ#い日がつづく。",
        "（9）池に<U>氷</>#こおり#がはる。",
        "（10）木の<U>葉</>#は#が赤くなる。",
        "（11）船で<U>島</>#しま#にわたる。",
        "（12）<U>太陽</>#たいよう#がのぼる。",
    ], value=value(546, 58, 4, 4, options=6), font=font(12, "ＭＳ 明朝", answer_size=14),
        kran=kran(1, 3, 6)),
    Unit(3, [
        READ_HEAD,
        "（1）<U>指</>#ゆび#を切らないように気をつける。",
        "（2）ねる前に<U>歯</>#は#をみがく。",
        "（3）花のかおりが<U>鼻</>#はな#をくすぐる。",
        "（4）ころんでひざから<U>血</>#ち#が出た。",
        "（5）ボールを遠くへ<U>投</>#な#げる。",
        "（6）プールで<U>泳</>#およ#ぐ。",
        "（7）落ちているごみを<U>拾</>#ひろ#う。",
        "（8）毎朝、公園で<U>運動</>#うんどう#する。",
        "（9）大きく<U>息</>#いき#をすう。",
        "（10）<U>命</>#いのち#を大切にする。",
        "（11）<U>身長</>#しんちょう#が三センチのびた。",
        "（12）学校へ<U>急</>#いそ#ぐ。",
    ], choices=True, dummy=["ゆみ", "いぎ", "しんちょ"],
        hint=["「投げる」「泳ぐ」のように", "送りがなのある言葉は、",
              "送りがなの前までを読みます。"],
        value=value(630, 44, 6, 6, options=5, shown=True), font=font(15, answer_size=17),
        kran=kran(4, 2, 4)),
]

KAN32 = [
    Unit(1, [
        WRITE_HEAD,
        "（1）毎日<U>べんきょう</>#勉強#する。",
        "（2）<U>しゅくだい</>#宿題#を先にすませる。",
        "（3）<U>としょかん</>#図書館#で本をかりる。",
        "（4）<U>がっきゅう</>#学級#会で話し合う。",
        "（5）<U>しゅうじ</>#習字#の時間に筆を使う。",
        "（6）音楽の時間に<U>ふえ</>#笛#をふく。",
        "（7）<U>かんじ</>#漢字#の練習をする。",
        "（8）算数の<U>もんだい</>#問題#をとく。",
        "（9）運動場に<U>せいれつ</>#整列#する。",
        "（10）国語で<U>し</>#詩#を読む。",
    ], choices=True, dummy=["勉教", "宿台", "図書官", "学急", "習事", "門題", "正列", "時"],
        hint=["「館」の左がわは", "「食」の形です。", "「級」の左がわは", "「糸」の形です。"],
        value=value(630, 50), font=font(14, bold=True, answer_size=16), kran=kran(5, 2, 4)),
    Unit(1, [
        WRITE_HEAD,
        "（1）先生が<U>どうわ</>#童話#を読む。",
        "（2）作文の<U>ぶんしょう</>#文章#を直す。",
        "（3）<U>ふでばこ</>#筆箱#にえんぴつを入れる。",
        "（4）校庭に<U>しゅうごう</>#集合#する。",
        "（5）作文に<U>だいめい</>#題名#をつける。",
        "（6）学級<U>いいん</>#委員#を決める。",
        "（7）音楽<U>はっぴょう</>#発表#会で歌う。",
        "（8）<U>きごう</>#記号#で答える。",
        "（9）教室の<U>ようす</>#様子#を日記に書く。",
        "（10）<U>おくじょう</>#屋上#から町を見る。",
    ], similar=1, choices=True, dummy=["童語", "文商", "筆相", "発票", "記合"],
        value=value(546, 52, 3, 3, options=3), font=font(12, answer_size=14), kran=kran(1, 2, 6)),
    Unit(1, [
        WRITE_HEAD,
        "（1）毎日ピアノの<U>れんしゅう</>#練習#をする。",
        "（2）<U>どうぐ</>#道具#を大切に使う。",
        "（3）しらべたことを<U>ひょう</>#表#にまとめる。",
        "（4）先生の<U>ちゅうい</>#注意#を聞く。",
        "（5）遠足の<U>よてい</>#予定#を立てる。",
        "（6）図工の<U>さくひん</>#作品#をかざる。",
        "（7）学校の<U>ぎょうじ</>#行事#を楽しむ。",
        "（8）花だんに<U>きゅうこん</>#球根#を植える。",
        "（9）生き物<U>がかり</>#係#の仕事をする。",
        "（10）名前をよばれて<U>へんじ</>#返事#をする。",
    ], similar=2,
        value=value(630, 48, start=11), font=font(13, answer_size=15), kran=kran(5, 3, 2)),
    Unit(2, [
        BOX_HEAD,
        "（　）の中は読みがなです。",
        "（1）#駅#（えき）の前にバスが止まる。",
        "（2）#銀行#（ぎんこう）でお金をおろす。",
        "（3）船が#港#（みなと）に着く。",
        "（4）#鉄橋#（てっきょう）を電車がわたる。",
        "（5）大きな#病院#（びょういん）がある。",
        "（6）#区役所#（くやくしょ）に行く。",
        "（7）#商店#（しょうてん）がいはにぎやかだ。",
        "（8）家の#庭#（にわ）に花がさく。",
        "（9）#県道#（けんどう）を車が走る。",
        "（10）町の#神社#（じんじゃ）でお祭りがある。",
    ], choices=True, dummy=["病員", "商天", "県通", "神者"],
        value=value(771, 56, 8, 8), font=font(16, "ＭＳ ゴシック", answer_size=20),
        kran=kran(1, 3, 8)),
    Unit(3, [
        BOX_HEAD,
        "（画面のキーを使って答えましょう。）",
        "（1）重い荷物を#持#（も）つ。",
        "（2）バスが#発車#（はっしゃ）する。",
        "（3）電車に#乗#（の）る。",
        "（4）駅で友だちを#待#（ま）つ。",
        "（5）夏休みの#感想#（かんそう）文を書く。",
        "（6）おばあさんから#昔話#（むかしばなし）を聞く。",
        "（7）先生に#相談#（そうだん）する。",
        "（8）百メートルを#速#（はや）く走る。",
    ], choices=True, dummy=["特", "詩", "思", "借", "語", "送"],
        softkey="kan3\\kan3key.txt",
        hint=["「持つ」と「待つ」は", "左がわがちがいます。", "手で持つ…てへん",
              "人を待つ…ぎょうにんべん"],
        value=value(630, 52, options=4), font=font(14, answer_size=18), kran=kran(5, 2, 2)),
]

# The soft keyboard of unit 3 above: eight keys to a row, the answers among look-alikes.
KAN3_KEYS = [
    "持待特時寺詩発登",
    "乗来東車感想思意",
    "昔借話語談相箱速",
    "送連進追近返道遠",
    "陽湯場様洋羊美着",
]

# Figures of lesson 1 (kan3\Graph\): name, label in the corner, kanji of the answer picture.
KAN3_FIGURES = [("hashi", "ア", "橋"), ("shima", "イ", "島"), ("taiyou", "ウ", "太陽")]

KAN33 = [
    Unit(1, [
        "次の絵を見て、□にあてはまる漢字を書きなさい。",
        WIDE_BLANK,
        "",
        "",
        "（1）（ア）は、川にかかる#橋#（はし）です。",
        "（2）（イ）は、海にうかぶ#島#（しま）です。",
        "（3）（ウ）は、空にかがやく#太陽#（たいよう）です。",
        "（4）橋の上から#川岸#（かわぎし）をながめる。",
        "（5）島の#港#（みなと）に船が着く。",
        "（6）#湖#（みずうみ）の#氷#（こおり）がとける。",
        "（7）急な#坂#（さか）を自転車で上る。",
        "（8）#畑#（はたけ）でとれた豆を#皿#（さら）にもる。",
    ], choices=True, dummy=["鳥", "太洋", "水"],
        hint=["「島」と「鳥」は", "形がにています。", "山があるのが「島」です。"],
        # Figure 2 has no position yet: the sheet puts it beside the second line.
        graph=["taiyou.bmp", 430, 137, "hashi.bmp", 0, 0, "shima.bmp", 260, 137],
        agraph=["taiyou_a.bmp", 430, 137, "hashi_a.bmp", 90, 137, "shima_a.bmp", 260, 137],
        value=value(630, 50), font=font(14, answer_size=16), kran=kran(1, 3, 4)),
]


def reading_pair(n, kanji, readings):
    """One single-kanji reading question: the kanji a size larger, the answer in parentheses
    wide enough for five characters whatever the first reading."""
    first = readings.split(";")[0]
    return "（%d）<+>%s<=>（#%s#%s）" % (n, kanji, readings, WIDE_BLANK * (5 - len(first)))


KUN_ON = [("表", "ひょう;おもて"), ("昔", "むかし;せき;しゃく"), ("坂", "はん;さか"),
          ("橋", "きょう;はし"), ("歯", "し;は"), ("宮", "きゅう;みや;ぐう"),
          ("荷", "か;に"), ("皮", "ひ;かわ"), ("豆", "とう;まめ;ず"),
          ("島", "とう;しま"), ("湖", "こ;みずうみ"), ("笛", "てき;ふえ")]

KUN_ON_LINES = ["次の漢字の読み方を一つ、ひらがなで書きなさい。",
                "<U><B>音読み</></>でも<U><B>訓読み</></>でもかまいません。"]
for row in range(0, len(KUN_ON), 2):
    left = reading_pair(row + 1, *KUN_ON[row])
    right = reading_pair(row + 2, *KUN_ON[row + 1])
    KUN_ON_LINES += ["", left + WIDE_BLANK * 4 + right]

KAN33.append(Unit(2, KUN_ON_LINES, blanks="none", choices=True, dummy=["ひょ", "むがし", "はじ"],
                  hint=["音読み…昔、中国から", "伝わった読み方。", "訓読み…漢字の意味を表す",
                        "日本の言葉の読み方。"],
                  value=value(891, 60, 10, 10, options=2), font=font(16, "ＭＳ 明朝", answer_size=16),
                  kran=kran(0, 15, 2)))

# ------------------------------------------------ lesson 2: 小学四年の漢字

KAN41 = [
    Unit(1, [
        READ_HEAD,
        "（1）<U>愛犬</>#あいけん#と散歩する。",
        "（2）<U>希望</>#きぼう#に満ちた顔。",
        "（3）声を出して<U>笑</>#わら#う。",
        "（4）悲しくて<U>泣</>#な#く。",
        "（5）<U>勇気</>#ゆうき#を出して発表する。",
        "（6）<U>努力</>#どりょく#が実を結ぶ。",
        "（7）<U>念願</>#ねんがん#がかなう。",
        "（8）たん生日を<U>祝</>#いわ#う。",
        "（9）できばえに<U>満足</>#まんぞく#する。",
        "（10）<U>不安</>#ふあん#な気持ちになる。",
    ], blanks="lead", choices=True, dummy=["あいげん", "きぽう", "ゆうぎ", "どりき", "まんそく"],
        hint=["「愛」の音読みは「アイ」、", "「勇」は「ユウ」、", "「努」は「ド」と読みます。"],
        value=value(546, 48, 4, 4), font=font(12, answer_size=12), kran=kran(2, 15, 2)),
    Unit(2, [
        READ_HEAD,
        "（1）市の<U>議会</>#ぎかい#を見学する。",
        "（2）<U>選挙</>#せんきょ#で代表を決める。",
        "（3）町の<U>産業</>#さんぎょう#を調べる。",
        "（4）この港は<U>漁業</>#ぎょぎょう#がさかんだ。",
        "（5）みんなで<U>協力</>#きょうりょく#する。",
        "（6）工場で<U>働</>#はたら#く人。",
        "（7）全国<U>各地</>#かくち#から集まる。",
        "（8）<U>軍手</>#ぐんて#をはめて作業する。",
        "（9）夜道を<U>街灯</>#がいとう#が照らす。",
        "（10）日本の<U>都道府県</>#とどうふけん#を覚える。",
    ], choices=True, dummy=["ぎょうぎょう", "せんきょう", "かくじ"],
        value=value(630, 48), font=font(14, answer_size=16), kran=kran(5, 2, 2)),
    Unit(2, [
        READ_HEAD,
        "（1）<U>国民</>#こくみん#の祝日を調べる。",
        "（2）学級会の<U>司会</>#しかい#をする。",
        "（3）名前を書いた<U>札</>#ふだ#をつける。",
        "（4）荷物を<U>倉庫</>#そうこ#にしまう。",
        "（5）<U>観光</>#かんこう#バスに乗る。",
        "（6）<U>給食</>#きゅうしょく#の当番をする。",
        "（7）文集を<U>印刷</>#いんさつ#する。",
        "（8）電車の<U>料金</>#りょうきん#をはらう。",
        "（9）毎日の<U>健康</>#けんこう#に気をつける。",
        "（10）町の<U>自治</>#じち#会に入る。",
    ], similar=1,
        value=value(630, 50), font=font(14, answer_size=16), kran=kran(1, 2, 4)),
    Unit(3, [
        "次の―線の言葉の読みをひらがなで書きなさい。",
        "（読み方が二つある言葉は、どちらで答えてもよい。）",
        "（1）広い<U>牧場</>#ぼくじょう;まきば#で馬が走る。",
        "（2）食事の<U>最中</>#さいちゅう;さなか#に電話が鳴る。",
        "（3）山の<U>清水</>#しみず;せいすい#で手をあらう。",
        "（4）<U>昨日</>#きのう;さくじつ#は雨だった。",
        "（5）<U>一昨年</>#おととし;いっさくねん#の夏に引っこした。",
        "（6）<U>博士</>#はかせ;はくし#の研究室をたずねる。",
        "（7）山の上から見る<U>景色</>#けしき#は美しい。",
        "（8）食後に<U>果物</>#くだもの#を食べる。",
        "（9）<U>清</>#きよ#らかな水が流れる。",
        "（10）<U>井戸</>#いど#の水をくむ。",
    ], choices=True, dummy=["けいしょく", "かぶつ"],
        hint=["「景色」「果物」は、", "一字ずつではなく言葉全体で", "特別な読み方をします。"],
        value=value(630, 60, options=3), font=font(12, answer_size=14), kran=kran(4, 0, 2)),
]

KAN42 = [
    Unit(1, [
        WRITE_HEAD,
        "（1）<U>えいよう</>#栄養#のある食事をとる。",
        "（2）<U>きゅうしょく</>#給食#を残さず食べる。",
        "（3）畑で<U>やさい</>#野菜#を育てる。",
        "（4）<U>しお</>#塩#で味をつける。",
        "（5）<U>ゆうはん</>#夕飯#の用意をする。",
        "（6）<U>よくしつ</>#浴室#をそうじする。",
        "（7）暗くなったので<U>でんとう</>#電灯#をつける。",
        "（8）旅行に<U>ひつよう</>#必要#な物を買う。",
        "（9）<U>べんり</>#便利#な道具を使う。",
        "（10）<U>りょうり</>#料理#の<U>ざいりょう</>#材料#をそろえる。",
    ], choices=True, dummy=["栄要", "給色", "夕板", "必用", "便理", "科理", "材科"],
        hint=["「必要」を「必用」と", "書かないようにしよう。", "「料」と「科」は",
              "形がにています。"],
        value=value(771, 56, 7, 7), font=font(16, answer_size=20), kran=kran(5, 3, 6)),
    Unit(2, [
        "次の言葉と反対の意味の言葉を、漢字で書きなさい。",
        "（1）<B>最高</>　⇔　#最低#",
        "（2）<B>成功</>　⇔　#失敗#",
        "（3）<B>以上</>　⇔　#以下#",
        "（4）<B>熱</>い　⇔　#冷#たい",
        "（5）<B>浅</>い　⇔　#深#い",
        "（6）<B>戦争</>　⇔　#平和#",
        "（7）<B>勝利</>　⇔　#敗北#",
        "（8）<B>入学</>　⇔　#卒業#",
    ], choices=True, dummy=["最底", "矢敗", "令", "探", "平話", "敗比"],
        hint=["「低」と「底」、", "「冷」と「令」のちがいに", "気をつけよう。"],
        value=value(630, 58, options=6), font=font(16), kran=kran(1, 4, 6)),
    Unit(3, [
        BOX_HEAD,
        "<B>【たけかんむり】</>",
        "（1）季#節#（せつ）の花がさく。",
        "（2）大きな声で#笑#（わら）う。",
        "（3）水道#管#（かん）を直す。",
        "<B>【ごんべん】</>",
        "（4）学級会で#議#（ぎ）題を決める。",
        "（5）先生の#説#（せつ）明を聞く。",
        "（6）漢字の#試#（し）験がある。",
        "<B>【さんずい】</>",
        "（7）#浅#（あさ）い川をわたる。",
        "（8）#漁#（ぎょ）船が港を出る。",
        "（9）コップに水を#満#（み）たす。",
    ], hint=["竹かんむり…竹に関係", "ごんべん…言葉に関係", "さんずい…水に関係",
             "のある漢字が多いです。"],
        value=value(546, 58, 4, 4, options=0), font=font(13), kran=kran(1, 0, 10)),
]

# The two-column test: readings on the left, writing on the right.
_LEFT = [
    "【読み】―線の読みを書きなさい。",
    "（1）<U>英語</>#えいご#を習う。",
    "（2）<U>改札</>#かいさつ#口で待つ。",
    "（3）運動会に<U>参加</>#さんか#する。",
    "（4）新しい橋の<U>完成</>#かんせい#を祝う。",
    "（5）自分の行いを<U>反省</>#はんせい#する。",
    "（6）<U>残念</>#ざんねん#な結果に終わる。",
    "（7）星に<U>関心</>#かんしん#を持つ。",
    "（8）古い<U>建物</>#たてもの#の中に入る。",
    "（9）交通<U>信号</>#しんごう#を守る。",
    "（10）一年の<U>目標</>#もくひょう#を決める。",
]
_RIGHT = [
    "【書き】―線を漢字に直しなさい。",
    "（11）アサガオの<U>かんさつ</>#観察#日記。",
    "（12）プールで<U>きろく</>#記録#をとる。",
    "（13）道じゅんを<U>せつめい</>#説明#する。",
    "（14）<U>ぐんま</>#群馬#県に住む。",
    "（15）<U>しずおか</>#静岡#県の茶畑。",
    "（16）テストの<U>けっか</>#結果#を伝える。",
    "（17）<U>りくじょう</>#陸上#の大会に出る。",
    "（18）<U>なかま</>#仲間#と遊ぶ。",
    "（19）ごみを<U>ぶんるい</>#分類#する。",
    "（20）工場の<U>きかい</>#機械#を動かす。",
]

# Prefectures, north to south: reading, name.
PREFECTURES = [("みやぎけん", "宮城県"), ("いばらきけん", "茨城県"), ("とちぎけん", "栃木県"),
               ("ぐんまけん", "群馬県"), ("さいたまけん", "埼玉県"), ("にいがたけん", "新潟県"),
               ("とやまけん", "富山県"), ("ふくいけん", "福井県"), ("やまなしけん", "山梨県"),
               ("ぎふけん", "岐阜県"), ("しずおかけん", "静岡県"), ("あいちけん", "愛知県"),
               ("しがけん", "滋賀県"), ("おおさかふ", "大阪府"), ("ならけん", "奈良県"),
               ("おかやまけん", "岡山県"), ("とくしまけん", "徳島県"), ("かがわけん", "香川県"),
               ("えひめけん", "愛媛県"), ("さがけん", "佐賀県"), ("ながさきけん", "長崎県"),
               ("くまもとけん", "熊本県"), ("かごしまけん", "鹿児島県"), ("おきなわけん", "沖縄県")]

_PREF_ITEMS = ["（%d）<U>%s</>#%s#" % (i + 1, reading, name)
               for i, (reading, name) in enumerate(PREFECTURES)]

KAN43 = [
    Unit(1, two_columns(pad(_LEFT, "both"), pad(_RIGHT, "both"), 22), blanks="none",
         value=value(771, 56, options=7), font=font(12, answer_size=14),
         kran=kran(4, 0, 2, columns=2)),
    Unit(2, ["次の―線の都道府県名を漢字で書きなさい。"]
         + two_columns(pad(_PREF_ITEMS[0::2], "both"), pad(_PREF_ITEMS[1::2], "both"), 19),
         blanks="none", choices=True, dummy=["茨木県", "大坂府", "新瀉県", "奈羅県"],
         hint=["「茨城県」の「城」、", "「大阪府」の「阪」に", "気をつけよう。"],
         value=value(891, 56, 6, 6), font=font(16, answer_size=18), kran=kran(5, 3, 4)),
]

# ------------------------------------------------ indexes

LESSONS = [
    # title, folder = base name, index title, sections: (title, unit titles, units)
    ("小学三年の漢字", "kan3", "小学三年の漢字", [
        ("読みの練習", ["くらしの中の漢字（読み）", "自然とくらし（読み）", "体と動き（読み）"], KAN31),
        ("書きの練習", ["学校のことば（書き）", "町のようす（書き）", "ソフトキーボードで書こう"], KAN32),
        ("絵と漢字", ["絵を見て書こう", "音読みと訓読み"], KAN33),
    ]),
    ("小学四年の漢字", "kan4", "小学四年の漢字", [
        ("読みの練習", ["気持ちと行動（読み）", "社会のことば（読み）", "二通りの読み方"], KAN41),
        ("書きの練習", ["くらしのことば（書き）", "反対の意味の言葉", "同じ部分をもつ漢字"], KAN42),
        ("まとめ", ["まとめテスト（二段組）", "都道府県の漢字"], KAN43),
    ]),
]


def write_texts():
    main = [COURSE_TITLE, "小学三年・四年の漢字の読み書き練習"]
    for title, base, index_title, sections in LESSONS:
        main.append("%s,%s\\_%s" % (title, base, base))
        index = [index_title]
        for k, (section_title, unit_titles, units) in enumerate(sections, 1):
            index += ["[[sect%d" % k, section_title, "<<"] + unit_titles + [">>", "]]"]
            que = []
            for u in units:
                que += u.lines()
            write_lines("%s/%s%d.que" % (base, base, k), que)
        write_lines("%s/%s.ind" % (base, base), index)
    main.append(">>")
    write_lines("Main.ind", main)
    write_lines("kan3/kan3key.txt", KAN3_KEYS)


# ---------------------------------------------------------------- pictures

def convert(args, relpath):
    path = os.path.join(COURSE, *relpath.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["convert"] + args + ["-alpha", "off", "-type", "TrueColor", "BMP3:" + path],
                   check=True)


def scene(name):
    """Drawing commands of one 120 x 90 figure."""
    if name == "hashi":  # an arched bridge over a river
        return ["-fill", "#8cc6f0", "-draw", "rectangle 0,64 119,89",
                "-fill", "#7cbf4a", "-draw", "rectangle 0,58 20,89", "-draw", "rectangle 99,58 119,89",
                "-fill", "none", "-stroke", "#8b4a1c", "-strokewidth", "5",
                "-draw", "path 'M 8,60 Q 60,22 112,60'",
                "-strokewidth", "2", "-draw", "path 'M 8,50 Q 60,12 112,50'",
                "-draw", "line 30,43 30,31", "-draw", "line 45,38 45,24", "-draw", "line 60,36 60,22",
                "-draw", "line 75,38 75,24", "-draw", "line 90,43 90,31",
                "-stroke", "#4a90c8", "-strokewidth", "1",
                "-draw", "line 26,74 44,74", "-draw", "line 66,80 86,80", "-stroke", "none"]
    if name == "shima":  # an island with a tree in the sea
        return ["-fill", "#8cc6f0", "-draw", "rectangle 0,56 119,89",
                "-fill", "#e8d49a", "-draw", "ellipse 60,60 44,14 180,360",
                "-fill", "#6aa84f", "-draw", "polygon 30,60 52,30 66,42 80,34 96,60",
                "-fill", "#8b5a2b", "-draw", "rectangle 70,24 73,40",
                "-fill", "#3e8e3e", "-draw", "ellipse 72,22 12,6 0,360",
                "-stroke", "#4a90c8", "-strokewidth", "1",
                "-draw", "line 10,76 28,76", "-draw", "line 84,82 104,82", "-stroke", "none"]
    if name == "taiyou":  # the sun over the fields, left of where the answer label goes
        rays = []
        for step in range(8):
            c, s = math.cos(step * math.pi / 4), math.sin(step * math.pi / 4)
            rays += ["-draw", "line %d,%d %d,%d" % (round(42 + 20 * c), round(40 + 20 * s),
                                                    round(42 + 27 * c), round(40 + 27 * s))]
        return (["-fill", "#9fd36a", "-draw", "rectangle 0,72 119,89",
                 "-fill", "#ff9a1f", "-stroke", "#e06000", "-strokewidth", "2",
                 "-draw", "circle 42,40 42,24", "-strokewidth", "3"] + rays + ["-stroke", "none"])
    raise ValueError(name)


def figure(name, label, answer=None):
    args = ["-size", "120x90", "xc:white"] + scene(name)
    args += ["-fill", "white", "-stroke", "black", "-strokewidth", "1",
             "-draw", "circle 11,11 11,2", "-stroke", "none",
             "-font", FONT_GOTHIC, "-pointsize", "13", "-fill", "black",
             "-gravity", "NorthWest", "-annotate", "+5+4", label]
    if answer:  # the answer picture names the thing in red, top right
        width = 22 * len(answer) + 6
        args += ["-fill", "white", "-stroke", "#d00000", "-strokewidth", "2",
                 "-draw", "rectangle %d,2 117,28" % (117 - width),
                 "-stroke", "none", "-fill", "#d00000", "-font", FONT_MINCHO, "-pointsize", "20",
                 "-annotate", "+%d+4" % (117 - width + 4), answer]
    args += ["-fill", "none", "-stroke", "#606060", "-strokewidth", "1",
             "-draw", "rectangle 0,0 119,89"]
    return args


def title_picture():
    args = ["-size", "480x320", "xc:white",
            "-fill", "none", "-stroke", "#2e8b57", "-strokewidth", "6",
            "-draw", "roundrectangle 8,8 471,311 24,24",
            "-stroke", "#9acd32", "-strokewidth", "2",
            "-draw", "roundrectangle 18,18 461,301 18,18", "-stroke", "none"]
    # three coloured discs with the kanji of reading, writing and kanji
    for x, colour, kanji in [(150, "#e8453c", "読"), (240, "#3c78d8", "書"), (330, "#f1a20a", "漢")]:
        args += ["-fill", colour, "-draw", "circle %d,88 %d,52" % (x, x),
                 "-fill", "white", "-font", FONT_MINCHO, "-pointsize", "44",
                 "-gravity", "NorthWest", "-annotate", "+%d+62" % (x - 22), kanji]
    args += ["-gravity", "North", "-fill", "#1f3f7f", "-font", FONT_GOTHIC,
             "-pointsize", "34", "-annotate", "+0+150", COURSE_TITLE,
             "-fill", "#404040", "-pointsize", "18", "-annotate", "+0+205",
             "小学三年・小学四年　読み・書き",
             "-stroke", "#2e8b57", "-strokewidth", "2", "-draw", "line 90,240 390,240",
             "-stroke", "none", "-fill", "#2e8b57", "-pointsize", "15", "-annotate", "+0+254",
             "類題・絵・ヒント・ソフトキーボードつき"]
    # a pencil in the lower right corner
    args += ["-fill", "#f6c343", "-stroke", "#8a6d1d", "-strokewidth", "1",
             "-draw", "polygon 380,292 440,262 446,274 386,304",
             "-fill", "#f2d9b3", "-draw", "polygon 380,292 386,304 368,304",
             "-fill", "#404040", "-stroke", "none", "-draw", "polygon 368,304 373,301 372,304",
             "-fill", "#e88080", "-stroke", "#8a6d1d", "-draw", "polygon 440,262 450,257 456,269 446,274"]
    return args


def class_flag():
    return ["-size", "48x40", "xc:white",
            "-stroke", "#8b5a2b", "-strokewidth", "3", "-draw", "line 5,2 5,39",
            "-stroke", "#c00000", "-strokewidth", "1", "-fill", "#e8453c",
            "-draw", "polygon 7,3 45,12 7,22", "-stroke", "none",
            "-fill", "#ffe14d", "-draw", "circle 19,12 19,7"]


def write_pictures():
    convert(title_picture(), "Title.BMP")
    convert(class_flag(), "classFlag.bmp")
    for name, label, answer in KAN3_FIGURES:
        convert(figure(name, label), "kan3/Graph/%s.bmp" % name)
        convert(figure(name, label, answer), "kan3/Graph/%s_a.bmp" % name)


def main():
    if os.path.isdir(COURSE):
        shutil.rmtree(COURSE)
    os.makedirs(COURSE)
    write_texts()
    write_pictures()
    print("written:", COURSE)


if __name__ == "__main__":
    sys.exit(main())
