#!/usr/bin/env bash
# Makes the pictures and sounds of the bundled memory game (games/memory): ten
# shapes on playing-card faces, each spoken by espeak-ng, for two players.
# Needs ImageMagick 6 (convert), sox and espeak-ng. The results are committed;
# run this only to change them.
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/games/memory"
source "$root/tools/lib/common.sh"

backgrounds '#1d3b6e' '#0b1830' 'Memory · Shapes'
panel timer Time '#9cc4ff'
panel left 'Cards left' '#9cc4ff'
panel tries Tries '#9cc4ff'
chrome '#6fa8ff'
ends 'Well done!' 'Game over'
tones

# The card back: a blue card with a diamond lattice.
convert -size 80x88 xc:'#2a4a9a' -fill '#3a62c0' -draw 'polygon 40,6 74,44 40,82 6,44' \
    -fill '#ffffff30' -draw 'polygon 40,20 60,44 40,68 20,44' -fill none -stroke '#ffffff60' \
    -strokewidth 2 -draw 'roundrectangle 3,3 76,84 8,8' "${png[@]}" "$gfx/back.png"

# A face: the shape twice, as on a playing card, with room for the name between.
face() {  # name colour draw-command (in a 0..80 box)
    convert -size 80x88 xc:'#f6f1e4' -fill "$2" -stroke '#00000070' -strokewidth 3 \
        -draw "translate 23,2 scale 0.42,0.42 $3" -draw "translate 57,86 rotate 180 scale 0.42,0.42 $3" \
        -fill none -stroke '#c8bca0' -strokewidth 1 -draw 'roundrectangle 1,1 78,86 6,6' \
        "${png[@]}" "$cards/$1.png"
    speak "$cards/$1.wav" "$1"
}
face circle '#e0483c' 'circle 40,40 40,6'
face square '#2c8ad8' 'rectangle 8,8 72,72'
face triangle '#2caa4c' 'polygon 40,4 76,74 4,74'
face diamond '#e0a020' 'polygon 40,2 72,40 40,78 8,40'
face star '#f0c814' 'polygon 40,2 50,30 78,30 56,47 64,76 40,59 16,76 24,47 2,30 30,30'
face heart '#d8306c' 'path "M 40,74 C 4,48 0,22 18,12 C 30,6 40,16 40,24 C 40,16 50,6 62,12 C 80,22 76,48 40,74 Z"'
face cross '#8c3cc8' 'polygon 28,4 52,4 52,28 76,28 76,52 52,52 52,76 28,76 28,52 4,52 4,28 28,28'
face hexagon '#18a8a0' 'polygon 22,6 58,6 76,40 58,74 22,74 4,40'

: >"$game/data/cards.txt"
for name in circle square triangle diamond star heart cross hexagon; do
    caption="$(tr a-z A-Z <<<"${name:0:1}")${name:1}"
    for _ in 1 2; do printf '%s\t%s.png\t%s\t%s.wav\n' "$name" "$name" "$caption" "$name" >>"$game/data/cards.txt"; done
done
echo "made the memory game in $game"
