#!/usr/bin/env bash
# The real program with the match line on: a match game (faces up), a pair
# clicked with the mouse stays on the board, joined by a line in the
# definition's colour and width between the cards' facing edges.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"

# 4 x 3 cards of 100 x 120 on a green board; each pair has its own colour.
board_colour="#206020" line_colour="#FFFF00" line_width=5
pair_colours=("#FF0000" "#0000FF" "#FFFFFF" "#FF00FF" "#00FFFF" "#808080")
game="$work/game"
mkdir -p "$game/gfx" "$game/cards" "$game/sfx" "$game/data"
cp "$memory" "$game/memory"
convert -size 1024x768 "xc:$board_colour" "$game/gfx/bg1024.png"
convert -size 640x480 "xc:$board_colour" "$game/gfx/bg640.png"
convert -size 121x25 xc:gray "$game/gfx/player.png"
for end in good bad; do convert -size 40x40 xc:black "$game/gfx/$end.png"; done
for m in 0 1 2 3 4 5; do convert -size 8x8 "xc:${pair_colours[$m]}" "$game/cards/face$m.png"; done
for s in turn good bad match nomatch; do cp "$source_dir/games/memory/sfx/$s.wav" "$game/sfx/$s.wav"; done
write_definition "$game/memory.ini" "$game" match
# Yellow is 255 + 256 x 255.
printf '[interface]\npictures=bg640.png\t\tbg1024.png\nbackcolor=0\nendgoodpicture=good.png\nendbadpicture=bad.png\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav\nnomatchsound=nomatch.wav\n[line]\nactive=1\ncolor=65535\nwidth=%d\n[players]\nplayers=1\npicture=player.png\n' \
    "$line_width" >"$game/data/main.ini"
printf '[cards]\ncardsx=4\ncardsy=3\ncardwidth=100\ncardheight=120\nborder=0\nturnsound=turn.wav\n' >"$game/data/global.ini"
for i in $(seq 0 11); do printf 'c%d\tface%d.png\n' $((i / 2)) $((i / 2)); done >"$game/data/cards.txt"

# Card places in screen pixels (the board lies at 0, 0; see board_geometry.sh).
lefts=(189 425 661 897) tops=(72 304 536) width=100 height=120

# The colour of one pixel of a screenshot, "#RRGGBB".
pixel() {
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- |
        awk 'NR > 1 { for (i = 1; i <= NF; ++i) if ($i ~ /^#[0-9A-Fa-f]+$/) { print toupper(substr($i, 1, 7)); exit } }'
}
# The colours along a crop, one per pixel.
colours() {
    convert "$1" -crop "$2" +repage -depth 8 txt:- |
        awk 'NR > 1 { for (i = 1; i <= NF; ++i) if ($i ~ /^#[0-9A-Fa-f]+$/) { print toupper(substr($i, 1, 7)); break } }'
}

start_xvfb 1024x768
start_game "$game/memory"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"
import -window root "$work/before.png" || fail "no screenshot"

# Find the two cards of the red pair (the deal is random).
found=()
for r in 0 1 2; do
    for c in 0 1 2 3; do
        colour="$(pixel "$work/before.png" $((lefts[c] + width / 2)) $((tops[r] + height / 2)))"
        [ "$colour" = "${pair_colours[0]}" ] && found+=("$c $r")
    done
done
[ "${#found[@]}" -eq 2 ] || fail "expected two red cards face up, found ${#found[@]}"
read -r ca ra <<<"${found[1]}"  # the first card clicked: A
read -r cb rb <<<"${found[0]}"  # the second: B
ax=${lefts[ca]} ay=${tops[ra]} bx=${lefts[cb]} by=${tops[rb]}

xdotool mousemove --sync $((ax + width / 2)) $((ay + height / 2)) click 1
sleep 1.5
xdotool mousemove --sync $((bx + width / 2)) $((by + height / 2)) click 1
# Turn sound, match sound, half a second: the line is drawn before the pause.
sleep 3
import -window root "$work/after.png" || fail "no screenshot after the pair"
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"

# The cards stay where they were.
for xy in "$ax $ay" "$bx $by"; do
    read -r x y <<<"$xy"
    [ "$(pixel "$work/after.png" $((x + width / 2)) $((y + height / 2)))" = "${pair_colours[0]}" ] ||
        fail "the card at $x, $y left the board"
done

# Where the line runs: h is half the pen width.
h=$((line_width / 2))
if [ "$ay" -eq "$by" ]; then
    if [ "$ax" -lt "$bx" ]; then x1=$((ax + width + h)) x2=$((bx - h)); else x1=$((ax - h)) x2=$((bx + width + h)); fi
    y1=$((ay + height / 2 - h)) y2=$y1
elif [ "$ay" -lt "$by" ]; then
    x1=$((ax + width / 2)) x2=$((bx + width / 2)) y1=$((ay + height + h)) y2=$((by - h))
else
    x1=$((ax + width / 2)) x2=$((bx + width / 2)) y1=$((ay - h)) y2=$((by + height + h))
fi
echo "cards at ($ax, $ay) and ($bx, $by): line from ($x1, $y1) to ($x2, $y2)"

# Inside a card (with a margin of the pen width): the cards lie in front of
# what is drawn on the board, so a line between cards of one row with a card
# between them runs behind that card.
under_card() {
    local x="$1" y="$2" r c
    for r in 0 1 2; do
        for c in 0 1 2 3; do
            [ "$x" -ge $((lefts[c] - line_width)) ] && [ "$x" -le $((lefts[c] + width + line_width)) ] &&
                [ "$y" -ge $((tops[r] - line_width)) ] && [ "$y" -le $((tops[r] + height + line_width)) ] && return 0
        done
    done
    return 1
}
# Along the line, in the line's colour, wherever the board shows.
mx="" my="" samples=0
for t in $(seq 1 19); do
    x=$((x1 + (x2 - x1) * t / 20)) y=$((y1 + (y2 - y1) * t / 20))
    under_card "$x" "$y" && continue
    got="$(pixel "$work/after.png" "$x" "$y")"
    [ "$got" = "$line_colour" ] || fail "at ($x, $y) on the line the colour is $got, not $line_colour"
    samples=$((samples + 1))
    [ -z "$mx" ] && mx=$x my=$y
done
[ "$samples" -gt 0 ] || fail "no point of the line lies on the open board"
# Both ends, half the pen width off the cards' facing edges.
for end in "$x1 $y1" "$x2 $y2"; do
    read -r x y <<<"$end"
    got="$(pixel "$work/after.png" "$x" "$y")"
    [ "$got" = "$line_colour" ] || fail "at the end ($x, $y) the colour is $got, not $line_colour"
done
# Its width at the first such point: a horizontal line is crossed downwards,
# any other across; a slanted line is wider across by 1 / cos of its angle.
if [ "$y1" -eq "$y2" ]; then
    run="$(colours "$work/after.png" "1x21+$mx+$((my - 10))" | grep -c "^$line_colour\$")"
    [ "$run" -eq "$line_width" ] || fail "the line is $run pixels high, not $line_width"
    for y in $((y1 - h)) $((y1 + h)); do
        [ "$(pixel "$work/after.png" "$mx" "$y")" = "$line_colour" ] || fail "the line does not cover y $y"
    done
else
    run="$(colours "$work/after.png" "41x1+$((mx - 20))+$my" | grep -c "^$line_colour\$")"
    dx=$((x2 - x1)) dy=$((y2 - y1))
    most="$(awk -v w="$line_width" -v dx="$dx" -v dy="$dy" 'BEGIN { print int(w * sqrt(dx * dx + dy * dy) / (dy < 0 ? -dy : dy)) + 2 }')"
    [ "$run" -ge "$line_width" ] && [ "$run" -le "$most" ] ||
        fail "the line is $run pixels across, not $line_width to $most"
fi
echo "line: $line_colour, $run pixels across"

xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "Escape ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "ok"
