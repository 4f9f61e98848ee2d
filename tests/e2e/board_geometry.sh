#!/usr/bin/env bash
# The real program on a 1024 x 768 screen: the card backs lie where the board
# geometry puts them, with their single-line borders, an idle board does not
# use the processor, and Escape ends the game.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"

# A game of 4 x 3 cards of 100 x 120 on solid colours: background green,
# card backs red, borders black.
board_colour="#206020" back_colour="#C00000" border_colour="#000000"
game="$work/game"
mkdir -p "$game/gfx" "$game/cards" "$game/sfx" "$game/data"
cp "$memory" "$game/memory"
convert -size 1024x768 "xc:$board_colour" "$game/gfx/bg1024.png"
convert -size 640x480 "xc:$board_colour" "$game/gfx/bg640.png"
convert -size 8x8 "xc:$back_colour" "$game/gfx/back.png"
convert -size 121x25 xc:gray "$game/gfx/player.png"
for end in good bad; do convert -size 40x40 xc:white "$game/gfx/$end.png"; done
convert -size 8x8 xc:blue "$game/cards/face.png"
for s in turn good bad match nomatch; do cp "$source_dir/games/memory/sfx/$s.wav" "$game/sfx/$s.wav"; done
write_definition "$game/memory.ini" "$game" memory
printf '[interface]\npictures=bg640.png\t\tbg1024.png\nbackcolor=0\nendgoodpicture=good.png\nendbadpicture=bad.png\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav\nnomatchsound=nomatch.wav\n[players]\nplayers=1\npicture=player.png\n' >"$game/data/main.ini"
printf '[cards]\ncardsx=4\ncardsy=3\ncardwidth=100\ncardheight=120\nborder=1\npicture=back.png\nturnsound=turn.wav\n' >"$game/data/global.ini"
for i in $(seq 0 11); do printf 'c%d\tface.png\n' $((i / 2)); done >"$game/data/cards.txt"

# Expected places, in screen pixels. The 1024 x 768 row has a picture, so the
# board is that size at (0, 0). Play area: left 8 + 97 + 16 = 121, top 16,
# width 1024 - 121 - 16 = 887, height (768 - 16) - (25 + 8) - 16 = 703.
# Gaps: floor((887 - 4 x 100) / (4 + 3) - 1) = 68 across and
# floor((703 - 3 x 120) / (3 + 3) - 1) = 56 down. The card in column c and
# row r (from 1) lies at (2 x 68 + 100) c + 121 - (100 + 68) = 236 c - 47
# and (2 x 56 + 120) r + 16 - (120 + 56) = 232 r - 160.
expected_lefts="189 425 661 897" expected_tops="72 304 536"
expected_width=100 expected_height=120

start_xvfb 1024x768
start_game "$game/memory"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"
import -window root "$work/shot.png" || fail "no screenshot"

# The colours along one line of the screenshot, one "#RRGGBB" per pixel.
# $1 is a geometry for -crop: WIDTHxHEIGHT+X+Y.
line_colours() {
    convert "$work/shot.png" -crop "$1" +repage -depth 8 txt:- |
        awk 'NR > 1 { for (i = 1; i <= NF; ++i) if ($i ~ /^#/) { print toupper(substr($i, 1, 7)); break } }'
}
# Runs of card pixels (border or back) along a line: "start length" each.
card_runs() {
    awk -v back="$back_colour" -v border="$border_colour" '
        { card = ($0 == back || $0 == border) }
        card && start < 0 { start = NR - 1 }
        !card && start >= 0 { print start, NR - 1 - start; start = -1 }
        BEGIN { start = -1 }
        END { if (start >= 0) print start, NR - start }'
}
# Checks the runs along a line against the expected starts and one length,
# and that each run starts and ends with the border colour.
check_runs() {
    local what="$1" crop="$2" starts="$3" length="$4" colours runs found=""
    colours="$(line_colours "$crop")"
    runs="$(card_runs <<<"$colours")"
    while read -r start len; do
        [ -z "$start" ] && continue
        found+="$start "
        [ "$len" -eq "$length" ] || fail "$what: a card from $start is $len long, not $length"
        [ "$(sed -n "$((start + 1))p" <<<"$colours")" = "$border_colour" ] || fail "$what: no border at $start"
        [ "$(sed -n "$((start + len))p" <<<"$colours")" = "$border_colour" ] || fail "$what: no border at $((start + len - 1))"
        [ "$(sed -n "$((start + len / 2 + 1))p" <<<"$colours")" = "$back_colour" ] || fail "$what: no card back at $((start + len / 2))"
    done <<<"$runs"
    [ "${found% }" = "$starts" ] || fail "$what: cards start at ${found% }, expected $starts"
    echo "$what: cards at ${found% }, each $length"
}
for top in $expected_tops; do
    check_runs "row at $top" "1024x1+0+$((top + expected_height / 2))" "$expected_lefts" "$expected_width"
done
for left in $expected_lefts; do
    check_runs "column at $left" "1x768+$((left + expected_width / 2))+0" "$expected_tops" "$expected_height"
done
[ "$(line_colours 1x1+150+300)" = "$board_colour" ] || fail "the board between the cards is not the background"

# An idle board waits for events: at most 10% of one processor over 2 seconds.
game_pid="$(pgrep -P "$GAME_PID" | head -n1)"
if [ -n "$game_pid" ]; then
    cpu() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
    before="$(cpu)"; sleep 2; after="$(cpu)"
    ticks=$((after - before)) limit=$(($(getconf CLK_TCK) * 2 / 10))
    [ "$ticks" -le "$limit" ] || fail "the idle board used $ticks clock ticks in 2 seconds (limit $limit)"
    echo "idle: $ticks clock ticks in 2 seconds"
fi

xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
status="$(wait_for_exit)"
[ "$status" = 0 ] || fail "Escape ends with status $status, not 0: $(cat "$GAME_ERR")"
echo "ok"
