#!/usr/bin/env bash
# DRAFT, not run by CTest: the clicks reach the game and the first pair is taken, but the
# second pair is not taken on the screenshot yet (timing of the clicks or stale painting).
# The real program plays a game of two pairs to its end: cards found on a
# screenshot by their colours, clicked with xdotool, the end picture seen.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
command -v convert >/dev/null || fail "ImageMagick is not installed"
work="$(mktemp -d)"
trap 'rm -rf "$work"' RETURN
game="$work/game"
mkdir -p "$game"/{gfx,card,sfx,data}

# A short mono 8-bit wave of silence.
le() { local v=$1 n=$2; for ((k = 0; k < n; k++)); do printf "\\x$(printf %02x $(( (v >> (8 * k)) & 255 )))"; done; }
wave() {
    { printf RIFF; le 836 4; printf 'WAVEfmt '; le 16 4; le 1 2; le 1 2; le 8000 4; le 8000 4; le 1 2; le 8 2
      printf data; le 800 4; head -c 800 /dev/zero | tr '\0' '\200'; } >"$1"
}
solid() { convert -size "$2" "xc:$3" "BMP3:$1"; }
for size in 640x480 800x600 1024x768 1152x864 1280x1024; do solid "$game/gfx/bg$size.bmp" "$size" "rgb(40,40,40)"; done
solid "$game/gfx/back.bmp" 80x80 "rgb(200,200,200)"
solid "$game/gfx/quit.bmp" 90x40 "rgb(90,90,90)"
solid "$game/gfx/player.bmp" 120x30 "rgb(60,60,120)"
solid "$game/gfx/good.bmp" 200x100 "rgb(0,255,0)"
solid "$game/gfx/bad.bmp" 200x100 "rgb(255,0,255)"
# Pairs differ by one step of red or blue, so every card has a colour of its own.
colours=("rgb(255,0,0)" "rgb(254,0,0)" "rgb(0,0,255)" "rgb(0,0,254)")
for i in 0 1 2 3; do solid "$game/card/f$i.bmp" 80x80 "${colours[$i]}"; done
wave "$game/sfx/good.wav"; wave "$game/sfx/bad.wav"; wave "$game/sfx/turn.wav"
printf 'c0\tf0.bmp\nc1\tf1.bmp\nc2\tf2.bmp\nc3\tf3.bmp\n' >"$game/data/cards.txt"
cat >"$game/play.ini" <<INI
[application]
app=match
debug=1
[paths]
gfx=$game/gfx/
card=$game/card/
sfx=$game/sfx/
data=$game/data/
[gamefiles]
main=main.ini
global=global.ini
cards=cards.txt
INI
printf '[interface]\npictures=bg640x480.bmp\tbg800x600.bmp\tbg1024x768.bmp\tbg1152x864.bmp\tbg1280x1024.bmp\nquitpicture=quit.bmp\nendgoodpicture=good.bmp\nendbadpicture=bad.bmp\nendgoodsound=good.wav\nendbadsound=bad.wav\n[players]\nplayers=1\npicture=player.bmp\n' >"$game/data/main.ini"
printf '[cards]\ncardsx=2\ncardsy=2\ncardwidth=80\ncardheight=80\npicture=back.bmp\nturnsound=turn.wav\ndissapear=1\n' >"$game/data/global.ini"

start_xvfb 1024x768
start_game "$memory" "$game/play.ini"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"

# The centre of the one card of a colour on a screenshot.
centre_of() {
    local box
    box="$(convert "$work/shot.png" -fill black +opaque "$1" -trim -format '%w %h %X %Y' info: 2>/dev/null)" || return 1
    read -r w h x y <<<"$box"
    [ "$w" -ge 40 ] && [ "$w" -le 120 ] || return 1
    echo "$(( ${x#+} + w / 2 )) $(( ${y#+} + h / 2 ))"
}
import -window root "$work/shot.png" || fail "no screenshot"
declare -a at
for i in 0 1 2 3; do
    at[$i]="$(centre_of "${colours[$i]}")" || fail "card $i not found on the board"
done
xdotool windowfocus --sync "$window" 2>/dev/null
click() { xdotool mousemove $1; sleep 0.1; xdotool click 1; sleep 0.4; }
# A try without a pair, then both pairs.
click "${at[0]}"; click "${at[2]}"; sleep 1.5
click "${at[0]}"; click "${at[1]}"; sleep 1
click "${at[2]}"; click "${at[3]}"; sleep 1.5

import -window root "$work/end.png" || fail "no screenshot of the end"
green="$(convert "$work/end.png" -fill black +opaque "rgb(0,255,0)" -fill white -opaque "rgb(0,255,0)" -format '%[fx:int(mean*w*h)]' info:)"
[ "$green" -ge 19000 ] || fail "the good end picture is not shown ($green green pixels)"

# The trace goes to memory.log in the system directory, when it can be written.
log="$(strings "$memory" | grep -m1 '^/.*/$' || true)"
for dir in /var/games/memory/; do
    if [ -w "$dir" ] && [ -f "$dir/memory.log" ]; then
        grep -q -- "--> memCheckCardStatus: Ingen match..." "$dir/memory.log" || fail "no trace of the try without a pair"
        [ "$(grep -c -- "--> memCheckCardStatus: Match!" "$dir/memory.log")" -ge 2 ] || fail "no trace of the pairs"
    else
        echo "note: $dir cannot be written; trace lines not checked"
    fi
done
: "$log"

# A click on the end picture ends the program normally.
xdotool mousemove 512 384 click 1
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "the end picture ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "ok"
