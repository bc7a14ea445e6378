#!/usr/bin/env python3
"""Where the controls of the main window and the splash sit, in the window's
own pixels, as (x, y, width, height). The skins' backgrounds are drawn to line
up with them (make_skins.py); the game places its controls by its own numbers,
and a GUI test holds the two together by reading this file's JSON:

    python3 tools/window_layout.py
"""

import json

W, H = 576, 700
CELL = 32
WELL = (32, 32, 320, 640)
PREVIEW = (400, 64, 128, 128)
PANEL = (384, 32, 162, 469)
SCORE_VALUE = (408, 224, 129, 20)
LINE_VALUES = [(456, 272 + 48 * i, 81, 20) for i in range(4)]
LEVEL_VALUE = (448, 464, 89, 20)
MENU_BUTTONS = [(384, 520 + 24 * i, 160, 18) for i in range(6)]
MINI_BUTTON = (530, 4, 20, 20)
CLOSE_BUTTON = (552, 4, 20, 20)
TITLE_STRIP_H = 28

SPLASH_SIZE = (500, 300)
SPLASH_STATUS_TOP = 276  # the game writes its status text below this line
ICON_SIZE = 48

if __name__ == "__main__":
    print(json.dumps({
        "window": [W, H], "cell": CELL, "well": WELL, "preview": PREVIEW,
        "score": SCORE_VALUE, "lines": LINE_VALUES, "level": LEVEL_VALUE,
        "menu": MENU_BUTTONS, "minimize": MINI_BUTTON, "close": CLOSE_BUTTON,
        "splash": SPLASH_SIZE, "splashStatusTop": SPLASH_STATUS_TOP,
    }))
