#!/usr/bin/env bash
# The real program, started twice on one game folder under a real X server
# with a window manager: the second start brings the first one's window to
# the front and ends, or tells the player when the first does not answer; a
# game killed does not block the next start, nor does another user's lock; a
# game started from another working folder keeps its files in its own; a
# record entered in one game and one written by another program meanwhile are
# both in Records after the game ends; a runtime folder too long for a socket
# still lets two starts meet.
# Usage: single_instance_test.sh GAME_FOLDER RECORDS_TOOL   (exit 77: nothing to test on)
set -u
game="$1" tool="$2"
for program in Xvfb xdotool openbox; do
    command -v "$program" >/dev/null || { echo "SKIP: $program missing"; exit 77; }
done

work=$(mktemp -d)
pids=() xvfb=""
# Only what was started: a bare `kill 0` would end the whole process group,
# the test runner with it.
trap 'for p in "${pids[@]}" $xvfb; do kill -CONT "$p" 2>/dev/null; kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT
for n in $(seq 141 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
# -noreset: the server would otherwise start over whenever its last client leaves.
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$work/run"
up=0
# A loaded machine may take seconds to bring an X server up.
for _ in $(seq 200); do xdotool getdisplaygeometry >/dev/null 2>&1 && { up=1; break; }; sleep 0.1; done
[ "$up" = 1 ] || { echo "SKIP: Xvfb did not start"; exit 77; }
openbox >/dev/null 2>&1 &
pids+=($!)
timeout 10 xdotool search --sync --class openbox >/dev/null || { echo "SKIP: openbox did not start"; exit 77; }

fail=0
ok() { echo "ok: $*"; }
bad() { echo "FAIL: $*"; fail=1; }

# start FOLDER: runs the game there; sets pid and win (its main window).
start() {
    (cd "$1" && exec ./plumix >/dev/null 2>&1) &
    pid=$!
    pids+=("$pid")
    win=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Plumix$' | head -1)
    [ -n "$win" ] || { echo "FAIL: no main window in $1"; exit 1; }
}
# active_within SECONDS WINDOW
active_within() {
    for _ in $(seq $(( $1 * 10 ))); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$2" ] && return 0; sleep 0.1; done
    return 1
}
ended_within() {  # SECONDS PID
    for _ in $(seq $(( $1 * 10 ))); do kill -0 "$2" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}
visible_games() { xdotool search --onlyvisible --name '^Plumix$' 2>/dev/null | wc -l; }

cp -r "$game" "$work/game"
cp -r "$game" "$work/other"
start "$work/game"
first=$pid first_win=$win
# Another installation that shares nothing runs beside it and takes the focus.
start "$work/other"
if kill -0 "$first" && kill -0 "$pid" && active_within 3 "$win"; then
    ok "two installations run side by side"
else
    bad "a second installation did not run beside the first"
fi

# The first, minimised behind the other, is brought back by a second start.
xdotool windowminimize --sync "$first_win"
began=$(date +%s%N)
(cd "$work/game" && exec ./plumix >"$work/second.out" 2>"$work/second.err") &
second=$!
pids+=("$second")
if ended_within 2 "$second"; then
    wait "$second"; status=$?
    took=$(( ($(date +%s%N) - began) / 1000000 ))
    lines=$(wc -l < "$work/second.err")
    if [ "$status" -eq 0 ] && [ "$lines" -eq 1 ] && grep -q "already running" "$work/second.err"; then
        ok "the second start ended in $took ms with status 0: $(cat "$work/second.err")"
    else
        bad "the second start ended with status $status and said: $(cat "$work/second.err")"
    fi
else
    bad "the second start still runs after 2 s"
fi
if active_within 2 "$first_win" && xdotool search --all --onlyvisible --pid "$first" --name '^Plumix$' | grep -qx "$first_win"; then
    ok "the running game's window is shown again and active"
else
    bad "the running game's window was not brought to the front (active: $(xdotool getactivewindow 2>/dev/null))"
fi
[ "$(visible_games)" -eq 2 ] || bad "$(visible_games) main windows where there were 2"

# Frozen, the first cannot answer: each later start tells the player within
# about a second, however many starts it never took in (a full queue).
kill -STOP "$first"
socket="$XDG_RUNTIME_DIR/$(stat -c '%d %i' "$work/game" | { read -r d i; printf 'plumix-%x-%x' "$d" "$i"; })"
python3 - "$socket" <<'PY' &
import socket, sys, time
held = []
for _ in range(64):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.setblocking(False)
    try:
        s.connect(sys.argv[1])
    except BlockingIOError:
        pass
    except OSError:
        break
    held.append(s)
time.sleep(60)
PY
filler=$!
pids+=("$filler")
sleep 0.5
for try in 1 2 3; do
    began=$(date +%s%N)
    (cd "$work/game" && exec ./plumix >/dev/null 2>"$work/frozen.err") &
    late=$!
    pids+=("$late")
    box=""
    for _ in $(seq 100); do
        box=$(xdotool search --all --onlyvisible --pid "$late" --name '^Plumix$' 2>/dev/null | head -1)
        [ -n "$box" ] && break
        sleep 0.1
    done
    took=$(( ($(date +%s%N) - began) / 1000000 ))
    # The wait for an answer, as the start itself measured it: the rest is
    # the program's own start-up, slow on a busy machine or under sanitizers.
    waited=$(sed -n 's/.*did not answer in \([0-9]*\) ms.*/\1/p' "$work/frozen.err")
    if [ -n "$box" ] && [ -n "$waited" ] && [ "$waited" -le 1200 ]; then
        ok "try $try on a frozen game: a message box $took ms after the start, after waiting $waited ms"
    else
        bad "try $try on a frozen game: box '$box' after $took ms, waited '${waited}' ms: $(cat "$work/frozen.err")"
    fi
    [ -n "$box" ] && { xdotool windowactivate --sync "$box" 2>/dev/null; xdotool key Return; }
    if ended_within 3 "$late"; then
        wait "$late"; status=$?
        [ "$status" -eq 1 ] || bad "the start on a frozen game ended with $status: $(cat "$work/frozen.err")"
    else
        bad "the start on a frozen game still runs after its box"
    fi
done
kill "$filler" 2>/dev/null
kill -CONT "$first"

# Killed, the first leaves nothing that holds the next start up, and another
# user's lock on the game's folder keeps nobody out. Started from another
# working folder, the game still keeps its files in its own.
{ kill -KILL "$first"; wait "$first"; } 2>/dev/null
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && command -v flock >/dev/null; then
    chmod 755 "$work"
    setpriv --reuid=65534 --regid=65534 --clear-groups flock -n "$work/game" sleep 60 &
    pids+=($!)
    sleep 0.3
fi
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && exec "$work/game/plumix" >/dev/null 2>&1) &
pid=$!
pids+=("$pid")
win=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Plumix$' | head -1)
[ -n "$win" ] || { echo "FAIL: no main window when started from another folder"; exit 1; }
sleep 1
if kill -0 "$pid"; then ok "a start after the first game was killed runs"; else bad "the start after a kill ended"; fi
third=$pid third_win=$win

# A record entered: a Classic game whose figures are dropped until the well is full.
xdotool windowactivate --sync "$third_win"
xdotool key F2
entry=""
for _ in $(seq 120); do
    xdotool key Down
    sleep 0.3
    entry=$(xdotool search --all --onlyvisible --pid "$third" --name '^New record!$' | head -1)
    [ -n "$entry" ] && break
done
[ -n "$entry" ] || { echo "FAIL: no record entry after a game over"; exit 1; }
xdotool windowactivate --sync "$entry"
xdotool type --delay 20 Alice
xdotool key Return
[ -n "${SHOTS:-}" ] && { sleep 1; import -window root "$SHOTS/after-entry.png"; }
for _ in $(seq 30); do "$tool" list "$work/game/Records" | grep -q " Alice$" && break; sleep 0.1; done
"$tool" list "$work/game/Records" | grep -q " Alice$" || bad "the record entered is not in Records"
# Another program writes Records without Alice's record, then the game ends as at logout.
"$tool" write "$work/game/Records" classic Bob 99999
kill -TERM "$third"
ended_within 5 "$third" || bad "the game did not end on SIGTERM"
held=$("$tool" list "$work/game/Records")
if [ "$(echo "$held" | grep -c ' Alice$')" -eq 1 ] && echo "$held" | grep -q '^classic 1 99999 Bob$'; then
    ok "both records are kept: $(echo $held)"
else
    bad "Records holds: $(echo $held)"
fi
if [ -z "$(ls -A "$work/elsewhere")" ]; then
    ok "nothing was written in the working folder it was started from"
else
    bad "written in the working folder: $(ls -A "$work/elsewhere")"
fi

# A runtime folder too long for a socket's address: the starts meet all the same.
long="$work/run/$(printf 'r%.0s' $(seq 110))"
mkdir -m 700 "$long"
cp -r "$game" "$work/long"
XDG_RUNTIME_DIR="$long" start "$work/long"
(cd "$work/long" && XDG_RUNTIME_DIR="$long" exec ./plumix >/dev/null 2>"$work/long.err") &
second=$!
pids+=("$second")
if ended_within 3 "$second" && wait "$second" && grep -q "brought to the front" "$work/long.err"; then
    ok "with a runtime folder of ${#long} characters the second start reached the first"
else
    bad "with a long runtime folder the second start said: $(cat "$work/long.err")"
fi
exit $fail
