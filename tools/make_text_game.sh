#!/usr/bin/env bash
# Makes the pictures and sounds of the bundled text game (games/text): eight
# pictures drawn from DejaVu Sans symbols, face down, matched against a list
# of words that espeak-ng speaks. Needs ImageMagick 6 (convert), sox and
# espeak-ng. The results are committed; run this only to change them.
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/games/text"
source "$root/tools/lib/common.sh"

# The cards are 110 x 160 on the board (data/global.ini), drawn $zoom times
# larger; the words stand left of them, in the control panel's column.
card_w=110 card_h=160
background '#2a1406' '#b2652a' '#6e3812' 'Words'
panel left 'Cards left' '#ffd8a8'
panel timer Time '#ffd8a8'
chrome '#ffb870'
ends 'Well read!' 'Game over'
tones
sox -n "${wave[@]}" "$sfx/click.wav" synth 0.03 sine 1400 fade q 0.002 0.03 0.02 norm -8

w=$((card_w * zoom)) h=$((card_h * zoom)) cx=$((card_w * zoom / 2)) cy=$((card_h * zoom / 2))
blank $card_w $card_h '#a0521c' '#6e3410' "$gfx/back.png" \
    -fill none -stroke '#ffe0b070' -strokewidth 4 -draw "roundrectangle 18,18 $((w - 19)),$((h - 19)) 16,16" \
    -stroke none -fill '#c06a2a' -draw "circle $cx,$cy $((cx + 120)),$cy" \
    -font "$font" -pointsize 180 -fill '#ffe0b0' -gravity center -annotate +0+0 '?'

: >"$game/data/cards.txt" && : >"$game/data/words.txt"
picture() {  # name glyph colour
    # The symbol as large as a box of 270 x 300 (90 x 100 on the board) allows, in the middle.
    blank $card_w $card_h '#fff8ea' '#d8c0a0' "$cards/$1.png" \
        \( -size 800x800 xc:none -font DejaVu-Sans -pointsize 400 -fill "$3" -gravity center -annotate +0+0 "$2" -trim +repage \
           -resize 270x300 \) -gravity center -compose over -composite
    local word="$(tr a-z A-Z <<<"${1:0:1}")${1:1}"
    speak "$cards/$1.wav" "$word"
    printf '%s\t%s.png\n' "$1" "$1" >>"$game/data/cards.txt"
    printf '%s\t%s.wav\n' "$word" "$1" >>"$game/data/words.txt"
}
picture sun '☀' '#e0a020'
picture umbrella '☂' '#2c8ad8'
picture anchor '⚓' '#243a6a'
picture plane '✈' '#5a6ad0'
picture scissors '✂' '#d8306c'
picture phone '☎' '#2caa4c'
picture letter '✉' '#8c3cc8'
picture horse '♞' '#6a4020'
echo "made the text game in $game"
