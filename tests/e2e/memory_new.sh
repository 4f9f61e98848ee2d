#!/usr/bin/env bash
# memory-new as an author uses it: a folder of pictures (a name with blanks,
# one with accents, one file that is no picture) becomes a game that
# memory-check passes and the real program starts without a message.
# SCREENSHOT=file keeps the picture of the board.
set -uo pipefail
memory="$1" source_dir="$2"
build="$(dirname "$memory")"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work

pictures="$work/Holiday pictures"
mkdir -p "$pictures"
draw() {  # file background shape-colour draw-command
    convert -size 240x180 "gradient:$2" -fill "$3" -stroke white -strokewidth 4 -draw "$4" "$pictures/$1" ||
        fail "cannot draw $1"
}
draw sun.png 'skyblue-white' gold 'circle 120,90 120,30'
draw "blue boat.jpg" 'lightblue-navy' '#c03020' 'polygon 50,110 190,110 165,145 75,145'
draw Grüne_Birne.png 'honeydew-palegreen' '#4c9a2a' 'ellipse 120,100 45,60 0,360'
draw tree.png 'lightcyan-khaki' '#2e6b2e' 'polygon 120,20 180,150 60,150'
draw house.png 'mistyrose-wheat' '#a04040' 'rectangle 70,80 170,160'
draw star.png 'midnightblue-black' yellow 'polygon 120,20 140,75 195,75 150,108 168,160 120,128 72,160 90,108 45,75 100,75'
echo "not a picture" >"$pictures/notes.png"

"$build/memory-new" --output "$work" --kind match --players 2 --timer --theme ocean "Our holiday" "$pictures" \
    >"$work/out" 2>"$work/err" || fail "memory-new failed: $(cat "$work/err")"
grep -q 'skipped ".*notes.png"' "$work/err" || fail "the file that is no picture is not named: $(cat "$work/err")"
definition="$work/Our holiday/Our holiday.ini"
grep -qF "Play it with: memory $definition" "$work/out" || fail "no play command: $(cat "$work/out")"
"$build/memory-check" --warnings-as-errors "$definition" || fail "memory-check finds problems"

start_xvfb 1024x768
start_game "$memory" "$definition"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the made game reports an error: $(cat "$GAME_ERR")"
import -window root "$work/shot.png" || fail "no screenshot"
colours="$(convert "$work/shot.png" -format %k info:)"
[ "$colours" -gt 200 ] || fail "the board shows no pictures ($colours colours)"
[ -n "${SCREENSHOT:-}" ] && cp "$work/shot.png" "$SCREENSHOT"
xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "Escape ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "ok"
