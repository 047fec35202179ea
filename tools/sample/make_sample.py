#!/usr/bin/env python3
"""Makes the sample wall that a new portable folder starts with.

Writes into resources/sample-wall/: the card files of the root wall and of
its sub-wall, both wall.ini files, the pictures (rendered from the SVG files
beside this script), the thumbnail of the picture card and the chime.
Files of the wall that are written by hand (the LOGO project, the files in
"プリント") are left alone.

Needs rsvg-convert and ImageMagick's convert. Run from anywhere:
    python3 tools/sample/make_sample.py
"""

import math
import os
import struct
import subprocess
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
WALL = os.path.join(HERE, "..", "..", "resources", "sample-wall")
SUB = "実験の記録"  # the sub-wall
STAMP = "20261209-1200"  # + two digits per card

# Card colour codes: 1 white, 3 cyan, 4 yellow, 8 silver, 9 amber, 10 blue,
# 11 navy, 12 pale green, 13 teal, 14 green, 17 purple, 18 red,
# 19 transparent. Text colours: 1 black, 2 red, 4 yellow, 5 blue, 6 white.
ELLIPSE, RECT = 0, 1


def card(name, text, x, y, w, h, colour, text_colour, shape=RECT, hint="", link="",
         picture="", flash="", mark="", stamp=0, check=""):
    return dict(name=name, text=text, x=x, y=y, w=w, h=h, colour=colour,
                text_colour=text_colour, shape=shape, hint=hint, link=link,
                picture=picture, flash=flash, mark=mark, stamp=stamp, check=check)


# Positions and sizes in the wall's 1920 x 1080 reference space; the right
# 60 units belong to the tool column.
ROOT_CARDS = [
    card("タイトル", "理科　イオンと化学式", 60, 44, 800, 110, 19, 6,
         hint="中学3年　化学変化とイオン"),
    card("めあて", "めあて　イオンを化学式で表そう", 900, 56, 940, 90, 1, 5, mark="★",
         hint="★などのしるしは、カードを右クリックしたメニューで付けかえられます"),
    card("式_水", "H2O", 60, 200, 250, 130, 3, 5, ELLIPSE, hint="水"),
    card("式_鉄イオン", "Fe+3", 340, 200, 250, 130, 4, 2,
         hint="鉄(III)イオン：鉄原子が電子を3個失ったもの"),
    card("式_硫酸イオン", "SO4-2", 620, 200, 290, 130, 12, 1, hint="硫酸イオン"),
    card("式_銅イオン", "Cu+2", 940, 200, 250, 130, 10, 6, ELLIPSE,
         hint="銅(II)イオン：水よう液は青色"),
    card("入口_実験の記録", "実験の記録へ▶", 1230, 205, 610, 120, 14, 6,
         link=SUB + "\\", hint="クリックすると、実験の記録のかべに入ります"),
    card("写真_水の分子", "水の分子", 60, 380, 440, 330, 1, 5, picture="水の分子.jpg",
         link="水の分子.jpg", hint="クリックすると大きく開きます（もう一度クリックで閉じる）"),
    card("クイズ1_アンモニウムイオン", "アンモニウムイオンは？\r\n（クリックで答え）", 540, 380, 580, 150, 9, 1,
         flash="NH4+", hint="クリックすると、答えが5秒間出ます"),
    card("クイズ2_酸素", "酸素の分子は？\r\n（答えは右の✔）", 540, 560, 580, 150, 1, 1,
         hint="右の✔をクリックすると、答えが出ます"),
    card("クイズ2_答え", "O2", 1150, 566, 160, 140, 4, 2, check="1",
         hint="もう一度クリックすると、✔にもどります"),
    card("音_チャイム", "♪チャイム", 1340, 380, 500, 130, 17, 6, ELLIPSE, link="チャイム.wav",
         hint="クリックすると音が鳴ります"),
    card("LOGO_にじの花", "プログラミング\r\nにじの花をかこう", 1340, 540, 500, 170, 11, 4,
         link="にじの花.trx", hint="LOGOの画面が開いて、花をかきます"),
    card("スタンプ_よくできました", "よくできました", 60, 790, 380, 80, 18, 6, ELLIPSE, stamp=1,
         hint="スタンプ：クリックしてから、かべの好きな所をクリックすると、そこにはれます"),
    card("スタンプ_使い方", "←スタンプ：押して、かべをクリック", 460, 800, 660, 60, 19, 6),
    card("フォルダ_プリント", "プリントのフォルダ", 1340, 785, 500, 90, 8, 1, link="プリント\\>",
         hint="フォルダ「プリント」をファイルマネージャーで開きます"),
    card("はじめに", "はじめに：カードをクリック　ドラッグで移動　道具は右はし　Ctrl＋Sで保存して終了",
         60, 940, 1780, 64, 1, 1, hint="カードを右クリックすると、色や大きさを変えるメニューが出ます"),
]

SUB_CARDS = [
    card("もどる", "＜もどる", 60, 56, 260, 100, 11, 6, link="<",
         hint="前のかべにもどります"),
    card("タイトル", "実験　塩酸の電気分解", 360, 56, 860, 100, 1, 1,
         hint="電極は炭素棒、電源装置の電圧は6V"),
    card("式1_塩化水素", "HCl", 60, 220, 260, 130, 1, 1, ELLIPSE, hint="塩化水素：塩酸にとけている"),
    card("式2_矢印", "→", 330, 220, 100, 130, 19, 1),
    card("式3_水素イオン", "H+", 440, 220, 240, 130, 3, 5, ELLIPSE, hint="水素イオン（陽イオン）"),
    card("式4_たす", "＋", 690, 220, 90, 130, 19, 1),
    card("式5_塩化物イオン", "Cl-", 790, 220, 240, 130, 12, 1, ELLIPSE,
         hint="塩化物イオン（陰イオン）"),
    card("陰極", "陰極（－極）", 60, 430, 400, 110, 10, 6),
    card("陰極_気体", "H2", 490, 420, 180, 130, 3, 5, hint="水素：火を近づけるとポンと燃える"),
    card("陽極", "陽極（＋極）", 60, 600, 400, 110, 18, 6),
    card("陽極_気体", "Cl2", 490, 590, 180, 130, 12, 1, hint="塩素：においがあり、色をぬく"),
    card("気づいたこと", "気づいたこと\r\n陽極の気体は、\r\nにおいがあって\r\n水にとけやすかった",
         1080, 400, 760, 330, 4, 1, hint="ノートにも書いておこう"),
    card("まとめ", "まとめ\r\n塩化水素は水にとけると、陽イオンと陰イオンに分かれる（電離）",
         60, 800, 1780, 180, 12, 1),
]


def poster(c, n):
    """One card record, as the program writes it (tags hold code * 1000 + n)."""
    name = c["name"] + ".txt"
    fields = [
        '<POSTER="' + c["picture"] + '"',
        str(c["x"]), str(c["y"]), str(c["w"]), str(c["h"]),
        str(c["colour"] * 1000 + n), str(c["text_colour"] * 1000 + n),
        str(c["stamp"]), str(c["shape"] * 1000 + n),
        '"' + '","'.join([c["hint"], c["link"], c["text"], name, STAMP + "%02d" % n]) + '"',
        c["flash"], c["mark"], c["check"] + ">",
    ]
    for unquoted in (c["flash"], c["mark"]):
        assert "," not in unquoted, unquoted
    return name, ",".join(fields)


def write_wall_text(path, text):
    """UTF-8 with a byte order mark, every line ending in CR LF."""
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    with open(path, "wb") as f:
        f.write(b"\xef\xbb\xbf" + "".join(line + "\r\n" for line in lines).encode("utf-8"))


def write_wall(folder, cards, background):
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):  # every .txt file of a wall folder is a card
        if old.endswith(".txt"):
            os.remove(os.path.join(folder, old))
    for n, c in enumerate(cards):
        name, record = poster(c, n)
        write_wall_text(os.path.join(folder, name), record)
    write_wall_text(os.path.join(folder, "wall.ini"),
                    '<PANEL="' + background + '",' + STAMP + "00>")


def render(svg, jpg, width, height, quality):
    with tempfile.TemporaryDirectory() as tmp:
        png = os.path.join(tmp, "out.png")
        subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height),
                        os.path.join(HERE, svg), "-o", png], check=True)
        subprocess.run(["convert", png, "-sampling-factor", "2x2,1x1,1x1",
                        "-quality", str(quality), "-strip", jpg], check=True)


def kernel(t):
    """The resampler's cubic convolution kernel (a = -1)."""
    if t < 1.0:
        return (t * t - t - 1.0) * (t - 1.0)
    return -(t - 1.0) * (t - 2.0) * (t - 2.0)


def taps(source, target):
    out = []
    for i in range(target):
        pos = i * source / target  # no half-pixel offset
        centre = min(int(pos), source - 1)
        row = []
        for n in range(centre - 1, centre + 3):
            row.append((centre if n < 0 or n > source - 1 else n, kernel(abs(pos - n))))
        out.append(row)
    return out


def set_byte(x):
    return 0 if not x > 0 else 255 if x >= 255 else round(x)  # halves to even


def thumbnail(folder, picture):
    """NAIL/~<picture>: 600 pixels high, Trunc(w * 600 / h) wide, bicubic as
    the program resamples, JPEG quality 100 with libjpeg's defaults."""
    ppm = subprocess.run(["convert", "-define", "jpeg:dct-method=islow",
                          os.path.join(folder, picture), "-depth", "8", "ppm:-"],
                         check=True, capture_output=True).stdout
    magic, w, h, maxval, pixels = ppm.split(maxsplit=4)
    w, h = int(w), int(h)
    assert magic == b"P6" and maxval == b"255" and len(pixels) == 3 * w * h
    tw, th = w * 600 // h, 600
    cols, rows = taps(w, tw), taps(h, th)
    cache = {}

    def across(y):  # source row y resampled to the target width, as floats
        if y not in cache:
            src = pixels[3 * w * y: 3 * w * (y + 1)]
            line = []
            for col in cols:
                for ch in range(3):
                    line.append(sum(wt * src[3 * x + ch] for x, wt in col))
            cache[y] = line
        return cache[y]

    out = bytearray()
    for row in rows:
        lines = [(across(y), wt) for y, wt in row]
        for j in range(3 * tw):
            out.append(set_byte(sum(wt * line[j] for line, wt in lines)))
    os.makedirs(os.path.join(folder, "NAIL"), exist_ok=True)
    header = b"P6 %d %d 255\n" % (tw, th)
    subprocess.run(["convert", "ppm:-", "-define", "jpeg:dct-method=islow",
                    "-define", "jpeg:optimize-coding=false", "-sampling-factor", "2x2,1x1,1x1",
                    "-quality", "100", "-strip", os.path.join(folder, "NAIL", "~" + picture)],
                   input=header + bytes(out), check=True)


def chime(path, rate=22050, seconds=1.2):
    """A two-note school chime (E6 then C6) with bell-like partials."""
    notes = [(0.0, 1318.5), (0.35, 1046.5)]
    frames = bytearray()
    for i in range(int(rate * seconds)):
        t = i / rate
        v = 0.0
        for start, f in notes:
            if t >= start:
                u = t - start
                env = math.exp(-3.2 * u) * min(1.0, u / 0.004)
                v += env * (math.sin(2 * math.pi * f * u) + 0.35 * math.sin(2 * math.pi * 2.76 * f * u)
                            * math.exp(-6 * u) + 0.2 * math.sin(2 * math.pi * 0.5 * f * u))
        fade = min(1.0, (seconds - t) / 0.05)
        frames += struct.pack("<h", int(max(-1.0, min(1.0, 0.38 * v * fade)) * 32767))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def main():
    sub = os.path.join(WALL, SUB)
    write_wall(WALL, ROOT_CARDS, "黒板.jpg")
    write_wall(sub, SUB_CARDS, "コルクボード.jpg")
    render("chalkboard.svg", os.path.join(WALL, "黒板.jpg"), 1920, 1080, 88)
    render("corkboard.svg", os.path.join(sub, "コルクボード.jpg"), 1920, 1080, 85)
    render("water-molecule.svg", os.path.join(WALL, "水の分子.jpg"), 1200, 900, 90)
    thumbnail(WALL, "水の分子.jpg")
    chime(os.path.join(WALL, "チャイム.wav"))


if __name__ == "__main__":
    main()
