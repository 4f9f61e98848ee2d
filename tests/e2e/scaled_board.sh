#!/usr/bin/env bash
# On a 1920 x 1080 screen, by real pointer and key events, judged by screenshots: the scaled board, played by clicks
# and keys; --window, F11 and a resized window; a text game with a control panel; full screen under openbox.
source "$2/tests/e2e/support/xvfb.sh"
command -v openbox >/dev/null || fail "openbox is not installed (make deps)"
# With the trace on every face shows at the start, and the trace tells when a try is settled.
trace_lock && new_game "$work/game" debug && printf 'border=1\n' >>"$game/data/global.ini"

# near: $1 is within a pixel of $2; either: start $1 and length $2 are near start $3 and length $4, or $5 and $6.
near() { [ "$1" -ge $(($2 - 1)) ] && [ "$1" -le $(($2 + 1)) ]; }
either() { { near $1 $3 && near $2 $4; } || { near $1 $5 && near $2 $6; }; }
# On a screenshot of a screen of $1, each face with the black border around it covers a card place, within a pixel:
# "start length" across ($2) and down ($3). Sets at[k], the centre of face k.
check_board() {
    local k w h x y shot="$work/board.png"
    screenshot "$shot"
    for k in 0 1 2 3; do
        read -r w h x y < <(convert "$shot" -fill black +opaque "${face_colours[k]}" -trim -format '%w %h %X %Y' info:)
        x=$((${x#+} - 1)) y=$((${y#+} - 1)) w=$((w + 2)) h=$((h + 2))
        either $x $w $2 && either $y $h $3 ||
            fail "$1: face $k at ${w}x$h+$x+$y with its border, not at a card place: $2, $3"
        [ "$(pixel "$shot" $x $((y + h / 2))) $(pixel "$shot" $((x + w - 1)) $((y + h / 2)))" = "#000000 #000000" ] ||
            fail "$1: face $k has no border left and right"
        at[k]="$((x + w / 2)) $((y + h / 2))"
    done
}

start_xvfb 1920x1080
open_window Memory "$memory" "$game/play.ini"
trace_until "=> Form_Activate <=" 1 && sleep 0.5
# 1920 x 1080 fits the 1280 x 1024 board, scaled by 1080 / 1024 to the screen's height and centred at x 285. The
# play area starts at (121, 16) and is 1280 - 137 by 1024 - 65; gaps of floor((area - 2 x 80) / 5 - 1) = 195 across
# and 158 down put the cards at board x 316 and 786, y 174 and 570.
check_board 1920x1080 "618 85 1114 84" "184 84 601 85"

# An idle board waits for events: at most 10% of one processor over 2 seconds.
game_pid="$(pgrep -P "$GAME_PID" | head -n1)" && [ -n "$game_pid" ] || fail "no game process to measure"
cpu() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat" 2>/dev/null | grep -x '[0-9][0-9]*'; }
before="$(cpu)" && sleep 2 && after="$(cpu)" || fail "/proc/$game_pid/stat cannot be read"
[ $((after - before)) -le $(($(getconf CLK_TCK) / 5)) ] || fail "the idle board used $((after - before)) ticks in 2 s"

# A click in the margin left of the board (turned cards are counted at the end), then the first pair by clicks.
xdotool mousemove --sync 5 "${at[0]#* }" click 1 mousemove --sync ${at[0]} click 1
trace_until "=> memCheckCardStatus <=" 1
xdotool mousemove --sync ${at[1]} click 1
trace_until "--> memCheckCardStatus: Match!" 1
retry 40 0.25 shows "$board_colour" "${at[0]}" "${at[1]}" || fail "the first pair is still on the board"
# The second pair by the keys, muted: the first arrow shows the focus frame on the nearest card left, the next moves
# to the only other card.
keys m Right Return
trace_until "=> memCheckCardStatus <=" 3
xdotool key Right Return
trace_until "--> memCheckCardStatus: Match!" 2
# A Return pressed during the last pair's pause never acts on the end picture made after it.
xdotool key Return
retry 40 0.25 shows "$good_colour" "960 540" "870 495" "1050 585" || fail "no good end picture in the middle"
sleep 0.5; [ -s "$GAME_STATUS" ] && fail "a Return pressed before the end ended the game: $(cat "$GAME_STATUS")"
[ "$(trace | grep -cF "=> memCardClick(")" -eq 4 ] || fail "not four cards turned: $(trace | grep memCardClick)"
xdotool key Return  # on the end picture, which has the focus
[ "$(wait_for_exit)" = 0 ] || fail "Return on the end picture does not end the game with status 0: $(cat "$GAME_ERR")"

# --window: a framed window of about three quarters of the screen in the board's proportions (1280 x 1024 in
# 1440 x 810 is 1013 x 810); F11 switches to full screen and back; a resized window shows the board fitted again.
open_window Memory "$memory" "$game/play.ini" --window
for key in none F11 F11; do
    [ $key = none ] || keys $key; sleep 1
    sizes+=" $(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }')"
done
[ "$sizes" = " 1013x810 1920x1080 1013x810" ] || fail "--window, F11, F11 again:$sizes, not 1013x810 1920x1080 1013x810"
xdotool windowsize --sync "$window" 400 600 windowmove --sync "$window" 0 0; sleep 1  # 400 / 1280, from y 140
check_board 400x600 "99 25 246 25" "194 25 318 25"
escape_ends

# The text game, with a trace of its own: six cards of 80 x 80, each face a colour of its own; text k (card line k's
# match) is k + 1 letters long, so the widths on the screen tell the texts apart. The panel's "cards left" sits on a
# cyan picture.
text_colour="#FFFF00" panel_colour="#00FFFF" face_colours=("#FF0000" "#0000FF" "#FF00FF" "#FF8000" "#8000FF" "#0080FF")
LOG_START="$(stat -c %s "$MEMORY_LOG")"; new_game "$work/text" debug && printf 'listfile=list.txt\n' >>"$game/play.ini"
solid gfx/panel 97x57 "$panel_colour"; solid gfx/bad 200x100 "#FFFFFF"
for k in 0 1 2 3 4 5; do printf '%s\t\n' "$(printf 'W%.0s' $(seq 0 "$k"))" >>"$game/cards/list.txt"; done
printf '[cards left]\nactive=1\norder=1\npicture=panel.bmp\nforecolor=0\n' >>"$game/data/main.ini"
printf 'cardsx=3\n[text list]\nactive=1\nfontname=DejaVu Sans\nfontsize=20\nfontbold=1\nforecolor=65535
selectcolor=8421376\ndestroy=1\nsound=click.wav\ntop=720\nleft=400\nwidth=500\nspace=10\n' >>"$game/data/global.ini"

# The centres of the texts on screenshot $1, each a blob of the text colour with its letters joined, narrowest first:
# texts 0, 1, ... of those still shown.
texts() {
    convert "$1" -fuzz 10% -fill black +opaque "$text_colour" -fill white -opaque "$text_colour" \
        -morphology Dilate Rectangle:25x1 -define connected-components:verbose=true -connected-components 8 null: |
        awk '$NF ~ /255,255,255/ { split($2, b, "[x+]"); print b[1], b[3] + int(b[1] / 2), b[4] + int(b[2] / 2) }' |
        sort -n | awk '{ print $2, $3 }'
}
# The faces (with the trace on every face shows at the start) and the texts: face[k] and text[k] are the centres of
# card line k and text line k; deals gets the order of both, to compare two starts.
for run in 1 2; do
    open_window Memory "$memory" "$game/play.ini"
    trace_until "=> Form_Activate <=" "$run" && sleep 0.5 && shot="$work/board.png" && screenshot "$shot"
    for k in 0 1 2 3 4 5; do
        read -r w h x y < <(convert "$shot" -fill black +opaque "${face_colours[k]}" -trim -format '%w %h %X %Y' info:)
        [ "$w" -ge 70 ] && [ "$h" -ge 70 ] || fail "face $k is not on the board: ${w}x$h"
        face[k]="$((${x#+} + w / 2)) $((${y#+} + h / 2))"
    done
    mapfile -t text < <(texts "$shot")
    [ "${#text[@]}" -eq 6 ] || fail "not six texts on the screen: ${#text[@]}"
    deals+=("${face[*]} / ${text[*]}")
    [ "$run" = 2 ] || escape_ends
done
[ "${deals[0]}" != "${deals[1]}" ] || fail "two starts dealt the same: ${deals[0]}"

# The panel: its picture shows on the left edge; its number changes with every card taken.
place="$(convert "$shot" -fill black +opaque "$panel_colour" -trim -format '%wx%h%X%Y' info:)"
[[ "$place" == 10[23]x6[01]+* ]] || fail "no control panel picture of 97 x 57 scaled to 102 x 60: $place"
crop() { convert "$1" -crop "$place" +repage -format '%#' info:; }
before="$(crop "$shot")"
# Text first, then the card: the card's sounds settle the try.
for k in 0 1 2 3 4 5; do
    xdotool mousemove --sync ${text[k]} click 1 sleep 0.5 mousemove --sync ${face[k]} click 1
    trace_until "=> memCheckCardStatus <=" "$((k + 1))"
    [ "$k" = 5 ] && break
    retry 40 0.25 shows "$board_colour" "${face[k]}" || fail "card $k is still on the board"
    [ "$(texts "$SHOT" | wc -l)" -eq $((5 - k)) ] || fail "text $k is still on the board"
    now="$(crop "$SHOT")" && [ "$now" != "$before" ] && before="$now" || fail "the panel did not change at card $k"
done
retry 40 0.25 shows "$good_colour" "960 540" || fail "no good end picture in the middle"
[ "$(trace | grep -cF "=> memCardClick(")" -eq 6 ] || fail "not six cards turned: $(trace | grep memCardClick)"
escape_ends

# Under openbox the bundled memory game (its clock stopped, so the board stays the same) starts in full screen, and
# F11 twice shows the board as before (it once came back 40 pixels too high).
openbox --sm-disable >/dev/null 2>&1 & on_exit "kill $! 2>/dev/null"
retry 100 0.1 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"
new_game "$work/bundled" && bundled="$source_dir/games/memory" && rm -r "$game"/{gfx,cards,sfx}
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
