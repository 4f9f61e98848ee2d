#!/usr/bin/env bash
# Makes the pictures and sounds of the bundled memory game (games/memory): eight
# shapes on card faces, each named on the card and spoken by espeak-ng, for two
# players. Needs ImageMagick 6 (convert), sox and espeak-ng. The results are
# committed; run this only to change them.
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/games/memory"
source "$root/tools/lib/common.sh"

# The cards are 116 x 94 on the board (data/global.ini), drawn $zoom times larger.
card_w=116 card_h=94
background '#13233d' '#2f5fa8' '#1a3566' 'Memory · Shapes'
panel timer Time '#9cc4ff'
panel left 'Cards left' '#9cc4ff'
panel tries Tries '#9cc4ff'
chrome '#6fa8ff'
ends 'Well done!' 'Game over'
tones

# The card back: a blue card with a diamond in a frame. Its plain blue (#2a4a9a)
# reaches the corners: make bench finds the cards by it.
w=$((card_w * zoom)) h=$((card_h * zoom)) cx=$((card_w * zoom / 2)) cy=$((card_h * zoom / 2))
blank $card_w $card_h '#2a4a9a' '#1c3470' "$gfx/back.png" \
    -fill none -stroke '#ffffff60' -strokewidth 4 -draw "roundrectangle 30,30 $((w - 31)),$((h - 31)) 14,14" \
    -stroke none -fill '#3a62c0' -draw "polygon $cx,54 $((cx + 108)),$cy $cx,$((h - 54)) $((cx - 108)),$cy" \
    -fill '#5a82dc' -draw "polygon $cx,88 $((cx + 64)),$cy $cx,$((h - 88)) $((cx - 64)),$cy" \
    -fill '#ffffff50' -draw "circle $cx,$cy $((cx + 16)),$cy"

# A face: the shape large in the middle of a light card, behind a white band
# where the game writes the card's name (its caption, centred on the card).
face() {  # name colour draw-command (in a 0..80 box)
    # The 80-unit box at scale s is 232 pixels, half of it 116; the band is 30 board pixels high.
    local s=2.9 half=116 band=$((15 * zoom))
    blank $card_w $card_h '#fbf7ec' '#cbbf9f' "$cards/$1.png" \
        -fill "$2" -stroke '#00000060' -strokewidth 2 \
        -draw "translate $((cx - half)),$((cy - half)) scale $s,$s $3" -stroke none \
        -fill '#ffffffa8' -draw "roundrectangle 16,$((cy - band)) $((w - 17)),$((cy + band)) 18,18"
    speak "$cards/$1.wav" "$1"
}
face circle '#e0483c' 'circle 40,40 40,2'
face square '#2c8ad8' 'rectangle 6,6 74,74'
face triangle '#2caa4c' 'polygon 40,2 79,76 1,76'
face diamond '#e0a020' 'polygon 40,0 72,40 40,80 8,40'
face star '#f0c814' 'polygon 40,0 50,29 80,29 56,47 65,78 40,59 15,78 24,47 0,29 30,29'
face heart '#d8306c' 'path "M 40,76 C 4,50 -2,22 18,10 C 30,4 40,14 40,22 C 40,14 50,4 62,10 C 82,22 76,50 40,76 Z"'
face cross '#8c3cc8' 'polygon 27,2 53,2 53,27 78,27 78,53 53,53 53,78 27,78 27,53 2,53 2,27 27,27'
face hexagon '#18a8a0' 'polygon 20,4 60,4 80,40 60,76 20,76 0,40'

: >"$game/data/cards.txt"
for name in circle square triangle diamond star heart cross hexagon; do
    caption="$(tr a-z A-Z <<<"${name:0:1}")${name:1}"
    for _ in 1 2; do printf '%s\t%s.png\t%s\t%s.wav\n' "$name" "$name" "$caption" "$name" >>"$game/data/cards.txt"; done
done
echo "made the memory game in $game"
