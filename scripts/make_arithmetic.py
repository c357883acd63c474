#!/usr/bin/env python3
"""Writes data-src/words/05-arithmetic.txt: sums up to ten and the
multiplication table from 2 to 9.

The phrase base finds a key anywhere in the phrase, so «2+2» would also be
found in «12+25». Every key here therefore starts with a space (the number
stands after a word, as in «сколько будет 2+2?») and ends with the mark
that follows the last number: '?', '.' or '='. A key that ended at the
number would answer «2 + 25» as «2 + 2» in the word pass. Numbers are written
in digits with '+', '*' or 'х' (with or without spaces around '+' and '*'),
and in words («семь умножить на восемь»).

Run from anywhere: python3 scripts/make_arithmetic.py
"""
import pathlib

top = pathlib.Path(__file__).resolve().parent.parent
dst = top / "data-src" / "words" / "05-arithmetic.txt"

WORDS = ["НОЛЬ", "ОДИН", "ДВА", "ТРИ", "ЧЕТЫРЕ", "ПЯТЬ", "ШЕСТЬ", "СЕМЬ", "ВОСЕМЬ",
         "ДЕВЯТЬ", "ДЕСЯТЬ"]
ENDS = ["?", ".", "="]


def digit_keys(a, sign, b, gaps=("", " ")):
    keys = []
    for gap in gaps:
        for end in ENDS:
            if gap and end == "=":
                end = " ="
            keys.append(f" {a}{gap}{sign}{gap}{b}{end}")
    return list(dict.fromkeys(keys))


def word_keys(a, op, b):
    keys = []
    for left, right in ((str(a), str(b)), (WORDS[a], WORDS[b])):
        keys += [f" {left} {op} {right}{end}" for end in ("?", ".")]
    return keys


lines = [
    "# Written by scripts/make_arithmetic.py: change the script, not this file.",
    "# The trick question first: multiplication goes before addition.",
    " 2+2*2| 2 + 2 * 2| 2+2Х2| 2 + 2 Х 2| ДВА ПЛЮС ДВА УМНОЖИТЬ НА ДВА"
    "^Шесть: сначала умножение, потом сложение.;2 + 2 * 2 = 6, а не 8.;",
]
# «семью восемь», «дважды два»: the multiplier as it is said aloud.
TIMES = {2: "ДВАЖДЫ", 3: "ТРИЖДЫ", 4: "ЧЕТЫРЕЖДЫ", 5: "ПЯТЬЮ", 6: "ШЕСТЬЮ", 7: "СЕМЬЮ",
         8: "ВОСЕМЬЮ", 9: "ДЕВЯТЬЮ"}
# «ВОСЕМЬЮ» holds «СЕМЬЮ»: the eights go first.
for a in (8, 2, 3, 4, 5, 6, 7, 9):
    for b in range(2, 10):
        keys = digit_keys(a, "*", b) + digit_keys(a, "Х", b, ("",)) + digit_keys(a, "X", b, ("",))
        keys += word_keys(a, "УМНОЖИТЬ НА", b) + word_keys(a, "НА", b)[:2]
        keys += [f"{TIMES[a]} {WORDS[b]}{end}" for end in ("?", ".")]
        lines.append("|".join(keys) + f"^{a} * {b} = {a * b}.;Будет {a * b}.;")
for a in range(1, 11):
    for b in range(1, 11):
        keys = digit_keys(a, "+", b) + word_keys(a, "ПЛЮС", b)
        lines.append("|".join(keys) + f"^{a} + {b} = {a + b}.;Будет {a + b}.;")
# Division that comes out whole, inside the multiplication table and of a
# hundred by its round parts.
pairs = sorted({(a * b, b) for a in range(2, 11) for b in range(2, 11)} | {(100, d) for d in (2, 4, 5, 10, 20, 25, 50)},
               key=lambda p: (-len(str(p[0])), p))
for n, d in pairs:
    keys = []
    for op in ("РАЗДЕЛИТЬ НА", "ПОДЕЛИТЬ НА", "ДЕЛИТЬ НА"):
        keys += [f" {n} {op} {d}{end}" for end in ("?", ".")]
    keys += digit_keys(n, "/", d, ("", " ")) + digit_keys(n, ":", d, (" ",))
    lines.append("|".join(keys) + f"^{n} : {d} = {n // d}.;Будет {n // d}.;")
lines.append(
    " 2 В 10 СТЕПЕНИ| 2 В ДЕСЯТОЙ СТЕПЕНИ| 2 В СТЕПЕНИ 10| ДВА В ДЕСЯТОЙ СТЕПЕНИ| 2 В ДЕСЯТОЙ"
    "^2 в десятой степени — 1024.;Будет 1024: десять раз умножить двойку на саму себя.;")
lines.append(
    "В КВАДРАТЕ|В КУБЕ|В СТЕПЕНИ|КОРЕНЬ ИЗ|КВАДРАТНЫЙ КОРЕНЬ"
    "^Степени и корни я в уме не считаю, честно. Таблицу умножения и сложение до десяти — пожалуйста, а для остального лучше калькулятор.;"
    "Это уже не таблица умножения — тут лучше калькулятор. А сложение до десяти и таблицу умножения спрашивай смело!;")
dst.write_text("\n".join(lines) + "\n", encoding="utf-8")
print(f"{dst.relative_to(top)}: {len(lines) - 2} lines")
