#!/usr/bin/env python3
"""Writes the shipped language files assets/Russian.lag and assets/Deutsch.lag.

A language file is plain text with CR LF line ends: line 1 is the name the
settings dialog lists, line 2 the format version "1.4", then one entry per
text.  An entry is either "number,text" on one line, or the number alone on
its line with the text on the next one.  The game reads a file as UTF-8 when
the whole file is valid UTF-8 and as Windows-1251 otherwise, so the Russian
file is written in cp1251 (as older installations expect) and the German one
in UTF-8 without a BOM.

Run from anywhere:  python3 tools/make_languages.py
"""

from pathlib import Path

FORMAT_VERSION = "1.4"

ASSETS = Path(__file__).resolve().parent.parent / "assets"

# The built-in English table of the game, by text number.  Every language
# file we ship carries a translation of each of these numbers; the game falls
# back to these texts for any number a file leaves out.
ENGLISH = {
    100: "New game Plumix",
    101: "New game Plumix 2",
    102: "PAUSE",
    103: "Hi-scores",
    104: "Setting",
    105: "Help",
    106: "Pause",
    107: "Resume",
    110: "Begin new game of Classic Plumix",
    111: "Begin new game of Plumix 2",
    112: "Pause/resume game",
    113: "Show hi-scores table",
    114: "Game settings",
    115: "About game and creators",
    116: "Minimize window",
    117: "Quit",
    120: "Next",
    121: "Score",
    122: "1 line",
    123: "2 lines",
    124: "3 lines",
    125: "4 lines",
    126: "Level",
    127: "Space",
    130: "Start new game",
    131: "Are you sure?",
    132: "Quit",
    201: "Number",
    202: "Player",
    203: "Data",
    204: "Comments about game",
    205: "Synchronizing",
    206: "For this second table place in",
    207: "Close",
    208: "Close this window",
    210: "Classic PLUMIX",
    211: "PLUMIX 2",
    220: "Hi-scores table",
    230: "Synchronizing passed successfully",
    231: "Has error when synchronizing",
    300: "New record!",
    301: "Congratulations! You are",
    302: "th. Enter your name",
    303: "Your comment about game",
    401: "Version",
    501: "Load skin",
    502: "Load hi-scores table",
    503: "Load levels of Plumix 2",
    600: "Lives",
    601: "Task",
    602: "Destroy all bricks",
    603: "Fulfill your quota",
    604: "Survive",
    605: "seconds",
    606: "Bonus round",
    607: "Press any key to start",
    701: "Language",
    702: "Extorior",
    703: "Audio",
    704: "General Settings",
    710: "Skin",
    711: "Colors",
    712: "Colors from skin",
    713: "Text",
    714: "Back",
    715: "SFX",
    716: "Music",
    717: "Rotate clockwise",
    718: "Rotate counterclockwise",
    719: "Move during fall",
    720: "Show grid",
    721: "Show next figure",
}

# Notes on the pieces that the game glues together:
#   record prompt   301 + " " + place + 302 + ":"
#                   RU "Поздравляем! Вы на 5-м месте. Ваше имя:"
#                   ("-м" is the prepositional ending of every ordinal, so
#                   1-м, 2-м, 3-м and 100-м all read right)
#                   DE "Glückwunsch! Sie sind auf Platz 5. Ihr Name:"
#   time task       "     " + 604 + " " + seconds + " " + 605
#                   RU "Продержаться 30 сек." (the abbreviation sidesteps
#                   Russian plural agreement with the number)
#                   DE "Durchhalten: 30 Sekunden"
#   sync tooltip    206 + " ~/"
#   menu tooltips   110 + " (F2)", 112 + " (" + 127 + ")", 113 + "... (F5)"
# Captions on the main window are tight: menu buttons are 160 px wide (so the
# German menu says "Plumix 2 spielen", as "Neues Spiel Plumix 2" overflows),
# the panel captions hold about eleven characters and the pause text five.

RUSSIAN = {
    100: "Новая игра Plumix",
    101: "Новая игра Plumix 2",
    102: "ПАУЗА",
    103: "Рекорды",
    104: "Настройки",
    105: "Справка",
    106: "Пауза",
    107: "Продолжить",
    110: "Начать новую игру в классический Plumix",
    111: "Начать новую игру в Plumix 2",
    112: "Пауза/продолжение игры",
    113: "Показать таблицу рекордов",
    114: "Настройки игры",
    115: "Об игре и авторах",
    116: "Свернуть окно",
    117: "Выход",
    120: "Следующая",
    121: "Очки",
    122: "1 линия",
    123: "2 линии",
    124: "3 линии",
    125: "4 линии",
    126: "Уровень",
    127: "Пробел",
    130: "Новая игра",
    131: "Вы уверены?",
    132: "Выход",
    201: "Место",
    202: "Игрок",
    203: "Дата",
    204: "Комментарий к игре",
    205: "Синхронизация",
    206: "Для синхронизации положите вторую таблицу в",
    207: "Закрыть",
    208: "Закрыть это окно",
    210: "Классический PLUMIX",
    211: "PLUMIX 2",
    220: "Таблица рекордов",
    230: "Синхронизация прошла успешно",
    231: "Ошибка при синхронизации",
    300: "Новый рекорд!",
    301: "Поздравляем! Вы на",
    302: "-м месте. Ваше имя",
    303: "Ваш комментарий к игре",
    401: "Версия",
    501: "Загрузка скина",
    502: "Загрузка таблицы рекордов",
    503: "Загрузка уровней Plumix 2",
    600: "Жизни",
    601: "Задание",
    602: "Разбить все кирпичи",
    603: "Выполнить норму",
    604: "Продержаться",
    605: "сек.",
    606: "Бонусный раунд",
    607: "Нажмите любую клавишу, чтобы начать",
    701: "Язык",
    702: "Внешний вид",
    703: "Звук",
    704: "Общие настройки",
    710: "Скин",
    711: "Цвета",
    712: "Цвета из скина",
    713: "Текст",
    714: "Фон",
    715: "Эффекты",
    716: "Музыка",
    717: "Вращать по часовой стрелке",
    718: "Вращать против часовой стрелки",
    719: "Двигать при быстром падении",
    720: "Показывать сетку",
    721: "Показывать следующую фигуру",
}

GERMAN = {
    100: "Plumix spielen",
    101: "Plumix 2 spielen",
    102: "PAUSE",
    103: "Bestenliste",
    104: "Einstellungen",
    105: "Hilfe",
    106: "Pause",
    107: "Weiter",
    110: "Neues Spiel im klassischen Plumix beginnen",
    111: "Neues Spiel Plumix 2 beginnen",
    112: "Spiel anhalten/fortsetzen",
    113: "Bestenliste anzeigen",
    114: "Spieleinstellungen",
    115: "Über das Spiel und die Autoren",
    116: "Fenster minimieren",
    117: "Beenden",
    120: "Nächste",
    121: "Punkte",
    122: "1 Reihe",
    123: "2 Reihen",
    124: "3 Reihen",
    125: "4 Reihen",
    126: "Level",
    127: "Leertaste",
    130: "Neues Spiel",
    131: "Sind Sie sicher?",
    132: "Beenden",
    201: "Platz",
    202: "Spieler",
    203: "Datum",
    204: "Kommentar zum Spiel",
    205: "Synchronisieren",
    206: "Zum Abgleich die zweite Tabelle ablegen in",
    207: "Schließen",
    208: "Dieses Fenster schließen",
    210: "Klassisches PLUMIX",
    211: "PLUMIX 2",
    220: "Bestenliste",
    230: "Synchronisierung erfolgreich abgeschlossen",
    231: "Fehler beim Synchronisieren",
    300: "Neuer Rekord!",
    301: "Glückwunsch! Sie sind auf Platz",
    302: ". Ihr Name",
    303: "Ihr Kommentar zum Spiel",
    401: "Version",
    501: "Skin wird geladen",
    502: "Bestenliste wird geladen",
    503: "Level von Plumix 2 werden geladen",
    600: "Leben",
    601: "Aufgabe",
    602: "Alle Steine zerstören",
    603: "Quote erfüllen",
    604: "Durchhalten:",
    605: "Sekunden",
    606: "Bonusrunde",
    607: "Zum Starten beliebige Taste drücken",
    701: "Sprache",
    702: "Aussehen",
    703: "Ton",
    704: "Allgemeine Einstellungen",
    710: "Skin",
    711: "Farben",
    712: "Farben aus dem Skin",
    713: "Text",
    714: "Hintergrund",
    715: "Effekte",
    716: "Musik",
    717: "Im Uhrzeigersinn drehen",
    718: "Gegen den Uhrzeigersinn drehen",
    719: "Bewegen beim schnellen Fall",
    720: "Gitter anzeigen",
    721: "Nächste Figur anzeigen",
}

# Both entry forms are valid; a couple of entries use the two-line form so
# that every file we ship exercises it.
TWO_LINE_ENTRIES = {206, 230}

LANGUAGES = [
    {"file": "Russian.lag", "name": "Русский", "encoding": "cp1251",
     "texts": RUSSIAN},
    {"file": "Deutsch.lag", "name": "Deutsch", "encoding": "utf-8",
     "texts": GERMAN},
]


def FileLines(name, texts):
    """The lines of one language file, without line ends."""
    lines = [name, FORMAT_VERSION]
    for number in sorted(texts):
        text = texts[number]
        if number in TWO_LINE_ENTRIES:
            lines += [str(number), text]
        else:
            lines.append(f"{number},{text}")
    return lines


def Validate(language):
    texts = language["texts"]
    missing = sorted(set(ENGLISH) - set(texts))
    extra = sorted(set(texts) - set(ENGLISH))
    if missing or extra:
        raise SystemExit(f"{language['file']}: missing {missing}, "
                         f"unknown {extra}")
    for number, text in texts.items():
        # A line break would split the entry; blanks at either end would be
        # invisible in the file and easily lost by an editor.
        if not text or text != text.strip() or "\r" in text or "\n" in text:
            raise SystemExit(f"{language['file']}: bad text {number}: "
                             f"{text!r}")


def Write(language):
    Validate(language)
    data = "".join(line + "\r\n"
                   for line in FileLines(language["name"], language["texts"]))
    # strict: a character cp1251 cannot hold must stop the build, not turn
    # into "?" in the shipped file.
    raw = data.encode(language["encoding"], errors="strict")
    path = ASSETS / language["file"]
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(raw)
    return path


def main():
    for language in LANGUAGES:
        path = Write(language)
        print(f"wrote {path} ({language['encoding']}, "
              f"{len(language['texts'])} texts)")


if __name__ == "__main__":
    main()
