#!/usr/bin/python3
"""Checks the shipped language files and the translators' notes against the game.

The game's English table, and what the game reads from each file, come from the
game's own code through plumix-texts, so this script keeps no copy of either.

Each file of assets/*.lag: the encoding the game will pick (UTF-8 when the
whole file is valid UTF-8, else Windows-1251) is the one meant (Windows-1251
for Russian.lag only), no byte order mark, CR LF line ends, line 2 the version
"1.4", every later line part of an entry, each number once, a text for every
number of the English table and for no other, no blanks at either end of a
text, the game's names kept, a name of its own in the settings window, and
what the game reads from it is what the file says.

tools/language_notes.md: a row for every number of the English table and no
other, each quoting the English exactly.

Widths are not measured here: the GUI test
ShippedLanguages.EveryTextFitsItsControlInEveryWindow draws every text on the
real windows.

Usage: check_languages.py [PLUMIX_TEXTS]   (default: build/plumix-texts)
Exits non-zero on any failure.
"""

import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
ASSETS = ROOT / "assets"
NOTES = ROOT / "tools" / "language_notes.md"
FORMAT_VERSION = "1.4"
CP1251_FILES = {"Russian.lag"}
GAME_NAMES = ("PLUMIX 2", "Plumix 2", "PLUMIX", "Plumix")

failures = []


def Fail(message):
    failures.append(message)
    print("FAIL:", message)


def Decode(raw):
    """Returns (text, encoding) by the game's rule for language files."""
    try:
        text = raw.decode("utf-8")
        return text.removeprefix("\ufeff"), "utf-8"
    except UnicodeDecodeError:
        return raw.decode("cp1251"), "cp1251"


ENTRY = re.compile(r"^ *(\d+)(?:,(.*))?$")


def Parse(name, text):
    """(line 1, {number: text}) of a language file's text, read strictly."""
    lines = text.split("\r\n")
    if lines[-1] == "":
        lines.pop()
    if len(lines) < 2 or lines[1] != FORMAT_VERSION:
        Fail(f"{name}: line 2 is not exactly {FORMAT_VERSION!r}")
    texts = {}
    i = 2
    while i < len(lines):
        m = ENTRY.match(lines[i])
        if not m:
            Fail(f"{name}: line {i + 1} is not an entry: {lines[i]!r}")
            i += 1
            continue
        number = int(m.group(1))
        if m.group(2) is not None:
            entry = m.group(2)
            i += 1
        else:
            entry = lines[i + 1] if i + 1 < len(lines) else ""
            i += 2
        if number in texts:
            Fail(f"{name}: text {number} given twice")
        texts[number] = entry
    return (lines[0] if lines else ""), texts


def GameReading(tool, *args):
    """(name, {number: text}) of plumix-texts' output for `args`."""
    done = subprocess.run([str(tool), *map(str, args)], capture_output=True)
    if done.returncode != 0:
        sys.exit(f"{tool} {' '.join(map(str, args))} failed: "
                 f"{done.stderr.decode(errors='replace')}")
    return Parse(f"{tool.name} {' '.join(map(str, args))}",
                 done.stdout.decode("utf-8"))


def CheckFile(path, english, tool):
    name = path.name
    raw = path.read_bytes()
    text, encoding = Decode(raw)
    meant = "cp1251" if name in CP1251_FILES else "utf-8"
    if encoding != meant:
        Fail(f"{name}: the game would read it as {encoding}, meant {meant}")
    if raw.startswith(b"\xef\xbb\xbf"):
        Fail(f"{name}: starts with a byte order mark")
    if re.search(rb"(?<!\r)\n|\r(?!\n)", raw) or not raw.endswith(b"\r\n"):
        Fail(f"{name}: a line end is not CR LF")
    if encoding == "cp1251" and text.encode("cp1251") != raw:
        Fail(f"{name}: does not round-trip through cp1251")

    shown_as, texts = Parse(name, text)
    for number in sorted(english):
        got = texts.get(number, "")
        if not got.strip():
            Fail(f"{name}: text {number} missing or empty")
        elif got != got.strip():
            Fail(f"{name}: text {number} has blanks at an end: {got!r}")
        for game in GAME_NAMES:
            if game in english[number]:
                if game not in got:
                    Fail(f"{name}: text {number} lost the name {game!r}")
                break
    extra = sorted(set(texts) - set(english))
    if extra:
        Fail(f"{name}: numbers without an English text: {extra}")

    listed, read = GameReading(tool, path)
    if listed != shown_as or not listed:
        Fail(f"{name}: the settings window lists it as {listed!r}, "
             f"line 1 says {shown_as!r}")
    differ = sorted(n for n in set(read) | set(texts)
                    if read.get(n, "") != texts.get(n, ""))
    if differ:
        Fail(f"{name}: the game reads texts {differ} otherwise than the file "
             f"says them")
    same = [n for n in sorted(english) if texts.get(n) == english[n]]
    print(f"{name}: {encoding}, {len(texts)} texts; same as English: {same}")
    return listed


NOTE_ROW = re.compile(r"^\|\s*(\d+)\s*\|(.*)$")
NOTE_ENGLISH = re.compile(r"^\s*`([^`]*)`\s*\|")


def CheckNotes(english):
    noted = {}
    for i, line in enumerate(NOTES.read_text(encoding="utf-8").splitlines()):
        row = NOTE_ROW.match(line)
        if not row:
            continue
        number = int(row.group(1))
        quoted = NOTE_ENGLISH.match(row.group(2))
        if not quoted:
            Fail(f"{NOTES.name}:{i + 1}: the English of {number} is not "
                 f"quoted in backticks")
        elif number in noted:
            Fail(f"{NOTES.name}:{i + 1}: a second row for {number}")
        else:
            noted[number] = quoted.group(1)
    for number in sorted(set(english) - set(noted)):
        Fail(f"{NOTES.name}: no row for text {number}")
    for number in sorted(set(noted) - set(english)):
        Fail(f"{NOTES.name}: a row for {number}, which the game has no "
             f"English text for")
    for number in sorted(set(noted) & set(english)):
        if noted[number] != english[number]:
            Fail(f"{NOTES.name}: {number} is {english[number]!r} in the "
                 f"game, {noted[number]!r} in the notes")


def main():
    if sys.argv[1:2] in (["-h"], ["--help"]):
        print(__doc__)
        return 0
    if len(sys.argv) > 2:
        sys.exit(__doc__)
    tool = Path(sys.argv[1] if len(sys.argv) == 2
                else ROOT / "build" / "plumix-texts")
    if not tool.is_file():
        sys.exit(f"{tool} is missing: build it first "
                 f"(cmake --build build --target plumix-texts)")
    _, english = GameReading(tool.resolve())
    if not english:
        Fail("the game's English table is empty")
    CheckNotes(english)
    names = ["English"]
    for path in sorted(ASSETS.glob("*.lag")):
        names.append(CheckFile(path, english, tool.resolve()))
    for name in sorted({n for n in names if names.count(n) > 1}):
        Fail(f"two languages show as {name!r} in the settings window")
    print()
    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    print(f"all {len(names) - 1} language files and the notes agree with the "
          f"game's {len(english)} texts")
    return 0


if __name__ == "__main__":
    sys.exit(main())
