#!/usr/bin/env bash
# The game as a player gets it: installed into a throwaway prefix (and, when
# `make package` has run, unpacked from the .deb), started with a fresh home
# folder, ended. Its files must appear in the player's folder and nowhere in
# the installed tree; the desktop entry and the metainfo must validate.
# Usage: install_test.sh BUILD_FOLDER
set -u
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
ok() { echo "ok: $*"; }

# Starts PROGRAM offscreen with HOME (fresh unless given), lets it come up,
# ends it the way the system would, and checks where its files went: into
# USER (by default the home's .local/share/plumix), never into TREE.
play_once() {
    local program="$1" tree="$2" home="${3:-$work/home-$RANDOM}"
    local user="${4:-$home/.local/share/plumix}"
    mkdir -p "$home"
    touch "$work/marker"
    sleep 1  # file times have a coarse grain on some file systems
    (cd "$home" && HOME="$home" XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen exec "$program" >/dev/null 2>&1) &
    local pid=$!
    sleep 2
    kill -TERM "$pid"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then kill -9 "$pid"; fail "$program did not end on SIGTERM"; return; fi
    [ "$(wc -l < "$user/plumix.ini" 2>/dev/null)" = 16 ] || fail "no settings written to $user"
    [ "$(stat -c %s "$user/Records" 2>/dev/null)" = 5200 ] || fail "no records written to $user"
    local written
    written=$(find "$tree" -newer "$work/marker" | head -3)
    [ -z "$written" ] || fail "the installed tree was written: $written"
    # (.config holds what the sound server's client library keeps, not ours)
    [ -z "$(ls -A "$home" | grep -v -e '^\.local$' -e '^\.config$')" ] ||
        fail "files left in the home or working folder: $(ls -A "$home")"
    ok "$program keeps its files in $user"
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
for f in games/plumix share/plumix/Data/plumix2.bin share/plumix/Skins/Standart.psk share/plumix/Sounds/Drop.wav \
         share/plumix/Deutsch.lag share/applications/org.plumix.Plumix.desktop \
         share/metainfo/org.plumix.Plumix.metainfo.xml share/icons/hicolor/scalable/apps/org.plumix.Plumix.svg \
         share/man/man6/plumix.6.gz; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
# The icon at every size of the hicolor theme a desktop asks for, at scale 1
# and 2, and every skin picture with its @2x picture for scaled screens.
check_pictures() {
    local tree="$1" folder pixels dims f
    for folder in 16 22 24 32 48 64 128 256 512 16@2 22@2 24@2 32@2 48@2 64@2 128@2 256@2; do
        pixels=${folder%@2}
        [ "$folder" = "$pixels" ] || pixels=$((pixels * 2))
        f="$tree/share/icons/hicolor/${folder%@2}x${folder%@2}${folder#"${folder%@2}"}/apps/org.plumix.Plumix.png"
        # A PNG's width and height are the big-endian words at bytes 16 and 20.
        dims=$(od -An -tu1 -j16 -N8 "$f" 2>/dev/null | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
        [ "$dims" = "${pixels}x${pixels}" ] || fail "icon $folder in $tree is '$dims'"
    done
    for f in "$tree"/share/plumix/Skins/*/*; do
        case "$f" in *@2x.*) continue ;; esac
        [ -f "${f%.*}@2x.${f##*.}" ] || fail "not installed: ${f%.*}@2x.${f##*.}"
    done
}
check_pictures "$prefix"

version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/games/plumix" --version)
[[ "$version" =~ ^plumix\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version said: $version"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/games/plumix" --help)
grep -q XDG_DATA_HOME <<<"$help" || fail "--help does not say where the files live"
# Every key of the README's table, with what it does, is in --help.
readme="$(dirname "$0")/../../README.md"
while IFS='|' read -r _ key action _; do
    line="$(echo "$key" | xargs) $(echo "$action" | xargs)"
    sed 's/^ *//; s/   */ /' <<<"$help" | grep -q -F -x -- "$line" || fail "--help lacks the key line: $line"
done < <(sed -n '/^| key | action |/,/^$/p' "$readme" | tail -n +3 | grep '^|')

# Moved elsewhere, the installed tree still finds its data.
mv "$prefix" "$work/moved"
play_once "$work/moved/games/plumix" "$work/moved"

# Installed into the player's own home, the installed data is the player's data
# folder: the settings and records go to the config folder, apart from it.
own="$work/own-home"
cmake --install "$build" --prefix "$own/.local" >/dev/null || fail "cmake --install into a home"
play_once "$own/.local/games/plumix" "$own/.local/share/plumix" "$own" "$own/.config/plumix"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$work/moved/share/applications/org.plumix.Plumix.desktop" && ok "desktop entry valid" ||
        fail "desktop-file-validate"
else
    echo "skipped: desktop-file-validate is not installed"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$work/moved/share/metainfo/org.plumix.Plumix.metainfo.xml" >/dev/null &&
        ok "metainfo valid" || fail "appstreamcli validate"
else
    echo "skipped: appstreamcli is not installed"
fi

deb=$(ls -t "$build"/plumix_*.deb 2>/dev/null | head -1)
if [ -n "$deb" ]; then
    dpkg -x "$deb" "$work/deb" || fail "dpkg -x"
    check_pictures "$work/deb/usr"
    play_once "$work/deb/usr/games/plumix" "$work/deb"
else
    echo "skipped: no package built (make package)"
fi
exit $failed
