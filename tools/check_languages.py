#!/usr/bin/python3
"""Reads the shipped language files back and checks them.

For each file: the encoding the game will pick (UTF-8 when the whole file is
valid UTF-8, else Windows-1251) is the one we meant, line ends are CR LF,
line 2 is the version "1.4", every text number of the built-in English table
is present with a non-empty text, the texts are exactly those of
tools/make_languages.py (so nothing was lost in cp1251 and nobody edited a
file by hand), and the game names survived translation.  The English table of
make_languages.py must be the game's own (src/**/default_texts.cpp), so a
text added to the game is missed here until every language has it.

Then it measures each caption as the game shows it (including the pieces the
game glues on) in the font and size of its control, against the room the
control gives it, in every window: the main window, the hi-scores window, the
record entry, the level intro, the About box, the start-up splash and the
settings window, and prints the widest language of each.  Fonts: DejaVu Sans
Mono Bold stands in for the monospace labels of the main window, DejaVu Sans
(Bold where the control is bold) for the rest; where a window leaves its font
open we measure Qt's default, 9 pt.  Window titles get the window's width less
room for the window manager's buttons; tooltips and message boxes size
themselves and are only shown.  Heights are left to the GUI test
(tests/settings/gui_language_fit_test.cpp), which draws every text on the real
controls.

Needs Debian's python3-pil; exits non-zero on any failure or overflow.
Run after make_languages.py:  /usr/bin/python3 tools/check_languages.py
  --show FILE   also prints every measured text of one file (e.g. Polski.lag)
"""

import argparse
import re
import sys
from pathlib import Path

try:
    from PIL import ImageFont
except ImportError:
    sys.exit("check_languages.py needs PIL: apt-get install python3-pil")

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_languages as ml  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
FONT_DIR = Path("/usr/share/fonts/truetype/dejavu")
FONT_FILES = {
    "mono-b": FONT_DIR / "DejaVuSansMono-Bold.ttf",
    "sans": FONT_DIR / "DejaVuSans.ttf",
    "sans-b": FONT_DIR / "DejaVuSans-Bold.ttf",
}
PX_PER_PT = 96 / 72
GAME_NAMES = ("PLUMIX 2", "Plumix 2", "PLUMIX", "Plumix")

failures = []


def Fail(message):
    failures.append(message)
    print("FAIL:", message)


# --- the game's own English table --------------------------------------------

def GameEnglish():
    """{number: text} of the built-in table, wherever its file now lives."""
    sources = sorted(ROOT.glob("src/**/default_texts.cpp"))
    if len(sources) != 1:
        Fail(f"expected one src/**/default_texts.cpp, found {len(sources)}")
        return None
    entry = re.compile(r'\{\s*(\d+)\s*,\s*"((?:[^"\\]|\\.)*)"\s*\}')
    return {int(n): text.encode().decode("unicode_escape")
            for n, text in entry.findall(sources[0].read_text())}


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


def Parse(name, lines):
    """Entries from line 3 on: {number: text}; a later entry wins."""
    texts = {}
    i = 2
    while i < len(lines):
        m = ENTRY.match(lines[i])
        if not m:
            Fail(f"{name}: line {i + 1} is not an entry: {lines[i]!r}")
            i += 1
            continue
        number = int(m.group(1))
        if not 0 <= number <= 999:
            Fail(f"{name}: line {i + 1}: number {number} out of range")
        if m.group(2) is not None:
            text = m.group(2)
            i += 1
        else:
            text = lines[i + 1] if i + 1 < len(lines) else ""
            i += 2
        if number in texts:
            Fail(f"{name}: text {number} given twice")
        texts[number] = text
    return texts


def CheckFile(language):
    name = language["file"]
    raw = (ml.ASSETS / name).read_bytes()
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

    texts = Parse(name, lines)
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


def CheckShippedSet():
    """Every .lag in assets/ comes from the generator, and back."""
    made = {language["file"] for language in ml.LANGUAGES}
    shipped = {path.name for path in ml.ASSETS.glob("*.lag")}
    for name in sorted(shipped - made):
        Fail(f"{name} is shipped but not made by make_languages.py")
    for name in sorted(made - shipped):
        Fail(f"{name} is made by make_languages.py but not in assets/")
    names = [language["name"] for language in ml.LANGUAGES]
    if len(set(names)) != len(names):
        Fail("two languages show the same name in the settings window")


# --- widths ------------------------------------------------------------------

_font_cache = {}


def Width(text, font, px):
    # Load at ten times the size so that rounding the size to whole pixels
    # does not skew the result.
    key = (font, px)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(str(FONT_FILES[font]),
                                              round(px * 10))
    return _font_cache[key].getlength(text) / 10


def Pt(points):
    return points * PX_PER_PT


def Same(n):
    return lambda t: t[n]


# Fonts of the controls, as (face, pixel size).
MENU = ("sans-b", Pt(9.75))          # skinned menu buttons
PANEL = ("mono-b", Pt(15.75))        # main-window captions
STATUS = ("mono-b", Pt(72))          # the pause text over the well
DEFAULT = ("sans", Pt(9))            # Qt's default: tooltips, About, splash
TITLE = ("sans-b", Pt(9))            # window titles of the window manager
SCORES = ("sans", 11)                # hi-scores and record entry, in pixels
INTRO_TITLE = ("sans-b", Pt(24))
INTRO = ("sans-b", Pt(13.5))
WM_BUTTONS = 100                     # a title bar's icon and buttons

# (numbers, how the control shows them, control, font, usable width px)
# A width of None: the control sizes itself to its text (tooltips, message
# boxes); the width is shown for comparison.
CHECKS = [
    ((100,), Same(100), "menu button 160x18", MENU, 153),
    ((101,), Same(101), "menu button 160x18", MENU, 153),
    ((103,), Same(103), "menu button 160x18", MENU, 153),
    ((104,), Same(104), "menu button 160x18", MENU, 153),
    ((105,), Same(105), "menu button 160x18", MENU, 153),
    ((106,), Same(106), "menu button 160x18", MENU, 153),
    ((107,), Same(107), "menu button 160x18", MENU, 153),
    ((102,), Same(102), "StatusGame 321x105", STATUS, 321),
    ((120,), Same(120), "Label1(6) 145x20", PANEL, 145),
    ((121,), Same(121), "Label1(0) 145x20", PANEL, 145),
    ((122,), Same(122), "Label1(2) 145x20", PANEL, 145),
    ((123,), Same(123), "Label1(3) 145x20", PANEL, 145),
    ((124,), Same(124), "Label1(4) 145x20", PANEL, 145),
    ((125,), Same(125), "Label1(5) 145x20", PANEL, 145),
    ((126,), Same(126), "Label1(1) 145x20", PANEL, 145),
    ((110,), lambda t: t[110] + " (F2)", "tooltip", DEFAULT, None),
    ((111,), lambda t: t[111] + " (F3)", "tooltip", DEFAULT, None),
    ((112, 127), lambda t: f"{t[112]} ({t[127]})", "tooltip", DEFAULT, None),
    ((113,), lambda t: t[113] + "... (F5)", "tooltip", DEFAULT, None),
    ((114,), lambda t: t[114] + "... (F8)", "tooltip", DEFAULT, None),
    ((115,), lambda t: t[115] + "...", "tooltip", DEFAULT, None),
    ((116,), Same(116), "tooltip", DEFAULT, None),
    ((117,), lambda t: t[117] + " (Esc)", "tooltip", DEFAULT, None),
    ((130,), Same(130), "message box title", TITLE, None),
    ((131,), Same(131), "message box text", DEFAULT, None),
    ((132,), Same(132), "message box title", TITLE, None),
    ((201,), Same(201), "hi-scores header 47", SCORES, 47),
    ((202,), Same(202), "hi-scores header 95", SCORES, 95),
    ((121,), Same(121), "hi-scores header 71", SCORES, 71),
    ((126,), Same(126), "hi-scores header 63", SCORES, 63),
    ((203,), Same(203), "hi-scores header 71", SCORES, 71),
    ((204,), Same(204), "hi-scores header 265", SCORES, 265),
    ((205,), Same(205), "push button 153x25", SCORES, 153 - 12),
    ((206,), lambda t: t[206] + " ~/", "tooltip", DEFAULT, None),
    ((207,), Same(207), "push button 121x25", SCORES, 121 - 12),
    ((208,), Same(208), "tooltip", DEFAULT, None),
    ((210,), Same(210), "option button 241x26", SCORES, 241 - 22),
    ((211,), Same(211), "option button 241x26", SCORES, 241 - 22),
    ((220,), Same(220), "title, window 817", TITLE, 817 - WM_BUTTONS),
    ((230,), Same(230), "message box text", DEFAULT, None),
    ((231,), Same(231), "message box text", DEFAULT, None),
    ((300,), Same(300), "title, window 332", TITLE, 332 - WM_BUTTONS),
    ((301, 302), lambda t: f"{t[301]} 100{t[302]}:", "record Label2 297",
     SCORES, 297),
    ((303,), lambda t: t[303] + ":", "record Label1 297", SCORES, 297),
    ((115,), Same(115), "title, window 382", TITLE, 382 - WM_BUTTONS),
    ((401,), lambda t: t[401] + " 1.4.0", "About Label2 259", DEFAULT, 259),
    ((501,), Same(501), "splash Label2 481", DEFAULT, 481),
    ((502,), Same(502), "splash Label2 481", DEFAULT, 481),
    ((503,), Same(503), "splash Label2 481", DEFAULT, 481),
    ((126,), lambda t: t[126] + ": 99", "intro title 441", INTRO_TITLE, 441),
    ((600,), lambda t: t[600] + ": 99", "intro Label3 441", INTRO, 441),
    ((601,), lambda t: t[601] + ":", "intro Label3 441", INTRO, 441),
    ((602,), lambda t: "     " + t[602], "intro Label3 441", INTRO, 441),
    ((603,), lambda t: "     " + t[603], "intro Label3 441", INTRO, 441),
    ((604, 605), lambda t: f"     {t[604]} 255 {t[605]}", "intro Label3 441",
     INTRO, 441),
    ((606,), Same(606), "intro Label3 441", INTRO, 441),
    ((607,), Same(607), "intro Label4 441", INTRO, 441),
]

# The settings window grows with its texts, in two columns: language and
# looks on the left, sound and the options on the right.  Its width is
# estimated from the widest text of each column, with the frames, boxes and
# margins that Qt's Fusion style gives it in English (504 pixels).  It may not
# grow wider than the main window (576) it opens over.
SETTINGS_WIDTH = 576
SETTINGS_ENGLISH_WIDTH = 504
LEFT_COLUMN = (  # (how its width follows from the texts)
    lambda t: Width(t[710], *DEFAULT) + 6 + 160,   # "Skin" beside the list
    lambda t: Width(t[711], *DEFAULT) + 6 + 22 + Width(t[712], *DEFAULT),
    lambda t: 160 + 6 + Width("0000", *DEFAULT),   # the scroll bars
    lambda t: Width(t[701], *DEFAULT) + 16,
    lambda t: Width(t[702], *DEFAULT) + 16,
)
RIGHT_COLUMN = tuple(
    (lambda n: lambda t: 22 + Width(t[n], *DEFAULT))(n)
    for n in (715, 716, 717, 718, 719, 720, 721)) + (
    lambda t: Width(t[703], *DEFAULT) + 16,
    lambda t: Width(t[704], *DEFAULT) + 16,
)


def SettingsWidth(texts):
    def Columns(t):
        return (max(f(t) for f in LEFT_COLUMN) +
                max(f(t) for f in RIGHT_COLUMN))
    return Columns(texts) + SETTINGS_ENGLISH_WIDTH - Columns(ml.ENGLISH)


def Covered():
    numbers = {n for numbers, *_ in CHECKS for n in numbers}
    numbers |= {114, 207, 208, 713, 714}  # settings title, close, colour list
    numbers |= {701, 702, 703, 704, 710, 711, 712}
    numbers |= {715, 716, 717, 718, 719, 720, 721}
    return numbers


def WidthTable(tables, show):
    """tables: [(title, texts)], English first; show: a title or None."""
    for n in sorted(set(ml.ENGLISH) - Covered()):
        Fail(f"text {n} is on no control of the width table")

    print()
    header = ["No.", "control", "room", "English", "px", "widest", "px"]
    if show:
        header += [show, "px"]
    rows = [header]
    checks = [(numbers, show_, control, font, room)
              for numbers, show_, control, font, room in CHECKS]
    checks.append(((114, 207, 701, 702, 703, 704, 710, 711, 712, 715, 716,
                    717, 718, 719, 720, 721), None, "settings window",
                   None, SETTINGS_WIDTH))
    for numbers, shows, control, font, room in checks:
        def Measure(texts):
            if shows is None:
                return "(its texts)", SettingsWidth(texts)
            shown = shows(texts)
            return shown, Width(shown, *font)

        label = ("+".join(map(str, numbers)) if len(numbers) < 4 else
                 f"{min(numbers)}..{max(numbers)}")
        measured = [(title,) + Measure(texts) for title, texts in tables]
        for title, shown, width in measured[1:]:
            if room is not None and width > room:
                Fail(f"{title} text {label} is "
                     f"{width:.0f} px wide on {control} ({room:.0f} px): "
                     f"{shown!r}")
        english = measured[0]
        widest = max(measured[1:], key=lambda m: m[2])

        def Px(width):
            over = room is not None and width > room
            return f"{width:.0f}" + ("!" if over else "")

        row = [label, control,
               "-" if room is None else f"{room:.0f}",
               english[1], Px(english[2]),
               f"{widest[0]}: {widest[1]}", Px(widest[2])]
        if show:
            mine = next(m for m in measured if m[0] == show)
            row += [mine[1], Px(mine[2])]
        rows.append(row)
    widths = [max(len(r[i]) for r in rows) for i in range(len(header))]
    for r in rows:
        print(" | ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--show", metavar="FILE",
                        help="print every measured text of this file")
    args = parser.parse_args()

    game = GameEnglish()
    if game is not None and game != ml.ENGLISH:
        changed = sorted(n for n in set(game) | set(ml.ENGLISH)
                         if game.get(n) != ml.ENGLISH.get(n))
        Fail(f"make_languages.ENGLISH differs from the game's table in "
             f"{changed}")
    CheckShippedSet()

    tables = [("English", ml.ENGLISH)]
    for language in ml.LANGUAGES:
        # What the game shows: English wherever the file leaves a gap.
        texts = dict(ml.ENGLISH)
        texts.update((n, t) for n, t in CheckFile(language).items() if t)
        tables.append((language["file"], texts))
    if args.show and args.show not in [t for t, _ in tables]:
        parser.error(f"no language file {args.show}")
    WidthTable(tables, args.show)
    print()
    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    print("all language files fine ('!' marks an English text wider than "
          "its control)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
