#!/usr/bin/env bash
# The real programs as a player and an author start them: the command line's
# statuses; the bundled game covers the screen and Escape ends it; a game made
# by memory-new from a folder of pictures checks clean and starts.
set -uo pipefail
memory="$1" source_dir="$2"
build="$(dirname "$memory")"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"

"$memory" --help | grep -q "^Usage: memory" || fail "--help prints no usage"
"$memory" --version | grep -q "^memory " || fail "--version prints no version"
"$memory" --no-such-option 2>/dev/null; [ $? -eq 2 ] || fail "an unknown option does not end with status 2"
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 timeout 10 "$memory" 2>"$work/err"; status=$?
[ "$status" -eq 2 ] || fail "without a display the status is $status, not 2"
grep -q "cannot open the display" "$work/err" || fail "no message without a display: $(cat "$work/err")"

# Without an argument, memory.ini beside the program names the bundled game:
# a borderless window named Memory covering the screen, with a board drawn.
start_xvfb 1024x768
start_game "$memory"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the bundled game reports an error: $(cat "$GAME_ERR")"
geometry="$(xdotool getwindowgeometry "$window")"
grep -q "Geometry: 1024x768" <<<"$geometry" || fail "the window does not cover the screen: $geometry"
import -window root "$work/shot.png" || fail "no screenshot"
colours="$(convert "$work/shot.png" -format %k info:)"
[ "$colours" -gt 20 ] || fail "the board looks empty ($colours colours)"
escape_ends "$window"

# A folder with a blank in its name, two pictures and a file that is no picture.
pictures="$work/Holiday pictures"
mkdir -p "$pictures"
convert -size 240x180 gradient:skyblue-white -fill gold -draw 'circle 120,90 120,30' "$pictures/sun.png"
convert -size 240x180 gradient:lightblue-navy -fill red -draw 'rectangle 70,80 170,160' "$pictures/blue boat.jpg"
echo "not a picture" >"$pictures/notes.png"
"$build/memory-new" --output "$work" --timer "Our holiday" "$pictures" >"$work/out" 2>"$work/err" ||
    fail "memory-new failed: $(cat "$work/err")"
definition="$work/Our holiday/Our holiday.ini"
grep -qF "Play it with: memory $definition" "$work/out" || fail "no play command: $(cat "$work/out")"
"$build/memory-check" --warnings-as-errors "$definition" || fail "memory-check finds problems"
start_game "$memory" "$definition"
window="$(wait_for_window Memory)" || fail "no game window for the made game: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the made game reports an error: $(cat "$GAME_ERR")"
escape_ends "$window"
echo "ok"
