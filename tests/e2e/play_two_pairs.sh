#!/usr/bin/env bash
# The real program playing a memory game of two pairs to its end with the
# mouse: the cards are found on a screenshot by their colours (with the
# trace on every face shows at the start), a try without a pair turns back,
# both pairs leave the board, the good end picture shows, and a click on it
# ends the program. Every step waits for the settled try on the screen or in
# the trace, since the game ignores clicks while a try's sounds and pauses run.
# With PLAY_BY=keys the same game is played by the keyboard alone: the sound
# is muted, arrows bring the focus frame to a card and Return turns it.
set -uo pipefail
memory="$1" source_dir="$2" play_by="${PLAY_BY:-mouse}"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"

use_trace_log
count() { trace | grep -cxF -- "$1"; }

# A short mono 8-bit wave of silence (0.1 s).
le() { local v=$1 n=$2; for ((k = 0; k < n; k++)); do printf "\\x$(printf %02x $(( (v >> (8 * k)) & 255 )))"; done; }
wave() {
    { printf RIFF; le 836 4; printf 'WAVEfmt '; le 16 4; le 1 2; le 1 2; le 8000 4; le 8000 4; le 1 2; le 8 2
      printf data; le 800 4; head -c 800 /dev/zero | tr '\0' '\200'; } >"$1"
}
board_colour="#282828" back_colour="#C8C8C8" good_colour="#00FF00"
# Pairs differ by one step of red or blue, so every card has a colour of its own.
face_colours=("#FF0000" "#FE0000" "#0000FF" "#0000FE")
game="$work/game"
mkdir -p "$game"/{gfx,cards,sfx,data}
solid() { convert -size "$2" "xc:$3" "BMP3:$1"; }
for size in 640x480 800x600 1024x768 1152x864 1280x1024; do solid "$game/gfx/bg$size.bmp" "$size" "$board_colour"; done
solid "$game/gfx/back.bmp" 80x80 "$back_colour"
solid "$game/gfx/quit.bmp" 90x40 "#5A5A5A"
solid "$game/gfx/player.bmp" 120x30 "#3C3C78"
solid "$game/gfx/good.bmp" 200x100 "$good_colour"
solid "$game/gfx/bad.bmp" 200x100 "#FF00FF"
for i in 0 1 2 3; do solid "$game/cards/f$i.bmp" 80x80 "${face_colours[$i]}"; done
for s in good bad turn match nomatch; do wave "$game/sfx/$s.wav"; done
printf 'c0\tf0.bmp\nc1\tf1.bmp\nc2\tf2.bmp\nc3\tf3.bmp\n' >"$game/data/cards.txt"
write_definition "$game/play.ini" "$game" memory debug
printf '[interface]\npictures=bg640x480.bmp\tbg800x600.bmp\tbg1024x768.bmp\tbg1152x864.bmp\tbg1280x1024.bmp\nquitpicture=quit.bmp\nendgoodpicture=good.bmp\nendbadpicture=bad.bmp\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav\nnomatchsound=nomatch.wav\n[players]\nplayers=1\npicture=player.bmp\n' \
    >"$game/data/main.ini"
printf '[cards]\ncardsx=2\ncardsy=2\ncardwidth=80\ncardheight=80\npicture=back.bmp\nturnsound=turn.wav\ndissapear=1\n' \
    >"$game/data/global.ini"

# The colour of one pixel of a screenshot, "#RRGGBB".
pixel() {
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- |
        awk 'NR > 1 { for (i = 1; i <= NF; ++i) if ($i ~ /^#[0-9A-Fa-f]+$/) { print toupper(substr($i, 1, 7)); exit } }'
}
# The centre of the one card of a colour on a screenshot.
centre_of() {
    local box w h x y
    box="$(convert "$1" -fill black +opaque "$2" -trim -format '%w %h %X %Y' info: 2>/dev/null)" || return 1
    read -r w h x y <<<"$box"
    [ "$w" -eq 80 ] && [ "$h" -eq 80 ] || return 1
    echo "$(( ${x#+} + w / 2 )) $(( ${y#+} + h / 2 ))"
}
shot() { import -window root "$work/$1.png" || fail "no screenshot $1"; }
# Takes screenshot $1 until every "x y" place given shows colour $2 (10 s at most).
shot_until() {
    local name="$1" colour="$2" at ok
    shift 2
    for _ in $(seq 40); do
        shot "$name"
        ok=1
        for at in "$@"; do [ "$(pixel "$work/$name.png" $at)" = "$colour" ] || { ok=0; break; }; done
        [ "$ok" = 1 ] && return 0
        sleep 0.25
    done
    return 1
}
# Waits until the trace holds line $1 at least $2 times (10 s at most).
trace_until() {
    for _ in $(seq 100); do
        [ "$(count "$1")" -ge "$2" ] && return 0
        sleep 0.1
    done
    return 1
}
# The card with the focus frame on screenshot $1 (its light band lies two
# pixels left of the card), or "-".
framed() {
    local k x y
    for k in 0 1 2 3; do
        read -r x y <<<"${at[$k]}"
        [ "$(pixel "$1" $((x - 42)) "$y")" = "#FFFFFF" ] && { echo "$k"; return; }
    done
    echo -
}
# Right and Down in turn until the frame is on card $1; after each key the
# screen is watched until the frame has moved.
focus_card() {
    local now before key=Right
    shot focus
    now="$(framed "$work/focus.png")"
    for _ in $(seq 8); do
        [ "$now" = "$1" ] && return 0
        before="$now"
        xdotool key "$key"
        if [ "$key" = Right ]; then key=Down; else key=Right; fi
        for _ in $(seq 40); do
            shot focus
            now="$(framed "$work/focus.png")"
            [ "$now" != "$before" ] && break
            sleep 0.05
        done
    done
    fail "the focus frame does not reach card $1"
}
evaluations=0
# Clicks the card of colour k (or turns it by the keys); waits until the
# game has heard it out: the sound chain ends in memCheckCardStatus.
click_card() {
    if [ "$play_by" = keys ]; then
        focus_card "$1"
        xdotool key Return
    else
        xdotool mousemove --sync ${at[$1]} click 1
    fi
    evaluations=$((evaluations + 1))
    trace_until "=> memCheckCardStatus <=" "$evaluations" || fail "the click on card $1 was not taken up: $(trace | tail -5)"
}

start_xvfb 1024x768
start_game "$memory" "$game/play.ini"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
trace_until "=> Form_Activate <=" 1 || fail "the game window was not activated: $(cat "$GAME_ERR")"
sleep 0.5
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"
shot start
declare -a at
for k in 0 1 2 3; do
    at[$k]="$(centre_of "$work/start.png" "${face_colours[$k]}")" || fail "card $k not found on the board"
done
echo "cards at: ${at[*]}"
xdotool windowfocus --sync "$window" 2>/dev/null
# Muted, the game keeps its pace: every step below waits as it does with sound.
[ "$play_by" = keys ] && xdotool key m

# A try without a pair: both cards turn face down again.
click_card 0
click_card 2
trace_until "--> memCheckCardStatus: Ingen match..." 1 || fail "no trace of the try without a pair"
shot_until wrong "$back_colour" "${at[0]}" "${at[2]}" || fail "the cards of the try without a pair are not face down again"
# The try is settled once the cards are down; a moment for the rest of it.
sleep 0.3

# The first pair leaves the board.
click_card 0
click_card 1
trace_until "--> memCheckCardStatus: Match!" 1 || fail "no trace of the first pair"
shot_until first "$board_colour" "${at[0]}" "${at[1]}" || fail "the first pair is still on the board"
[ "$(pixel "$work/first.png" ${at[2]})" = "$back_colour" ] || fail "card 2 is not face down"
[ "$(pixel "$work/first.png" ${at[3]})" = "${face_colours[3]}" ] || fail "card 3 does not show its face"
sleep 0.3

# The last pair ends the game with the good end picture in the middle.
click_card 2
click_card 3
trace_until "--> memCheckCardStatus: Match!" 2 || fail "no trace of the second pair"
shot_until end "$good_colour" "512 384" "420 340" "600 430" || fail "no good end picture in the middle of the screen"
for k in 0 1 2 3; do
    [ "$(pixel "$work/end.png" ${at[$k]})" = "$board_colour" ] || fail "card $k is still on the board at the end"
done
green="$(convert "$work/end.png" -fill black +opaque "$good_colour" -fill white -opaque "$good_colour" -format '%[fx:int(mean*w*h)]' info:)"
[ "$green" -eq 20000 ] || fail "the good end picture shows $green green pixels, not 200 x 100"
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"
[ "$(count "--> memCheckCardStatus: Ingen match...")" -eq 1 ] || fail "not one try without a pair in the trace"
[ "$(count "--> memCheckCardStatus: Match!")" -eq 2 ] || fail "not two pairs in the trace"
[ "$(count "=> memCheckCardStatus <=")" -eq 6 ] || fail "not six evaluations in the trace: $(trace)"

# A click on the end picture (or Return, with the focus frame on it) ends
# the program normally.
if [ "$play_by" = keys ]; then
    [ "$(pixel "$work/end.png" 410 384)" = "#FFFFFF" ] || fail "no focus frame around the end picture"
    xdotool key Return
else
    xdotool mousemove --sync 512 384 click 1
fi
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "a click on the end picture ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "ok"
