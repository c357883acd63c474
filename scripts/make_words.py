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
"""
import pathlib
import sys

top = pathlib.Path(__file__).resolve().parent.parent
src = top / "data-src" / "words"
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


blocks = []  # each: list of (where, line) of one main phrase and its branches
for path in sorted(src.glob("*.txt")):
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.rstrip()
        if not line or line.startswith("#"):
            continue
        where = f"{path.name}:{number}"
        if "^" not in line:
            sys.exit(f"{where}: no '^'")
        if line.startswith("_"):
            if not blocks:
                sys.exit(f"{where}: a branch before the first main phrase")
            blocks[-1].append((where, line))
        else:
            blocks.append([(where, line)])

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


lines = []
for block in blocks:
    where, main = block[0]
    _, key, rest = split(main)
    for k in variants(0, key, where):
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
