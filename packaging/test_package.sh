#!/usr/bin/env bash
# The Debian package as a player gets it: make deb installs only what building
# needs; lintian, the desktop entry, the AppStream metadata, the man pages and
# the suggested espeak-ng are checked; then the package is unpacked into a
# scratch root, each program answers --version, and the game started there
# through its link in games/ finds its default game beside the real program,
# paints the board and ends on Escape; the installed memory-check checks the
# installed games.
# usage: test_package.sh PACKAGE.deb
set -uo pipefail
package="$(realpath "$1")"
source "$(dirname "$0")/../tests/e2e/support/xvfb.sh"
root="$work/root"

echo "== make deb installs only what building needs"
installs="$(make -n -C "$(dirname "$0")/.." --no-print-directory deb 2>&1 | grep -o 'for p in [^;]*;')"
for tool in xvfb xdotool lintian libgtest-dev imagemagick sox openbox; do
    ! grep -qw -- "$tool" <<<"$installs" || fail "make deb installs the test tool $tool: $installs"
done
grep -qw fakeroot <<<"$installs" || fail "make deb does not install fakeroot: $installs"

echo "== lintian"
lintian --fail-on error "$package" || fail "lintian reports errors"

dpkg-deb -x "$package" "$root" || fail "cannot unpack $package"
dpkg-deb -f "$package" Suggests | grep -qw espeak-ng || fail "espeak-ng (memory-new --speak) is not suggested"
for program in memory memory-check memory-new memory-pack; do
    "$root/usr/games/$program" --version | grep -qx "$program [0-9.]*" || fail "the installed $program --version"
done
share="$root/usr/share" games="$root/usr/share/games/memory/games"

echo "== desktop entry, icons, AppStream metadata, man pages"
for entry in "$share"/applications/*.desktop; do
    desktop-file-validate "$entry" || fail "desktop-file-validate: $entry"
    program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry" | head -n1)"
    [ -x "$root$program" ] || fail "the menu entry starts $program, which the package does not hold"
    icon="$(sed -n 's/^Icon=//p' "$entry")"
    for size in 48x48 64x64 128x128 256x256; do
        [ -s "$share/icons/hicolor/$size/apps/$icon.png" ] || fail "no $size icon $icon"
    done
    [ -s "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
done
appstreamcli validate --no-net "$share"/metainfo/*.xml || fail "appstreamcli validate"
for lang in de fr; do
    for program in memory memory-new; do
        [ -s "$share/man/$lang/man6/$program.6.gz" ] || fail "no $lang man page of $program"
    done
done
for page in "$share"/man/man6/*.6.gz "$share"/man/*/man6/*.6.gz; do
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

echo "== the file type of game packages"
entry="$(ls "$share"/applications/*.desktop | head -n1)"
grep -q '^MimeType=application/x-memorygame;$' "$entry" || fail "the desktop entry names no package type"
grep -q '^Exec=[^ ]* \(.* \)\?%f$' "$entry" || fail "the desktop entry does not pass the file it opens (%f)"
[ -s "$share/icons/hicolor/scalable/mimetypes/application-x-memorygame.svg" ] || fail "no icon for the package type"
mkdir -p "$work/data/mime/packages"
cp "$share"/mime/packages/*.xml "$work/data/mime/packages/" || fail "no shared-mime-info file"
update-mime-database "$work/data/mime" 2>/dev/null || fail "update-mime-database refuses the package type"
"$root/usr/games/memory-pack" -o "$work/game.memorygame" "$games/memory/memory.ini" >/dev/null ||
    fail "memory-pack cannot pack the installed memory game"
cp "$work/game.memorygame" "$work/game-without-extension"
for file in game.memorygame game-without-extension; do
    type="$(XDG_DATA_DIRS="$work/data:/usr/share" xdg-mime query filetype "$work/$file" 2>/dev/null)"
    [ "$type" = application/x-memorygame ] || fail "xdg-mime takes $file for $type"
done

echo "== memory-check on the installed games"
for definition in "$games"/*/*.ini; do
    name="$(basename "$definition" .ini)"
    [ "$name" = "$(basename "$(dirname "$definition")")" ] || continue
    "$root/usr/games/memory-check" --warnings-as-errors "$definition" || fail "$name does not check clean"
done

echo "== the installed game under Xvfb"
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"
start_xvfb 1024x768

# The colour of pixel $2,$3 of picture $1; true when the part $2 (WxH+X+Y) of picture $1 is all of colour $3.
colour_at() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1; }
plain() { [ "$(convert "$1" -crop "$2" +repage -depth 8 -unique-colors txt:- | grep -o '#[0-9A-F]\{6\}')" = "$3" ]; }
# True when the screenshot shows the memory board, whose 640 x 480 board fills the 1024 x 768 screen 1.6 times
# enlarged: the window colour of its background below the control panel, and the plain blue of a card back at each of
# the 16 places the board geometry gives 116 x 94 cards (play area from x 121, y 16; gaps of 4 across and down, so
# cards at board x 125 + 124 c, y 20 + 102 r), 15 board pixels inside the card, as in back.png (drawn 3 times larger).
board_painted() {
    import -window root "$work/shot.png" 2>/dev/null || return 1
    plain "$work/shot.png" 48x24+48+480 "$(colour_at "$games/memory/gfx/bg640.png" 40 300)" || return 1
    local back column row
    back="$(colour_at "$games/memory/gfx/back.png" 50 50)"
    for column in 0 1 2 3; do
        for row in 0 1 2 3; do
            plain "$work/shot.png" "12x12+$(((125 + 124 * column) * 16 / 10 + 24))+$(((20 + 102 * row) * 16 / 10 + 24))" \
                "$back" || return 1
        done
    done
}

# No argument: memory.ini beside the real program names the memory game.
start_game "$root/usr/games/memory"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
for _ in $(seq 50); do board_painted && break; sleep 0.2; done
board_painted || fail "the memory board is not painted (screenshot: $work/shot.png, KEEP=1 keeps it)"
! grep -q "Error in application" "$GAME_ERR" || fail "the installed game reports an error: $(cat "$GAME_ERR")"
xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "Escape ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "the memory board is painted; Escape ends with status 0"

# A relative argument is taken from the program's directory.
start_game "$root/usr/games/memory" games/match/match.ini
window="$(wait_for_window Memory)" || fail "no game window for the match game: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "games/match/match.ini reports an error: $(cat "$GAME_ERR")"
xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "the match game ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "games/match/match.ini starts; Escape ends with status 0"
echo "ok"
