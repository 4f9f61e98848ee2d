#!/usr/bin/env bash
# The real program on screens of several sizes: the card backs lie where the
# board geometry and its fit to the screen put them, with their borders; a
# click turns the card under it and none from the margins; an unscaled board
# looks as it always did; an idle board does not use the processor; the
# window mode, F11 and a resized window; the command line's statuses.
set -uo pipefail
memory="$1" source_dir="$2"
source "$source_dir/tests/e2e/support/xvfb.sh"
make_work_dir work
command -v convert >/dev/null || fail "ImageMagick is not installed (make deps installs it)"

# A game of 4 x 3 cards of 100 x 120 on solid colours: background green,
# card backs red, borders black.
board_colour="#206020" back_colour="#C00000" border_colour="#000000" face_colour="#0000FF"
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
printf '[interface]\npictures=bg640.png\t\tbg1024.png\nbackcolor=8421504\nendgoodpicture=good.png\nendbadpicture=bad.png\nendgoodsound=good.wav\nendbadsound=bad.wav\nmatchsound=match.wav\nnomatchsound=nomatch.wav\n[players]\nplayers=1\npicture=player.png\n' >"$game/data/main.ini"
printf '[cards]\ncardsx=4\ncardsy=3\ncardwidth=100\ncardheight=120\nborder=1\npicture=back.png\nturnsound=turn.wav\n' >"$game/data/global.ini"
for i in $(seq 0 11); do printf 'c%d\tface.png\n' $((i / 2)); done >"$game/data/cards.txt"

# The program's own statuses: help and version end well, an unknown option
# is a usage error, and without a display the program says so and ends.
"$memory" --help | grep -q "^Usage: memory" || fail "--help prints no usage"
"$memory" --version | grep -q "^memory " || fail "--version prints no version"
"$memory" --no-such-option 2>/dev/null; [ $? -eq 2 ] || fail "an unknown option does not end with status 2"
start=$(date +%s%N)
env -u DISPLAY -u WAYLAND_DISPLAY "$game/memory" 2>"$work/nodisplay.txt"; status=$?
took=$((($(date +%s%N) - start) / 1000000))
[ "$status" -eq 2 ] || fail "without a display the status is $status, not 2"
grep -q "cannot open the display" "$work/nodisplay.txt" || fail "without a display nothing is said"
echo "no display: status 2 after $took ms"

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
near() { [ "$1" -ge $(($2 - 1)) ] && [ "$1" -le $(($2 + 1)) ]; }
# Checks the runs along a line against the expected "start length" pairs
# (each within a pixel), and that each run starts and ends with the border
# colour and shows the card back in its middle.
check_runs() {
    local what="$1" crop="$2" expected="$3" colours runs found="" i=0 start len
    local -a want=($expected)
    colours="$(line_colours "$crop")"
    runs="$(card_runs <<<"$colours")"
    while read -r start len; do
        [ -z "$start" ] && continue
        found+="$start+$len "
        near "$start" "${want[i]:--9}" && near "$len" "${want[i + 1]:--9}" ||
            fail "$what: a card at $start, $len long; expected ${want[i]:-none}, ${want[i + 1]:-}"
        [ "$(sed -n "$((start + 1))p" <<<"$colours")" = "$border_colour" ] || fail "$what: no border at $start"
        [ "$(sed -n "$((start + len))p" <<<"$colours")" = "$border_colour" ] || fail "$what: no border at $((start + len - 1))"
        [ "$(sed -n "$((start + len / 2 + 1))p" <<<"$colours")" = "$back_colour" ] || fail "$what: no card back at $((start + len / 2))"
        i=$((i + 2))
    done <<<"$runs"
    [ "$i" -eq "${#want[@]}" ] || fail "$what: cards at ${found% }, expected $expected"
}

# Card places on the board, from its geometry: play area left 121, top 16,
# width W - 137, height H - 65 (W x H the board); the gaps are
# floor((area - cards x size) / (cards + 3) - 1); the card in column c and
# row r (from 1) lies at (2 gap + size) c + area start - (size + gap).
# On the display the board of W x H fills the screen of SW x SH as far as
# its proportions allow, centred; a board point p lies at the board's
# display start + round(p x scale). Prints "start length" per card.
display_places() {  # board_size count size area_start screen_size other_board other_screen
    awk -v B="$1" -v n="$2" -v size="$3" -v a0="$4" -v S="$5" -v OB="$6" -v OS="$7" 'BEGIN {
        area = (a0 == 121) ? B - 137 : B - 65
        gap = int((area - n * size) / (n + 3) - 1 + 1000) - 1000
        scale = S / B; if (OS / OB < scale) scale = OS / OB
        origin = int((S - B * scale) / 2 + 0.5)
        for (c = 1; c <= n; ++c) {
            p = (2 * gap + size) * c + a0 - (size + gap)
            first = int(p * scale + 0.5); last = int((p + size) * scale + 0.5)
            printf "%d %d ", origin + first, last - first
        }
    }'
}

# The cards on a screen of $1 x $2 with a board of $3 x $4: their rectangles
# on a screenshot match the geometry within a pixel, a click in the margin
# turns no card, and a click in the middle of a card turns it.
check_screen() {
    local sw="$1" sh="$2" bw="$3" bh="$4" lefts tops first_left first_top
    start_xvfb "${sw}x${sh}"
    start_game "$game/memory"
    window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
    sleep 1
    ! grep -q "Error in application" "$GAME_ERR" || fail "the game reports an error: $(cat "$GAME_ERR")"
    import -window root "$work/shot.png" || fail "no screenshot"
    lefts="$(display_places "$bw" 4 100 121 "$sw" "$bh" "$sh")"
    tops="$(display_places "$bh" 3 120 16 "$sh" "$bw" "$sw")"
    local -a l=($lefts) t=($tops)
    for ((r = 0; r < 3; ++r)); do
        check_runs "$sw x $sh: row $r" "${sw}x1+0+$((t[2 * r] + t[2 * r + 1] / 2))" "$lefts"
    done
    for ((c = 0; c < 4; ++c)); do
        check_runs "$sw x $sh: column $c" "1x${sh}+$((l[2 * c] + l[2 * c + 1] / 2))+0" "$tops"
    done
    echo "$sw x $sh: cards across at $lefts, down at $tops"
    local x=$((l[0] + l[1] / 2)) y=$((t[0] + t[1] / 2))
    if [ "${l[0]}" -gt 40 ]; then
        xdotool mousemove 5 "$y" click 1
        sleep 1
        import -window root "$work/shot.png"
        [ "$(line_colours "1x1+$x+$y")" = "$back_colour" ] || fail "$sw x $sh: a click in the margin turned a card"
    fi
    xdotool mousemove "$x" "$y" click 1
    sleep 1
    import -window root "$work/shot.png"
    [ "$(line_colours "1x1+$x+$y")" = "$face_colour" ] || fail "$sw x $sh: a click at ($x, $y) did not turn the first card"
    xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
    [ "$(wait_for_exit)" = 0 ] || fail "$sw x $sh: Escape does not end the game"
    kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null
}

# Boards of the table's sizes are shown unscaled: the 1024 x 768 screen looks
# as it did before boards were scaled (support/board_1024x768.png), every
# pixel in place; the edges of text may differ by one step of blending.
start_xvfb 1024x768
start_game "$game/memory"
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
import -window root "$work/shot.png" || fail "no screenshot"
changed="$(compare -metric AE -fuzz 1% "$source_dir/tests/e2e/support/board_1024x768.png" "$work/shot.png" null: 2>&1)"
[ "$changed" = 0 ] || fail "the unscaled 1024 x 768 board looks different in $changed pixels"
check_runs "1024 x 768: first row" "1024x1+0+$((72 + 60))" "189 100 425 100 661 100 897 100"
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
kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null

# 1920 x 1080 fits the 1280 x 1024 row, which has no picture: the 1024 x 768
# board fills the screen's height. 1280 x 720 fits the 800 x 600 row, which
# falls back to the 640 x 480 board.
check_screen 1920 1080 1024 768
check_screen 1280 720 640 480

# --window: a framed window of about three quarters of the screen in the
# board's proportions (640 x 480 in 960 x 540 is 720 x 540); F11 switches to
# full screen and back; a resized window shows the board re-fitted at once.
window_size() { xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
start_xvfb 1280x720
start_game "$game/memory" --window
window="$(wait_for_window Memory)" || fail "no game window: $(cat "$GAME_ERR")"
sleep 1
[ "$(window_size "$window")" = 720x540 ] || fail "--window: the window is $(window_size "$window"), not 720x540"
xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key F11; sleep 1
[ "$(window_size "$window")" = 1280x720 ] || fail "F11: the window is $(window_size "$window"), not the screen"
xdotool key F11; sleep 1
[ "$(window_size "$window")" = 720x540 ] || fail "F11 again: the window is $(window_size "$window"), not 720x540"
xdotool windowsize --sync "$window" 400 600; xdotool windowmove --sync "$window" 0 0; sleep 1
import -window root "$work/shot.png"
# 640 x 480 in 400 x 600: scale 0.625, board at (0, 150); the first card at (134, 24) to (234, 144).
[ "$(line_colours "1x1+$((134 * 5 / 8 + 30))+$((150 + 24 * 5 / 8 + 35))")" = "$back_colour" ] ||
    fail "a resized window does not show the board re-fitted"
xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape
[ "$(wait_for_exit)" = 0 ] || fail "--window: Escape does not end the game"
echo "window: 720x540, F11 to 1280x720 and back, re-fitted to 400x600"
echo "ok"
