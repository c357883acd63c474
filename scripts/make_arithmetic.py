#!/usr/bin/env python3
"""Writes data-src/words/05-arithmetic.txt: sums and products up to ten.

The phrase base finds a key anywhere in the phrase, so «2+2» would also be
found in «12+25». Every key here therefore starts with a space (the number
stands after a word, as in «сколько будет 2+2?») and ends with the mark
that follows the last number: '?', '.' or '='. A key that ended at the
number would answer «2 + 25» as «2 + 2» in the word pass. Numbers are written
in digits with '+', '*' or 'х', with or without spaces around the
sign, and in words («семь умножить на восемь»).

Run from anywhere: python3 scripts/make_arithmetic.py
"""
import pathlib

top = pathlib.Path(__file__).resolve().parent.parent
dst = top / "data-src" / "words" / "05-arithmetic.txt"

WORDS = ["НОЛЬ", "ОДИН", "ДВА", "ТРИ", "ЧЕТЫРЕ", "ПЯТЬ", "ШЕСТЬ", "СЕМЬ", "ВОСЕМЬ",
         "ДЕВЯТЬ", "ДЕСЯТЬ"]
ENDS = ["?", ".", "="]


def digit_keys(a, sign, b):
    keys = []
    for gap in ("", " "):
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
for a in range(1, 11):
    for b in range(1, 11):
        keys = []
        for sign in ("*", "Х"):
            keys += digit_keys(a, sign, b)
        keys += word_keys(a, "УМНОЖИТЬ НА", b)
        lines.append("|".join(keys) + f"^{a} * {b} = {a * b}.;Будет {a * b}.;")
for a in range(1, 11):
    for b in range(1, 11):
        keys = digit_keys(a, "+", b) + word_keys(a, "ПЛЮС", b)
        lines.append("|".join(keys) + f"^{a} + {b} = {a + b}.;Будет {a + b}.;")
dst.write_text("\n".join(lines) + "\n", encoding="utf-8")
print(f"{dst.relative_to(top)}: {len(lines) - 2} lines")
