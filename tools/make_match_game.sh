#!/usr/bin/env bash
# Makes the pictures and sounds of the bundled match game (games/match): the
# numbers one to eight, each as a numeral card and a card of dots, face up; each
# card says its number (espeak-ng). Needs ImageMagick 6 (convert), sox and
# espeak-ng. The results are committed; run this only to change them.
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/games/match"
source "$root/tools/lib/common.sh"

# The cards are 100 x 84 on the board (data/global.ini), drawn $zoom times larger; the gaps between them leave room
# for the gold line that joins a found pair.
card_w=100 card_h=84
background '#0f2a19' '#2f8a52' '#1a5530' 'Match · Numbers'
panel countdown 'Seconds left' '#b8f0c0'
panel tries 'Tries left' '#b8f0c0'
panel left 'Cards left' '#b8f0c0'
chrome '#8fe0a0'
ends 'All found!' 'Out of time'
tones

words=(zero one two three four five six seven eight)
colours=(x '#e0483c' '#2c8ad8' '#2caa4c' '#e0a020' '#8c3cc8' '#d8306c' '#18a8a0' '#e06a1c')
# Dots as on a die, on a 3 x 3 grid of places numbered 1 to 9 by rows; 7 and 8 add to the six.
dots=(x "5" "3 7" "3 5 7" "1 3 7 9" "1 3 5 7 9" "1 3 4 6 7 9" "1 3 4 5 6 7 9" "1 2 3 4 6 7 8 9")
cx=$((card_w * zoom / 2)) cy=$((card_h * zoom / 2)) step=$((24 * zoom)) r=$((9 * zoom))
: >"$game/data/cards.txt"
for n in $(seq 1 8); do
    word=${words[$n]}
    draw=""
    for p in ${dots[$n]}; do
        x=$((cx + ((p - 1) % 3 - 1) * step)) y=$((cy + ((p - 1) / 3 - 1) * step))
        draw="$draw circle $x,$y $((x + r)),$y"
    done
    blank $card_w $card_h '#fbf7ec' '#cbbf9f' "$cards/dots$n.png" -fill '#243a6a' -draw "$draw"
    blank $card_w $card_h '#fbf7ec' '#cbbf9f' "$cards/number$n.png" -font "$font" -gravity center \
        -fill "${colours[$n]}" -stroke '#00000040' -strokewidth 3 -pointsize 140 -annotate +0-38 "$n" \
        -stroke none -fill '#4a4a4a' -pointsize 66 -annotate +0+72 "$word"
    speak "$cards/$word.wav" "$word"
    printf '%s\tnumber%s.png\t\t%s.wav\n%s dots\tdots%s.png\t\t%s.wav\n' "$word" "$n" "$word" "$word" "$n" "$word" \
        >>"$game/data/cards.txt"
done
echo "made the match game in $game"
