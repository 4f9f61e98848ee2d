#!/usr/bin/env bash
# Makes the pictures and sounds of the bundled text game (games/text): eight
# pictures drawn from DejaVu Sans symbols, face down, matched against a list
# of words that espeak-ng speaks. Needs ImageMagick 6 (convert), sox and
# espeak-ng. The results are committed; run this only to change them.
root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/games/text"
source "$root/tools/lib/common.sh"

backgrounds '#7a3e12' '#2e1606' 'Words'
panel left 'Cards left' '#ffd8a8'
panel timer Time '#ffd8a8'
chrome '#ffb870'
ends 'Well read!' 'Game over'
tones
sox -n "${wave[@]}" "$sfx/click.wav" synth 0.03 sine 1400 fade q 0.002 0.03 0.02 norm -8

convert -size 96x110 xc:'#a0521c' -fill '#c06a2a' -draw 'circle 48,55 48,18' -font "$font" \
    -pointsize 40 -fill '#ffe0b0' -gravity center -annotate +0+0 '?' -fill none -stroke '#ffe0b080' \
    -strokewidth 2 -draw 'roundrectangle 3,3 92,106 8,8' "${png[@]}" "$gfx/back.png"

: >"$game/data/cards.txt" && : >"$game/data/words.txt"
picture() {  # name glyph colour
    convert -size 96x110 xc:'#fff6e6' -font DejaVu-Sans -pointsize 64 -fill "$3" -gravity center \
        -annotate +0+0 "$2" -fill none -stroke '#d8c0a0' -strokewidth 2 -draw 'roundrectangle 2,2 93,107 8,8' \
        "${png[@]}" "$cards/$1.png"
    local word="$(tr a-z A-Z <<<"${1:0:1}")${1:1}"
    speak "$cards/$1.wav" "$word"
    printf '%s\t%s.png\n' "$1" "$1" >>"$game/data/cards.txt"
    printf '%s\t%s.wav\n' "$word" "$1" >>"$game/data/words.txt"
}
picture sun '☀' '#e0a020'
picture umbrella '☂' '#2c8ad8'
picture anchor '⚓' '#243a6a'
picture aeroplane '✈' '#5a6ad0'
picture scissors '✂' '#d8306c'
picture telephone '☎' '#2caa4c'
picture letter '✉' '#8c3cc8'
picture horse '♞' '#6a4020'
echo "made the text game in $game"
