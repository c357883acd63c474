#!/usr/bin/env python3
"""Writes data-src/words/05-arithmetic.txt: sums and differences up to ten,
the multiplication table from 2 to 12 and the division that undoes it.

The phrase base finds a key anywhere in the phrase, so «2+2» would also be
found in «12+25». Every key here therefore starts with a space (the number
stands after a word, as in «сколько будет 2+2?») and ends with the mark
that follows the last number: '?', '.' or '='. A key that ended at the
number would answer «2 + 25» as «2 + 2» in the word pass. Numbers are written
in digits with '+', '*' or 'х' (with or without spaces around '+' and '*'),
and in words («семь умножить на восемь»).

The leading space does not hold in the word pass: there « 14 ДЕЛИТЬ НА 2.»
is cut into words, found one by one in «144 делить на 12.», and the answer
is wrong. So every phrase with a digit right before an operator must find a
key whole. The file is laid out for that, top to bottom:
  1. the exact lines, keys with the leading space;
  2. a guard: two digits before '+' or '*' («12+2» at the very start of the
     phrase, where no space stands before the number) — an honest answer;
  3. the exact sums and products once more, keys without the space, for a
     phrase that starts with the example («2+2»);
  4. the catch-all: any digit before an operator — the same honest answer.
Every alternative of a key is a line of its own in Words.Dat: keep them few.

Run from anywhere: python3 scripts/make_arithmetic.py
"""
import pathlib

top = pathlib.Path(__file__).resolve().parent.parent
dst = top / "data-src" / "words" / "05-arithmetic.txt"

WORDS = ["НОЛЬ", "ОДИН", "ДВА", "ТРИ", "ЧЕТЫРЕ", "ПЯТЬ", "ШЕСТЬ", "СЕМЬ", "ВОСЕМЬ",
         "ДЕВЯТЬ", "ДЕСЯТЬ", "ОДИННАДЦАТЬ", "ДВЕНАДЦАТЬ"]
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
# Answers of the exact lines, and their keys without the leading space for
# part 3 (single-digit first numbers only: part 2 guards the rest).
bare = []


def exact(keys, answer, a, signs):
    lines.append("|".join(keys) + "^" + answer)
    if a < 10:
        bk = [k[1:] for k in keys if k[0] == " " and k[1:2].isdigit() and any(s in k for s in signs)]
        if bk:
            bare.append("|".join(bk) + "^" + answer)


for a in (8, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12):
    for b in range(2, 13):
        keys = digit_keys(a, "*", b) + digit_keys(a, "Х", b, ("",)) + digit_keys(a, "X", b, ("",))
        keys += word_keys(a, "УМНОЖИТЬ НА", b)
        if a < 10 and b < 10:
            keys += word_keys(a, "НА", b)
        if a in TIMES and b < 11:
            keys += [f"{TIMES[a]} {WORDS[b]}{end}" for end in ("?", ".")]
        exact(keys, f"{a} * {b} = {a * b}.;Будет {a * b}.;", a, ("*", "Х", "X", "УМНОЖИТЬ"))
for a in range(1, 11):
    for b in range(1, 11):
        keys = digit_keys(a, "+", b) + word_keys(a, "ПЛЮС", b)
        exact(keys, f"{a} + {b} = {a + b}.;Будет {a + b}.;", a, ("+", "ПЛЮС"))
# Differences in words only: «5-2» is also a range («5-7 дней»).
for a in range(1, 11):
    for b in range(1, a + 1):
        exact(word_keys(a, "МИНУС", b), f"{a} - {b} = {a - b}.;Будет {a - b}.;", a, ("МИНУС",))
# Division that comes out whole, inside the multiplication table and of a
# hundred by its round parts.
pairs = sorted({(a * b, b) for a in range(2, 13) for b in range(2, 13)} | {(100, d) for d in (2, 4, 5, 10, 20, 25, 50)},
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
HONEST = ("^Такой пример я в уме не посчитаю, а выдумывать ответ не хочу. Таблицу умножения до двенадцати "
          "и сложение до десяти — пожалуйста, а для остального лучше калькулятор.;"
          "Эти числа мне не по силам: честно считаю только таблицу умножения и примеры до десяти. "
          "Калькулятор тут надёжнее!;")
# A key that starts with a digit is not found after the same digit («4+» in
# «44+5»: the letter where a match broke off is not tried again), so the
# catch-all keys start with the operator where they can.
GUARD_OPS = ("+", " +", "*", " *", "Х", "X", " УМНОЖИТЬ", " ПЛЮС", " МИНУС")
# «444+4»: «44+» is not found there (see above); its own line, since the
# build drops a key that holds an earlier key of the same line.
lines.append("|".join(f"{d}{d}{d}{op}" for op in GUARD_OPS for d in range(10)) + HONEST)
lines.append("|".join(f"{d}{e}{op}" for op in GUARD_OPS for d in range(10) for e in range(10)) + HONEST)
lines.append("2+2*2|2 + 2 * 2|2+2Х2|2 + 2 Х 2^Шесть: сначала умножение, потом сложение.;2 + 2 * 2 = 6, а не 8.;")
lines += bare
# Not examples: a work schedule («работаю 5/2», «смена 2/2») and a car model.
lines.append("5/2|2/2|1/3|3/3|7/7|15/15|СУТКИ ЧЕРЕЗ"
             "^Знакомый график! Как он тебе — удобно или выматывает?;"
             "Понятно, такой график. Хватает времени на отдых?;")
# A phone number: «+79» alone may be «15+79», so a longer run of digits.
lines.append("|".join(["+7 9", "+7(", "+7 (", "+7-9", "+375 ", "+375(", "+380 ", "+380("]
                      + [f"+79{d}" for d in range(10)]) + "^Номера телефонов я не храню и звонить не умею — лучше сохрани его в телефоне.;"
             "Звонить я не умею, а номера не запоминаю. Лучше записать его в телефон!;")
lines.append("BMW X|BMW Х|БМВ Х|БМВ X^Серьёзная машина! Нравится за рулём?;Хороший выбор! Давно хотелось такую?;")
# «работаю 24/7» is not an example.
lines.append("24/7^Круглые сутки без выходных? Так и выдохнуться недолго. Удаётся хоть иногда отдыхать?;Без выходных — это тяжело. Когда получится выдохнуть и отдохнуть?;")
catch = [f"{op}{d}" for op in ("+", "+ ", "*", "* ", "/", "/ ", "Х", "X", "УМНОЖИТЬ НА ", "ДЕЛИТЬ НА ")
         for d in range(10)]
catch += [f"{d}{op}" for op in (" ПЛЮС", " МИНУС") for d in range(10)]
catch += [f"{d}{d}{op}" for op in (" ПЛЮС", " МИНУС") for d in range(10)]
lines.append("|".join(catch) + HONEST)
dst.write_text("\n".join(lines) + "\n", encoding="utf-8")
print(f"{dst.relative_to(top)}: {len(lines) - 2} lines")
