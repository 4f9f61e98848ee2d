#!/usr/bin/env bash
# The real program playing a text game of three cards to its end with the
# mouse: a card and a text that do not belong together go back, a matched
# card leaves the board and its text is dimmed for good, the last match
# shows the good end picture, and a click on it ends the program. The trace
# in memory.log follows the clicks.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"

use_trace_log

# Three cards of 100 x 120 in one row on a green board. Card line k has
# its own face colour; list line k names it by a text of its own length.
board_colour="#206020" back_colour="#404040" good_colour="#FFFFFF"
face_colours=("#FF0000" "#0000FF" "#FF00FF")
texts=("I" "WW" "WWWWW")
game="$work/game"
mkdir -p "$game/gfx" "$game/cards" "$game/sfx" "$game/data"
cp "$memory" "$game/memory"
convert -size 1024x768 "xc:$board_colour" "$game/gfx/bg1024.png"
convert -size 640x480 "xc:$board_colour" "$game/gfx/bg640.png"
convert -size 8x8 "xc:$back_colour" "$game/gfx/back.png"
convert -size 121x25 xc:gray "$game/gfx/player.png"
convert -size 200x100 "xc:$good_colour" "$game/gfx/good.png"
convert -size 200x100 xc:black "$game/gfx/bad.png"
for k in 0 1 2; do convert -size 8x8 "xc:${face_colours[$k]}" "$game/cards/face$k.png"; done
for s in turn good bad match nomatch; do cp "$source_dir/games/memory/sfx/$s.wav" "$game/sfx/$s.wav"; done
cp "$game/sfx/turn.wav" "$game/sfx/click.wav"
# Card 1 and text 1 have sounds of their own.
cp "$game/sfx/turn.wav" "$game/cards/c1.wav"
cp "$game/sfx/turn.wav" "$game/cards/t1.wav"
write_definition "$game/memory.ini" "$game" memory debug list.txt
printf '[interface]\npictures=bg640.png\t\tbg1024.png\nbackcolor=0\nendgoodpicture=good.png\nendbadpicture=bad.png\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav\nnomatchsound=nomatch.wav\n[players]\nplayers=1\npicture=player.png\n' \
    >"$game/data/main.ini"
# Text colours: yellow at rest (255 + 256 x 255), cyan when chosen, grey when taken.
printf '[cards]\ncardsx=3\ncardsy=1\ncardwidth=100\ncardheight=120\npicture=back.png\nturnsound=turn.wav\ndissapear=1\n[text list]\nactive=1\nfontname=DejaVu Sans\nfontsize=14\nfontbold=1\nforecolor=65535\nselectcolor=16776960\ndimcolor=8421504\ndestroy=0\nsound=click.wav\ntop=100\nleft=8\nwidth=190\nspace=40\n' \
    >"$game/data/global.ini"
printf 'c0\tface0.png\nc1\tface1.png\t\tc1.wav\nc2\tface2.png\n' >"$game/data/cards.txt"
printf '%s\n%s\tt1.wav\n%s\n' "${texts[@]}" >"$game/cards/list.txt"

# Card places in screen pixels (the board lies at 0, 0). Play area: left
# 121, top 16, width 887, height 703; gaps floor(587 / 6 - 1) = 96 across and
# floor(583 / 4 - 1) = 144 down: column c (from 1) at 292 c - 75, row 1 at 160.
lefts=(217 509 801) top=160 width=100 height=120

# The colour of one pixel of a screenshot, "#RRGGBB".
pixel() {
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- |
        awk 'NR > 1 { for (i = 1; i <= NF; ++i) if ($i ~ /^#[0-9A-Fa-f]+$/) { print toupper(substr($i, 1, 7)); exit } }'
}
# The text labels in the column: one line "x y width" per label whose text
# shows in colour $2 (R, G and B each within 80 of it), from the top.
labels() {
    local r=$((16#${2:1:2})) g=$((16#${2:3:2})) b=$((16#${2:5:2}))
    convert "$1" -crop 210x600+0+80 +repage -depth 8 txt:- |
        awk -v r="$r" -v g="$g" -v b="$b" -F'[,:() ]+' '
            NR > 1 {
                x = $1; y = $2 + 80
                if ((($3 - r) ^ 2 < 6400) && (($4 - g) ^ 2 < 6400) && (($5 - b) ^ 2 < 6400)) print x, y
            }' |
        sort -n -k2 -k1 |
        awk 'function flush() { if (n) printf "%d %d %d\n", (lo + hi) / 2, (top + bottom) / 2, hi - lo + 1 }
             { if (n && $2 > bottom + 6) { flush(); n = 0 }
               if (!n) { lo = hi = $1; top = $2 }
               if ($1 < lo) lo = $1; if ($1 > hi) hi = $1; bottom = $2; ++n }
             END { flush() }'
}
shot() { import -window root "$work/$1.png" || fail "no screenshot $1"; }
# Takes screenshot $1 until the pixel at $2, $3 has colour $4 (10 s at most).
shot_until() {
    for _ in $(seq 40); do
        shot "$1"
        [ "$(pixel "$work/$1.png" "$2" "$3")" = "$4" ] && return 0
        sleep 0.25
    done
    return 1
}
click() { xdotool mousemove --sync "$1" "$2" click 1; }
card_centre() { echo "$((lefts[$1] + width / 2)) $((top + height / 2))"; }

start_xvfb 1024x768
start_game "$game/memory"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"
shot start

# With the trace on every face shows: find where each card line lies.
declare -a place_of
for c in 0 1 2; do
    read -r x y <<<"$(card_centre "$c")"
    colour="$(pixel "$work/start.png" "$x" "$y")"
    for k in 0 1 2; do [ "$colour" = "${face_colours[$k]}" ] && place_of[$k]=$c; done
done
[ "${#place_of[@]}" -eq 3 ] || fail "expected three faces at the card places, found ${#place_of[@]}"

# The three texts, told apart by their widths: the shortest is list line 0.
mapfile -t found < <(labels "$work/start.png" "#FFFF00")
[ "${#found[@]}" -eq 3 ] || fail "expected three yellow texts, found ${#found[@]}: ${found[*]}"
declare -a text_at
k=0
while read -r x y w; do text_at[$k]="$x $y"; k=$((k + 1)); done < <(printf '%s\n' "${found[@]}" | sort -n -k3)
echo "cards at places ${place_of[*]}; texts at ${text_at[*]}"

# A wrong try, card first: card line 0 with list line 1.
click $(card_centre "${place_of[0]}")
sleep 1
click ${text_at[1]}
sleep 0.2
shot chosen
[ "$(labels "$work/chosen.png" "#00FFFF" | wc -l)" -eq 1 ] || fail "the chosen text is not shown in the select colour"
read -r x y <<<"$(card_centre "${place_of[0]}")"
shot_until wrong "$x" "$y" "$back_colour" || fail "the card of a wrong try is not face down again"
[ "$(labels "$work/wrong.png" "#FFFF00" | wc -l)" -eq 3 ] || fail "the text of a wrong try did not get its resting colour"

# Line 0, card first; then line 1, text first.
click $(card_centre "${place_of[0]}")
sleep 1
click ${text_at[0]}
read -r x y <<<"$(card_centre "${place_of[0]}")"
shot_until one "$x" "$y" "$board_colour" || fail "matched card line 0 is still on the board"
click ${text_at[1]}
sleep 1
click $(card_centre "${place_of[1]}")
read -r x y <<<"$(card_centre "${place_of[1]}")"
shot_until two "$x" "$y" "$board_colour" || fail "matched card line 1 is still on the board"
[ "$(labels "$work/two.png" "#808080" | wc -l)" -eq 2 ] || fail "the two matched texts are not dimmed"
# A taken text takes no click: it stays grey and nothing is chosen.
click ${text_at[0]}
sleep 0.5
shot taken
[ "$(labels "$work/taken.png" "#00FFFF" | wc -l)" -eq 0 ] || fail "a taken text was chosen again"
[ "$(labels "$work/taken.png" "#808080" | wc -l)" -eq 2 ] || fail "a taken text lost its dim colour"

# The last card ends the game with the good end picture in the middle.
click $(card_centre "${place_of[2]}")
sleep 1
click ${text_at[2]}
shot_until end 512 384 "$good_colour" || fail "no good end picture in the middle of the screen"
read -r x y <<<"$(card_centre "${place_of[2]}")"
[ "$(pixel "$work/end.png" "$x" "$y")" = "$board_colour" ] || fail "the last card is still on the board"
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"

# The trace of this run: every card click, one card sound, the evaluations.
run_trace="$(trace)"
for c in "${place_of[0]}" "${place_of[1]}" "${place_of[2]}"; do
    grep -qxF "=> memCardClick($c) <=" <<<"$run_trace" || fail "no trace line for the click on card $c"
done
[ "$(grep -cxF "=> memCardClick(${place_of[0]}) <=" <<<"$run_trace")" -ge 2 ] || fail "card line 0 was clicked twice"
grep -qxF -- "--> memPlayCardSound: 'c1.wav', ($game/cards/c1.wav)" <<<"$run_trace" || fail "no trace line for card 1's sound"
[ "$(grep -cxF "=> memCheckCardStatus <=" <<<"$run_trace")" -ge 4 ] || fail "fewer than four evaluations in the trace"
! grep -q "Match!\|Ingen match" <<<"$run_trace" || fail "a text game wrote the card game's result lines"

click 512 384
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "a click on the end picture ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "ok"
