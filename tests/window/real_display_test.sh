#!/usr/bin/env bash
# The real program on a real X server with no window manager (a kiosk
# session): the first key reaches the main window, and SIGTERM ends the game
# as the quit action does, records and settings written; Qt's own buttons
# speak the desktop's language.
# Usage: real_display_test.sh GAME_FOLDER   (exit 77: no X server to test on)
set -u
game="$1"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "SKIP: Xvfb or xdotool missing"; exit 77; }

work=$(mktemp -d)
xvfb="" pid=""
# Only what was started: a bare `kill 0` would end the whole process group,
# the test runner with it.
trap 'for p in $xvfb $pid; do kill "$p" 2>/dev/null; done; wait; rm -rf "$work"' EXIT
for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" QT_QPA_PLATFORM=xcb
# A loaded machine may take seconds to bring an X server up.
for _ in $(seq 200); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "SKIP: Xvfb did not start"; exit 77; }

fail=0
start() {  # [env(1) arguments...] for the game's environment
    rm -rf "$work/game"; cp -r "$game" "$work/game"
    (cd "$work/game" && exec env "$@" ./plumix >/dev/null 2>&1) &
    pid=$!
    timeout 10 xdotool search --sync --name '^Plumix$' >/dev/null || { echo "FAIL: no main window"; exit 1; }
    sleep 0.3
}
ended_within() {  # seconds
    for _ in $(seq $(( $1 * 10 ))); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
    kill "$pid" 2>/dev/null; return 1
}

# Esc with no game running quits at once, if the window has the keyboard.
start
xdotool key Escape
if ended_within 5; then echo "ok: the first key reached the window"; else echo "FAIL: the first key went nowhere"; fail=1; fi

# A game running, then SIGTERM: no question, both files written whole.
start
xdotool key F2
sleep 0.3
kill -TERM "$pid"
if ended_within 5 && [ "$(wc -l < "$work/game/plumix.ini")" -eq 16 ] && [ "$(stat -c %s "$work/game/Records")" -eq 5200 ]; then
    echo "ok: SIGTERM saved records and settings"
else
    echo "FAIL: SIGTERM did not end the game with its files saved"; fail=1
fi
# A German desktop: the quit question answered with its "Ja" key, J.
start -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=de_DE.UTF-8
xdotool key F2
sleep 0.3
xdotool key Escape
sleep 0.5
xdotool key j
if ended_within 5; then echo "ok: the question's buttons were German"; else echo "FAIL: J did not answer Ja"; fail=1; fi
exit $fail
