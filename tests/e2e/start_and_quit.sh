#!/usr/bin/env bash
# The real program as a player starts it: without a definition it says so and
# fails; with the bundled game it covers the screen and Escape ends it.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work

# No display at all: a message and exit status 2.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$memory" >/dev/null 2>"$work/err"
status=$?
[ "$status" -eq 2 ] || fail "without a display the status is $status, not 2"
grep -q "cannot open the display" "$work/err" || fail "no message without a display: $(cat "$work/err")"

start_xvfb 1024x768

# A program directory without memory.ini: error 1 on standard error, status 1.
mkdir "$work/empty"
cp "$memory" "$work/empty/memory"
start_game "$work/empty/memory"
answer_box "Error in application (#1)" Return || fail "no message box for error 1"
status="$(wait_for_exit)"
[ "$status" = 1 ] || fail "a missing definition ends with status $status, not 1"
grep -q "Error in application (#1): Could not find file ''''" "$GAME_ERR" ||
    fail "error 1 not on standard error: $(cat "$GAME_ERR")"

# The bundled game: a borderless window named Memory covering the screen.
start_game "$memory"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the bundled game reports an error: $(cat "$GAME_ERR")"
geometry="$(xdotool getwindowgeometry "$window")"
grep -q "Geometry: 1024x768" <<<"$geometry" || fail "the window does not cover the screen: $geometry"
import -window root "$work/shot.png" || fail "no screenshot"
colours="$(convert "$work/shot.png" -format %k info:)"
[ "$colours" -gt 20 ] || fail "the board looks empty ($colours colours)"
xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "Escape ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "ok"
