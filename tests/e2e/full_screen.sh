#!/usr/bin/env bash
# Under a window manager (openbox) the game starts in the full-screen state covering the screen from 0, 0; F11 twice
# shows the board as before (a window once came back 40 pixels too high, its top counter cut off).
source "$2/tests/e2e/support/xvfb.sh"
command -v openbox >/dev/null || fail "openbox is not installed (make deps)"
start_xvfb 1920x1080
openbox --sm-disable >/dev/null 2>&1 & on_exit "kill $! 2>/dev/null"
retry 100 0.1 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"

# The bundled memory game with its clock stopped, so the board stays the same.
new_game "$work/game" && bundled="$source_dir/games/memory" && rm -r "$game"/{gfx,cards,sfx}
ln -s "$bundled"/{gfx,cards,sfx} "$game/" && cp "$bundled"/data/{global.ini,cards.txt} "$game/data/"
sed '/^\[timer\]/,/^\[/ s/^active=1/active=0/' "$bundled/data/main.ini" >"$game/data/main.ini"

state() { xprop -id "$window" _NET_WM_STATE; }
in_state() { state | grep -q _NET_WM_STATE_FULLSCREEN; }
# The window lies at 0, 0 as large as the screen, in the full-screen state: a screenshot "$1".
full_screen() {
    place="$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }')"
    [ "$place" = 1920x1080+0+0 ] && in_state && import -window root "$work/$1.png"
}
open_window Memory "$memory" "$game/play.ini" && sleep 1
retry 20 0.2 full_screen first || fail "not started in full screen: $place, $(state)"
keys F11; sleep 1
in_state && fail "F11 leaves the full-screen state on"
xdotool key F11; sleep 1
retry 20 0.2 full_screen again || fail "F11 twice: not full screen: $place, $(state)"
moved="$(compare -metric AE -fuzz 2% "$work/first.png" "$work/again.png" null: 2>&1)"
[ "$moved" -lt 500 ] 2>/dev/null || fail "after F11 twice $moved pixels differ from the first full screen"
escape_ends
