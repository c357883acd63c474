#!/usr/bin/env python3
"""Builds data/Base/Words.Dat from the topic files in data-src/words.

Topic files are UTF-8 text, one Words.Dat line each; blank lines and lines
that start with '#' are the author's notes and are left out. Files are taken
in the order of their names, so the numbers in front of the names set where
a topic stands in the phrase base: specific keys first, short general ones
last. The result is Windows-1251 with CR LF line ends.
"""
import pathlib
import sys

top = pathlib.Path(__file__).resolve().parent.parent
src = top / "data-src" / "words"
dst = top / "data" / "Base" / "Words.Dat"

lines = []
for path in sorted(src.glob("*.txt")):
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.rstrip()
        if not line or line.startswith("#"):
            continue
        try:
            line.encode("cp1251")
        except UnicodeEncodeError as e:
            sys.exit(f"{path.name}:{number}: not Windows-1251: {e}")
        lines.append(line)

if not lines:
    sys.exit("no topic files in data-src/words")
dst.write_bytes("".join(l + "\r\n" for l in lines).encode("cp1251"))
main = sum(1 for l in lines if not l.startswith("_"))
print(f"{dst.relative_to(top)}: {len(lines)} lines, {main} main phrases, {len(lines) - main} branch lines")
