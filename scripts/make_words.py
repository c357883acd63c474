#!/usr/bin/env python3
"""Builds data/Base/Words.Dat from the topic files in data-src/words.

Topic files are UTF-8 text, one Words.Dat line each; blank lines and lines
that start with '#' are the author's notes and are left out. Files are taken
in the order of their names, so the numbers in front of the names set where
a topic stands in the phrase base: specific keys first, short general ones
last. The result is Windows-1251 with CR LF line ends.

Every key is also written as it is often typed: with Е for Ё, and with
«умееш» for «умеешь» inside the key (a key that ends in «умееш» finds both),
unless another line has that key already (and for keys of six characters
or more: «ЁЖ» as «ЕЖ» would be found in many words).

Two shorthands save writing the same answers many times; both live in the
key, where the phrase base itself never has '|', '{' or '}':

  ПРЕВЕТ|ПРИВЕД^Привет!;       one line per key, the same answers each.
                               A main phrase with branches is written out
                               as a whole block per key, so every spelling
                               keeps its thread. A key that holds an
                               earlier key of its line is left out: it
                               would never answer.
  {ПРИВЕТ}^Привет!;            the key as it comes out when the Russian
                               phrase is typed with the Latin layout on
                               (GHBDTN). A letter on a markup key (Ж is ';')
                               cannot be typed that way and is an error.

Shared threads: the answers people give to the program's common questions
(«Как дела?», «Что случилось?», «Давно играешь?»...) are written once, in
data-src/threads/NAME.txt. A branch line «_@NAME» in a topic file puts that
thread there, at its depth; a main phrase with no branches of its own whose
answers all end in the same common question (AUTO below) gets its thread.
A thread's branch whose key the block already has is left out, with the
lines under it, and so is a main key that an earlier line already has.
"""
import pathlib
import re
import sys

top = pathlib.Path(__file__).resolve().parent.parent
src = top / "data-src" / "words"
threads = top / "data-src" / "threads"

# The shared threads (data-src/threads/NAME.txt) a main phrase without
# branches of its own gets, by the question its answers end with.
AUTO = [
    (re.compile(p, re.I), name)
    for p, name in (
        (r"^(а )?(как )?(у тебя )?(твои )?дела\??$|^а (ты|у тебя) как\??$|^как (ты|поживаешь|настроение)\??$|^(а )?(как )?(у вас|ваши) (как )?дела\??$|^(а )?(вы )?как (вы )?поживаете\??$", "dela"),
        (r"^(а )?(расскажи,? |расскажешь,? )?что (же )?(случилось|стряслось|произошло)\?$|^что-то случилось\?$", "sluchilos"),
        (r"^давно (бегаешь|занимаешься|играешь|катаешься|пишешь|увлекаешься|ходишь|им занимаешься|умеешь|научился)\?$", "davno_delo"),
        (r"^давно вы (вместе|дружите|знакомы)\?$", "davno_vmeste"),
        (r"^часто такое бывает\?$", "chasto_beda"),
        (r"^часто видитесь\?$", "chasto_vidites"),
        (r"^(а )?(ты )?чем (сегодня |сейчас )?(ты )?занимаешься\?$|^а ты что делаешь\?$|^а ты чем занимаешься\?$", "zanyatie"),
        (r"^(а )?что (у тебя )?нового\?$", "novogo"),
        (r"^расскажешь (немного )?о себе\?$", "o_sebe"),
        (r"^а (ты|тебе|у тебя)\?$", "a_ty"),
        (r"^как (сейчас )?самочувствие\?$|^что говорят врачи\?$", "samochuvstvie"),
        (r"^(вы|а вы) (дружите|близки)\?$", "blizki"),
        (r"^трудно было\?$|^сложно было\?$", "trudno"),
        (r"^как будешь отмечать\?$", "otmechat"),
        (r"^уже знаешь, где потом хочется работать\?$", "plany"),
        (r"^что (в ней |в нём |тебе |в этом )?нравится больше всего\?$", "nravitsya"),
        (r"^что (там )?(понравилось|запомнилось) (больше|сильнее) всего\?$", "vpechatleniya"),
        (r"^что тебе ближе\?$|^что выберешь\?$|^что тебе больше по душе\?$", "vybor"),
        (r"^как подготовка\?$|^много ещё осталось повторить\?$", "podgotovka"),
        (r"^расскажешь ещё что-нибудь об этом человеке\?$", "chelovek"),
        (r"^место и время для него есть\?$", "mesto"),
        (r"^а ты как думаешь\?$", "dumaesh"),
        (r"^давно так\?$|^во сколько (обычно )?ложишься\?$|^давно (он )?так (плохо )?спит\?$", "davno_tak"),
    )
]
dst = top / "data" / "Base" / "Words.Dat"

RUS = "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ"
LAT = "QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,.`"
LATIN = dict(zip(RUS, LAT))


def latin(text, where):
    out = "".join(LATIN.get(c, c) for c in text)
    if any(c in "^_;@|" for c in out):
        sys.exit(f"{where}: {{{text}}} needs a markup character in the Latin layout")
    return out


def keys_of(key, where):
    """The keys a source key stands for: its '|' alternatives, {…} in Latin."""
    keys = []
    for alt in key.split("|"):
        if alt.startswith("{") and alt.endswith("}"):
            alt = latin(alt[1:-1], where)
        if not alt or "{" in alt or "}" in alt:
            sys.exit(f"{where}: bad key alternative '{alt}'")
        # A key that holds an earlier one of the same line would never
        # answer: the earlier one is found first, with the same answers.
        if not any(k in alt for k in keys):
            keys.append(alt)
    return keys


def split(line):
    depth = len(line) - len(line.lstrip("_"))
    key, sep, rest = line[depth:].partition("^")
    return depth, key, rest


def spellings(key):
    """The key as it is often typed: Е for Ё, and «умееш» for «умеешь»
    (a key that ends in ШЬ is written without the soft sign in the sources,
    where it finds both spellings)."""
    out = [key]
    if len(key) < 6:  # a short stem with Е would be found in other words
        return out
    for variant in (key.replace("Ё", "Е"), key.replace("ШЬ ", "Ш ")):
        if variant not in out:
            out.append(variant)
    return out


def source_lines(path):
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.rstrip()
        if line and not line.startswith("#"):
            yield f"{path.name}:{number}", line


def thread(name, depth, where):
    """The lines of a shared thread, its first level put at depth."""
    path = threads / f"{name}.txt"
    if not path.is_file():
        sys.exit(f"{where}: no thread file {path.relative_to(top)}")
    out = []
    for twhere, line in source_lines(path):
        level = len(line) - len(line.lstrip("_"))
        if level and line[level:].startswith("@"):
            out.extend(thread(line[level + 1 :], depth - 1 + level, twhere))
            continue
        if not level or "^" not in line:
            sys.exit(f"{twhere}: a thread line is a branch with '^'")
        out.append((twhere, "_" * (depth - 1) + line))
    return out


def auto_thread(main):
    """The shared threads for a main phrase without branches of its own:
    the ones its questions ask for, when every answer that ends in a
    question asks one of the common questions."""
    names = set()
    for answer in main.partition("^")[2].split(";")[:-1]:
        answer = answer.replace("|", " ").strip()
        if not answer.endswith("?"):
            continue
        question = re.split(r"(?<=[.!?…])\s+", answer)[-1]
        found = [name for pattern, name in AUTO if pattern.search(question)]
        names.add(found[0] if found else None)
    if None in names:
        return []
    # A thread with a catch-all ('.') goes last: it would hide the others.
    return sorted(names, key=lambda n: ("\n_.|" in (threads / f"{n}.txt").read_text(encoding="utf-8"), n))


blocks = []  # each: list of (where, line) of one main phrase and its branches
for path in sorted(src.glob("*.txt")):
    for where, line in source_lines(path):
        if "^" not in line and not line.lstrip("_").startswith("@"):
            sys.exit(f"{where}: no '^'")
        if line.startswith("_"):
            if not blocks:
                sys.exit(f"{where}: a branch before the first main phrase")
            depth = len(line) - len(line.lstrip("_"))
            if line[depth:].startswith("@"):
                blocks[-1].extend(thread(line[depth + 1 :], depth, where))
            else:
                blocks[-1].append((where, line))
        else:
            blocks.append([(where, line)])

# A main phrase that asks a common question and has no thread of its own
# gets the shared thread for the answers to that question.
for block in blocks:
    if len(block) == 1:
        for name in auto_thread(block[0][1]):
            block.extend(thread(name, 1, block[0][0]))

# A key said twice at one depth of a block answers only the first time: a
# shared thread's key that the block already has at that depth is left out,
# and a thread line left without keys is left out with the lines under it.
for index, block in enumerate(blocks):
    main_file = block[0][0].split(":")[0]
    kept, seen, skip_below = [block[0]], {}, None
    for where, line in block[1:]:
        depth, key, rest = split(line)
        if skip_below is not None and depth > skip_below:
            continue
        skip_below = None
        had = seen.setdefault(depth, set())
        keys = key.split("|")
        if where.split(":")[0] != main_file:
            keys = [k for k in keys if k not in had]
            if not keys:
                skip_below = depth
                continue
            line = "_" * depth + "|".join(keys) + "^" + rest
        had.update(keys)
        kept.append((where, line))
    blocks[index] = kept

# Every key written in the sources, so that a spelling variant is made only
# where no line has that key of its own.
written = set()
for block in blocks:
    for where, line in block:
        depth, key, _ = split(line)
        written.update("_" * depth + k for k in keys_of(key, where))


def variants(depth, key, where):
    out = []
    for k in keys_of(key, where):
        for s in spellings(k):
            if s == k or "_" * depth + s not in written:
                out.append(s)
    return list(dict.fromkeys(out))


# The letter where a match broke off is not tried again, so «Я СЧАСТЛИВА»
# is not found in «Сегодня я счастлива»: the match starts at the «я» that
# ends «сегодня», breaks on the real «я», and goes on after it. The same
# happens to «НЕ СКУЧНО» in «Мне не скучно» and «А ТЫ» in «Мама а ты?».
# A main key that starts with such a short word gets, just above it, a line
# with the word twice («Я Я СЧАСТЛИВА»), found where the preceding word ends
# in it. The line has the same answers but no branches (a whole thread per
# key would cost thousands of lines).
SHORT_FIRST = ("Я", "НЕ", "А", "И", "НА")


def repeat_first_word(key):
    first, space, _ = key.partition(" ")
    return f"{first} {key}" if space and first in SHORT_FIRST else None


# A main key that an earlier line already has would never answer: it is
# left out, with its thread (the lint would call it a duplicate).
lines, said = [], set()
for block in blocks:
    where, main = block[0]
    _, key, rest = split(main)
    for k in variants(0, key, where):
        if k in said:
            continue
        said.add(k)
        doubled = repeat_first_word(k)
        if doubled and doubled not in said:
            said.add(doubled)
            lines.append(doubled + "^" + rest)
        lines.append(k + "^" + rest)
        for bwhere, branch in block[1:]:
            depth, bkey, brest = split(branch)
            lines.extend("_" * depth + b + "^" + brest for b in variants(depth, bkey, bwhere))

for line in lines:
    try:
        line.encode("cp1251")
    except UnicodeEncodeError as e:
        sys.exit(f"not Windows-1251: {line[:60]}: {e}")

if not lines:
    sys.exit("no topic files in data-src/words")
dst.write_bytes("".join(l + "\r\n" for l in lines).encode("cp1251"))
main = sum(1 for l in lines if not l.startswith("_"))
print(f"{dst.relative_to(top)}: {len(lines)} lines, {main} main phrases, {len(lines) - main} branch lines")
