#!/usr/bin/python3
"""Reads the shipped language files back and checks them.

For each file: the encoding the game will pick (UTF-8 when the whole file is
valid UTF-8, else Windows-1251) is the one we meant, line ends are CR LF,
line 2 is the version "1.4", every text number of the built-in English table
is present with a non-empty text, the texts are exactly those of
tools/make_languages.py (so nothing was lost in cp1251), and the game names
survived translation.

Then it measures each caption as the game shows it (including the pieces the
game glues on) in the font and size of its control and prints a table of
widths.  Fonts: DejaVu Sans Mono Bold stands in for the monospace labels of
the main window, DejaVu Sans (Bold where the control is bold) for the rest;
where a window leaves its font open we measure Qt's default 9 pt.

Needs Debian's python3-pil; exits non-zero on any failure or overflow.
Run after make_languages.py:  /usr/bin/python3 tools/check_languages.py
"""

import re
import sys
from pathlib import Path

from PIL import ImageFont

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_languages as ml  # noqa: E402

FONT_DIR = Path("/usr/share/fonts/truetype/dejavu")
FONTS = {
    "mono-b": FONT_DIR / "DejaVuSansMono-Bold.ttf",
    "sans": FONT_DIR / "DejaVuSans.ttf",
    "sans-b": FONT_DIR / "DejaVuSans-Bold.ttf",
}
PX_PER_PT = 96 / 72
TWIP = 1 / 15  # pixels per twip
GAME_NAMES = ("PLUMIX 2", "Plumix 2", "PLUMIX", "Plumix")

failures = []


def Fail(message):
    failures.append(message)
    print("FAIL:", message)


# --- reading a file the way the game does ---------------------------------

def Decode(raw):
    """Returns (text, encoding) by the game's rule for language files."""
    try:
        text = raw.decode("utf-8")
        if text.startswith("\ufeff"):
            text = text[1:]
        return text, "utf-8"
    except UnicodeDecodeError:
        return raw.decode("cp1251"), "cp1251"


ENTRY = re.compile(r"^ *(\d+)(?:,(.*))?$")


def Parse(lines):
    """Entries from line 3 on: {number: text}; a later entry wins."""
    texts = {}
    i = 2
    while i < len(lines):
        m = ENTRY.match(lines[i])
        if not m:
            Fail(f"line {i + 1} is not an entry: {lines[i]!r}")
            i += 1
            continue
        number = int(m.group(1))
        if not 0 <= number <= 999:
            Fail(f"line {i + 1}: number {number} out of range")
        if m.group(2) is not None:
            text = m.group(2)
            i += 1
        else:
            text = lines[i + 1] if i + 1 < len(lines) else ""
            i += 2
        if number in texts:
            Fail(f"text {number} given twice")
        texts[number] = text
    return texts


def CheckFile(language):
    name = language["file"]
    path = ml.ASSETS / name
    raw = path.read_bytes()
    text, encoding = Decode(raw)
    if encoding != language["encoding"]:
        Fail(f"{name}: the game would read it as {encoding}, "
             f"meant {language['encoding']}")
    if raw.startswith(b"\xef\xbb\xbf"):
        Fail(f"{name}: starts with a byte order mark")
    if re.search(rb"(?<!\r)\n", raw) or re.search(rb"\r(?!\n)", raw):
        Fail(f"{name}: a line end is not CR LF")
    if not raw.endswith(b"\r\n"):
        Fail(f"{name}: last line has no CR LF")
    if encoding == "cp1251" and text.encode("cp1251") != raw:
        Fail(f"{name}: does not round-trip through cp1251")

    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) < 2 or lines[1] != ml.FORMAT_VERSION:
        Fail(f"{name}: version line is not exactly {ml.FORMAT_VERSION!r}")
    if not lines or lines[0] != language["name"]:
        Fail(f"{name}: display name {lines[0]!r} != {language['name']!r}")

    texts = Parse(lines)
    for number in sorted(ml.ENGLISH):
        got = texts.get(number, "")
        if not got.strip():
            Fail(f"{name}: text {number} missing or empty")
        elif got != language["texts"][number]:
            Fail(f"{name}: text {number} reads back as {got!r}, "
                 f"written {language['texts'][number]!r}")
        for game in GAME_NAMES:
            if game in ml.ENGLISH[number]:
                if game not in got:
                    Fail(f"{name}: text {number} lost the name {game!r}")
                break
    extra = sorted(set(texts) - set(ml.ENGLISH))
    if extra:
        Fail(f"{name}: numbers without an English text: {extra}")
    same = [n for n in sorted(ml.ENGLISH) if texts.get(n) == ml.ENGLISH[n]]
    print(f"{name}: {encoding}, {len(lines)} lines, {len(texts)} texts"
          f"; same as English: {same}")
    return texts


# --- widths ------------------------------------------------------------------

_font_cache = {}


def Width(text, font, pt):
    # Load at ten times the size so that rounding the size to whole pixels
    # does not skew the result.
    key = (font, pt)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(
            str(FONTS[font]), round(pt * PX_PER_PT * 10))
    return _font_cache[key].getlength(text) / 10


def Same(n):
    return lambda t: t[n]


# (numbers, how the control shows them, control, font, pt, usable width px)
# usable width None: tooltips, message boxes and the settings dialog, which
# have no fixed width; the width is still shown for comparison.
BUTTON = 160 - 8          # skinned menu button, a few pixels kept free
PANEL = 145               # main-window caption labels
CHECKS = [
    ((100,), Same(100), "menu button 160x18", "sans-b", 9.75, BUTTON),
    ((101,), Same(101), "menu button 160x18", "sans-b", 9.75, BUTTON),
    ((103,), Same(103), "menu button 160x18", "sans-b", 9.75, BUTTON),
    ((104,), Same(104), "menu button 160x18", "sans-b", 9.75, BUTTON),
    ((105,), Same(105), "menu button 160x18", "sans-b", 9.75, BUTTON),
    ((106,), Same(106), "menu button 160x18", "sans-b", 9.75, BUTTON),
    ((107,), Same(107), "menu button 160x18", "sans-b", 9.75, BUTTON),
    ((102,), Same(102), "StatusGame 321x105", "mono-b", 72, 321),
    ((120,), Same(120), "Label1(6) 145x20", "mono-b", 15.75, PANEL),
    ((121,), Same(121), "Label1(0) 145x20", "mono-b", 15.75, PANEL),
    ((122,), Same(122), "Label1(2) 145x20", "mono-b", 15.75, PANEL),
    ((123,), Same(123), "Label1(3) 145x20", "mono-b", 15.75, PANEL),
    ((124,), Same(124), "Label1(4) 145x20", "mono-b", 15.75, PANEL),
    ((125,), Same(125), "Label1(5) 145x20", "mono-b", 15.75, PANEL),
    ((126,), Same(126), "Label1(1) 145x20", "mono-b", 15.75, PANEL),
    ((110,), lambda t: t[110] + " (F2)", "tooltip", "sans", 9, None),
    ((111,), lambda t: t[111] + " (F3)", "tooltip", "sans", 9, None),
    ((112, 127), lambda t: f"{t[112]} ({t[127]})", "tooltip", "sans", 9,
     None),
    ((113,), lambda t: t[113] + "... (F5)", "tooltip", "sans", 9, None),
    ((114,), lambda t: t[114] + "... (F8)", "tooltip", "sans", 9, None),
    ((115,), lambda t: t[115] + "...", "tooltip", "sans", 9, None),
    ((116,), Same(116), "tooltip", "sans", 9, None),
    ((117,), lambda t: t[117] + " (Esc)", "tooltip", "sans", 9, None),
    ((130,), Same(130), "message box title", "sans-b", 9, None),
    ((131,), Same(131), "message box text", "sans", 9, None),
    ((132,), Same(132), "message box title", "sans-b", 9, None),
    ((201,), Same(201), "hi-scores header 47", "sans", 9, 705 * TWIP),
    ((202,), Same(202), "hi-scores header 95", "sans", 9, 1425 * TWIP),
    ((121,), Same(121), "hi-scores header 71", "sans", 9, 1065 * TWIP),
    ((126,), Same(126), "hi-scores header 63", "sans", 9, 945 * TWIP),
    ((203,), Same(203), "hi-scores header 71", "sans", 9, 1065 * TWIP),
    ((204,), Same(204), "hi-scores header 265", "sans", 9, 3975 * TWIP),
    ((205,), Same(205), "push button 153x25", "sans", 9, 2295 * TWIP - 12),
    ((206,), lambda t: t[206] + " ~/", "tooltip", "sans", 9, None),
    ((207,), Same(207), "push button 121x25", "sans", 9, 1815 * TWIP - 12),
    ((208,), Same(208), "tooltip", "sans", 9, None),
    ((210,), Same(210), "option button 241x26", "sans", 9, 3615 * TWIP - 22),
    ((211,), Same(211), "option button 241x26", "sans", 9, 3615 * TWIP - 22),
    ((220,), Same(220), "title, window 817", "sans-b", 9, 12255 * TWIP - 100),
    ((230,), Same(230), "message box text", "sans", 9, None),
    ((231,), Same(231), "message box text", "sans", 9, None),
    ((300,), Same(300), "title, window 332", "sans-b", 9, 4980 * TWIP - 100),
    ((301, 302), lambda t: f"{t[301]} 100{t[302]}:", "record Label2 297",
     "sans", 9, 4455 * TWIP),
    ((303,), lambda t: t[303] + ":", "record Label1 297", "sans", 9,
     4455 * TWIP),
    ((115,), Same(115), "title, window 382", "sans-b", 9, 5730 * TWIP - 100),
    ((401,), lambda t: t[401] + " 1.4.0", "About Label2 259", "sans", 9,
     3885 * TWIP),
    ((501,), Same(501), "splash Label2 481", "sans", 9, 481),
    ((502,), Same(502), "splash Label2 481", "sans", 9, 481),
    ((503,), Same(503), "splash Label2 481", "sans", 9, 481),
    ((126,), lambda t: t[126] + ": 99", "intro Label1 441", "sans-b", 24,
     6615 * TWIP),
    ((600,), lambda t: t[600] + ": 3", "intro Label3 441", "sans-b", 13.5,
     6615 * TWIP),
    ((601,), lambda t: t[601] + ":", "intro Label3 441", "sans-b", 13.5,
     6615 * TWIP),
    ((602,), lambda t: "     " + t[602], "intro Label3 441", "sans-b", 13.5,
     6615 * TWIP),
    ((603,), lambda t: "     " + t[603], "intro Label3 441", "sans-b", 13.5,
     6615 * TWIP),
    ((604, 605), lambda t: f"     {t[604]} 999 {t[605]}", "intro Label3 441",
     "sans-b", 13.5, 6615 * TWIP),
    ((606,), Same(606), "intro Label3 441", "sans-b", 13.5, 6615 * TWIP),
    ((607,), Same(607), "intro Label4 441", "sans-b", 13.5, 6615 * TWIP),
    ((114,), Same(114), "settings title", "sans-b", 9, None),
]
for number in (701, 702, 703, 704):
    CHECKS.append(((number,), Same(number), "settings frame", "sans", 9,
                   None))
for number in (710, 711):
    CHECKS.append(((number,), Same(number), "settings label", "sans", 9,
                   None))
for number in (712, 715, 716, 717, 718, 719, 720, 721):
    CHECKS.append(((number,), Same(number), "settings check/option", "sans",
                   9, None))
for number in (713, 714):
    CHECKS.append(((number,), Same(number), "settings list item", "sans", 9,
                   None))
CHECKS.append(((207,), Same(207), "settings push button", "sans", 9, None))
CHECKS.append(((208,), Same(208), "tooltip", "sans", 9, None))


def WidthTable(tables):
    """tables: [(column title, texts)], English first."""
    covered = {n for numbers, *_ in CHECKS for n in numbers}
    for n in sorted(set(ml.ENGLISH) - covered):
        Fail(f"text {n} is on no control of the width table")

    print()
    header = ["No.", "control", "font", "room"]
    for title, _ in tables:
        header += [title, "px"]
    header.append("fits (" + "/".join(t for t, _ in tables[1:]) + ")")
    rows = [header]
    for numbers, show, control, font, pt, room in CHECKS:
        row = ["+".join(map(str, numbers)), control, f"{font} {pt}",
               "-" if room is None else f"{room:.0f}"]
        verdicts = []
        for index, (title, texts) in enumerate(tables):
            shown = show(texts)
            width = Width(shown, font, pt)
            over = room is not None and width > room
            # The English column is the game's own table, shown for
            # comparison; only our translations must fit.
            row += [shown, f"{width:.0f}" + ("!" if over else "")]
            if index == 0:
                continue
            verdicts.append("-" if room is None else
                            "NO" if over else "yes")
            if over:
                Fail(f"{title} text {row[0]} is {width:.0f} px wide "
                     f"on {control} ({room:.0f} px): {shown!r}")
        row.append("/".join(verdicts))
        rows.append(row)
    widths = [max(len(r[i]) for r in rows) for i in range(len(header))]
    for r in rows:
        print(" | ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())


def main():
    tables = [("English", ml.ENGLISH)]
    for language in ml.LANGUAGES:
        tables.append((language["name"], CheckFile(language)))
    WidthTable(tables)
    print()
    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    print("all language files fine ('!' marks an English text wider than "
          "its control)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
