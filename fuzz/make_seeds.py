#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (fuzz/corpus/<target>/).

The targets read their input with FuzzedDataProvider: texts from the front,
each ended by a backslash and one more byte, and numbers and switches from
the back. The seeds are laid out that way so that the first runs already
reach deep into the program."""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def w(text):
    return text.encode("cp1251")


def text(data):
    # A text as ConsumeRandomLengthString reads it back.
    return data.replace(b"\\", b"\\\\") + b"\\\n"


def tail(*values):
    # Bytes taken from the back, in the order the target takes them.
    return bytes(reversed(values))


def put(target, name, data):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def words_line():
    cases = [
        ("как дела", "КАК ДЕЛА^Хорошо.;Отлично!|А у тебя?;", 0),
        ("мне плохо", "_ПЛОХО^Почему?;", 1),
        ("ну пока", "ПОКА^До свидания!;@", 0),
        ("привет всем", "ПРИВЕТ^Здравствуй!;Рад видеть!", 0),
        ("что такое счастье?", "ЧТО ТАКОЕ СЧАСТЬЕ^", 0),
        ("я люблю кошек", "ЛЮБЛЮ КОШЕК^Я тоже.;|;Мяу;", 2),
    ]
    for i, (phrase, line, depth) in enumerate(cases):
        put("fuzz_words_line", f"seed{i}", text(w(phrase)) + w(line) + tail(depth, 7))


def turn():
    base = {
        "Words.Dat": "КАК ДЕЛА^Хорошо.;Отлично!|А у тебя?;\r\n_ПЛОХО^Почему?;\r\n"
                     "ПОКА^До свидания!;@\r\nЧТО НОВОГО^\r\n",
        "Povtor.Dat": "Ты повторяешься.\r\n",
        "X.Dat": "Не ругайся.\r\n",
        "Collection.Dat": ">>> Дурак.\r\n",
        "BigString.Dat": "Длинно.\r\n",
        "W1.Dat": "Что нового?\r\n",
        "W2.Dat": "Что нового.\r\nРасскажи о себе.\r\n",
        "CPUpvt.dat": "Опять.\r\n",
    }
    phrases = [("как дела", "плохо"), ("что нового", "у меня всё хорошо"),
               ("ты дурак", "ты дурак"), ("абракадабра", "ещё одна фраза?")]
    for i, (first, second) in enumerate(phrases):
        front = b"".join(text(w(v)) for v in base.values())
        front += text(b"") + text(w("Что нового?")) + text(w(first)) + w(second)
        back = tail(*([1] * len(base)), 1, 2, 3, 4, 0, 0)
        put("fuzz_turn", f"seed{i}", front + back)
    # A folder with files missing and lines ended every way.
    put("fuzz_turn", "seed-mixed",
        text(w("КЛЮЧ^ответ;\rВЕТКА^а;\n_Б^в;")) + text(b"") + text(w("привет")) + w("ключ") +
        tail(1, 0, 0, 0, 0, 0, 1, 0, 9, 9, 9, 9, 1, 1))


def config():
    shipped = (HERE.parent / "data" / "Config.ini").read_bytes()
    put("fuzz_config", "shipped", text(b"D:\\Txt.Dat") + shipped)
    put("fuzz_config", "short", text(b"") + b"a=1\r\nb=2\r\n")
    lines = [f"L{n}=" for n in range(1, 32)]
    for n in (7, 8, 9, 12, 13, 14, 15, 16, 17):
        lines[n - 1] += "-2147483648" if n == 9 else "12632256"
    lines[19] += "[FSBOLD,FSITALIC]"
    lines[20] += " 12"
    lines[30] = "adres=partner.txt"
    put("fuzz_config", "edge", text(b"other.txt") + "\n".join(lines).encode())
    # A NUL inside a number: the message quoting it is cut there by what().
    lines[8] = "L9=-2147\0\0" + "483648"
    put("fuzz_config", "nul", text(b"") + "\r\n".join(lines).encode())


def partner():
    put("fuzz_partner", "greeting", w("Привет! Как дела?\r\n"))
    put("fuzz_partner", "two-lines", w("как тебя зовут\r\nвторая строка\r\n"))
    put("fuzz_partner", "markup", w("мой ^ключ_; ответ|потом@\r\n"))
    put("fuzz_partner", "empty", b"")
    put("fuzz_partner", "long", w("очень длинная фраза " * 12) + b"\r\n")


words_line()
turn()
config()
partner()
